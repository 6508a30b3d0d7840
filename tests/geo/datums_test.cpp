#include "geo/datums.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace quorvane {
namespace {

constexpr TDatumChoice kWgs1984 = TDatumChoice::Wgs1984;
constexpr TDatumChoice kNad1983 = TDatumChoice::NorthAmerican1983;
constexpr TDatumChoice kNad1927 = TDatumChoice::NorthAmerican1927;

TEST(DatumTables, ListTheDatumsInOrderWithNorthAmerican1927Selected) {
  const TDatumList list = DatumListEntries();
  ASSERT_EQ(list.Names.size(), 23u);
  EXPECT_EQ(list.Names.front(), "Adindan");
  EXPECT_EQ(list.Names[13], "North American 1927");
  EXPECT_EQ(list.Names.back(), "WGS 1984");
  EXPECT_EQ(list.Selected, kNad1927);
  for (const TGeoParams& datum : DatumTable()) {
    EXPECT_GE(datum.Ellipsoid, 0);
    EXPECT_LT(datum.Ellipsoid, kEllipsoidCount);
  }
  EXPECT_STREQ(EllipsoidTable()[DatumTable()[DatumRow(kNad1927)].Ellipsoid].Name, "Clarke 1866");
  EXPECT_STREQ(EllipsoidTable()[DatumTable()[DatumRow(kWgs1984)].Ellipsoid].Name, "WGS 84");
}

// Published values: GRS 80 e^2 = 0.00669438002290 and e'^2 = 0.00673949677548
// (for b = 6356752.314140347; the table's b, cut to 5 decimals, moves the
// 13th decimal), Clarke 1866 e^2 = 0.006768658, and the WGS 84 quarter
// meridian is 10,001,965.729 m.
TEST(SelectEllipsoid, GivesTheEccentricitiesAndMeridianArcOfPublishedTables) {
  const TEllipsoidConstants wgs84 = SelectEllipsoid(kWgs1984);
  EXPECT_NEAR(wgs84.E2, 0.00669438002290, 2e-13);
  EXPECT_NEAR(wgs84.EPrime2, 0.00673949677548, 2e-13);
  EXPECT_EQ(wgs84.K0, 0.9996);
  EXPECT_NEAR(MeridianArc(wgs84, M_PI / 2), 10001965.729, 0.001);
  EXPECT_NEAR(MeridianArc(wgs84, -M_PI / 4), -MeridianArc(wgs84, M_PI / 4), 1e-9);
  EXPECT_NEAR(SelectEllipsoid(kNad1927).E2, 0.006768658, 1e-9);
}

TEST(SelectEllipsoid, ReplacesAnIndexOutsideTheTableByNorthAmerican1927) {
  const TEllipsoidConstants nad27 = SelectEllipsoid(kNad1927);
  for (int index : {-1, 23, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()}) {
    const TEllipsoidConstants k = SelectEllipsoid(DatumAtPosition(index));
    EXPECT_EQ(k.A, nad27.A);
    EXPECT_EQ(k.A0, nad27.A0);
  }
}

TEST(SelectEllipsoid, SphereHasNoEccentricity) {
  const TEllipsoidConstants sphere = EllipsoidConstants(21);
  EXPECT_EQ(sphere.E2, 0.0);
  EXPECT_EQ(sphere.EPrime2, 0.0);
  EXPECT_EQ(sphere.A0, 6370997.0);
  EXPECT_EQ(sphere.A2, 0.0);
  EXPECT_EQ(sphere.A4, 0.0);
  EXPECT_EQ(sphere.A6, 0.0);
}

TEST(UtmToGeographic, CentralMeridianOnTheEquatorGivesTheZoneCentre) {
  const TGeographic g = UtmToGeographic(31, true, 500000, 0, kWgs1984);
  EXPECT_NEAR(g.Longitude, 3.0, 1e-12);
  EXPECT_EQ(g.Latitude, 0.0);
  const TGeographic south = UtmToGeographic(33, false, 500000, 10000000, kWgs1984);
  EXPECT_NEAR(south.Longitude, 15.0, 1e-12);
  EXPECT_EQ(south.Latitude, 0.0);
}

TEST(UtmToGeographic, ZoneNumberSetsTheCentralMeridian) {
  EXPECT_NEAR(UtmToGeographic(1, true, 500000, 0, kWgs1984).Longitude, -177.0, 1e-12);
  EXPECT_NEAR(UtmToGeographic(60, true, 500000, 0, kWgs1984).Longitude, 177.0, 1e-12);
  // A record that was never set has zone 0: 183 degrees west, not wrapped.
  EXPECT_NEAR(UtmToGeographic(0, true, 500000, 0, kWgs1984).Longitude, -183.0, 1e-12);
  EXPECT_NEAR(UtmToGeographic(1, false, 500000, 10000000, kWgs1984).Longitude, -177.0, 1e-12);
}

TEST(UtmToGeographic, SouthernGridUsesTheFalseNorthing) {
  const TGeographic north = UtmToGeographic(18, true, 600000, 4649776, kWgs1984);
  const TGeographic south = UtmToGeographic(18, false, 600000, 10000000 - 4649776, kWgs1984);
  EXPECT_NEAR(south.Latitude, -north.Latitude, 1e-9);
  EXPECT_NEAR(south.Longitude, north.Longitude, 1e-9);
}

TEST(UtmToGeographic, DatumIndexOutsideTheListConvertsOnNorthAmerican1927) {
  const TGeographic nad27 = UtmToGeographic(18, true, 585628, 4511322, kNad1927);
  for (int index : {-1, 23}) {
    const TGeographic g = UtmToGeographic(18, true, 585628, 4511322, DatumAtPosition(index));
    EXPECT_EQ(g.Longitude, nad27.Longitude);
    EXPECT_EQ(g.Latitude, nad27.Latitude);
  }
}

TEST(UtmToGeographic, DatumsOnTheSameAxesAgreeExactly) {
  const TGeographic wgs84 = UtmToGeographic(56, false, 312345.6, 6123456.7, kWgs1984);
  const TGeographic nad83 = UtmToGeographic(56, false, 312345.6, 6123456.7, kNad1983);
  EXPECT_EQ(wgs84.Longitude, nad83.Longitude);
  EXPECT_EQ(wgs84.Latitude, nad83.Latitude);
}

TEST(UtmToGeographic, SphereFootpointIsTheArcOverTheRadius) {
  // On the central meridian the latitude is the footpoint itself.
  const double northing = 5000000;
  const TEllipsoidConstants sphere = EllipsoidConstants(21);
  const TGeographic g = UtmToGeographic(sphere, 10, true, 500000, northing);
  const double expected = northing / 0.9996 / 6370997.0 * 57.29577951308232;
  EXPECT_NEAR(g.Latitude, expected, 1e-12);
}

// 40.75 N, 74 W on the Clarke 1866 ellipsoid lies at E 584,421.4024,
// N 4,511,274.7639 of zone 18 (PROJ's forward utm, to 0.1 mm); the inverse
// must come back within about a millimetre, 1e-8 degrees.
TEST(UtmToGeographic, InvertsAPointProjectedByAnotherImplementation) {
  const TGeographic g = UtmToGeographic(18, true, 584421.4024, 4511274.7639, kNad1927);
  EXPECT_NEAR(g.Latitude, 40.75, 1e-8);
  EXPECT_NEAR(g.Longitude, -74.0, 1e-8);
}

TEST(UtmToGeographic, BeyondThePoleIsEvaluatedAtThePole) {
  const TGeographic g = UtmToGeographic(31, true, 500000, 10100000, kWgs1984);
  EXPECT_TRUE(std::isfinite(g.Latitude));
  EXPECT_NEAR(g.Latitude, 90.0, 1e-6);
  const TGeographic s = UtmToGeographic(31, false, 500000, -100000, kWgs1984);
  EXPECT_NEAR(s.Latitude, -90.0, 1e-6);
}

TEST(UtmToGeographic, NonFiniteInputGivesNonFiniteOutputWithoutHanging) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_TRUE(std::isnan(UtmToGeographic(31, true, nan, 0, kWgs1984).Longitude));
  EXPECT_TRUE(std::isnan(UtmToGeographic(31, true, 500000, nan, kWgs1984).Latitude));
  const TGeographic g = UtmToGeographic(31, true, inf, -inf, kWgs1984);
  EXPECT_FALSE(std::isfinite(g.Longitude) && std::isfinite(g.Latitude));
  // Extreme zones must not overflow.
  EXPECT_TRUE(std::isfinite(
      UtmToGeographic(std::numeric_limits<int32_t>::min(), true, 500000, 0, kWgs1984).Longitude));
}

}  // namespace
}  // namespace quorvane
