#pragma once
// Ellipsoids, datums and the UTM-to-geographic conversion. The conversion
// runs one way only (grid to longitude/latitude) and does no datum shift: the
// result is on the datum the caller names, which is taken to be the grid's.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quorvane {

struct TEllipsoid {
  const char* Name;
  double A;  // semi-major axis, metres
  double B;  // semi-minor axis, metres
};

struct TGeoParams {
  int32_t Ellipsoid;  // index into EllipsoidTable()
  const char* Name;
};

constexpr int kEllipsoidCount = 22;
// The entries of the Datum list in its order: the value is the list
// position. Any other value stands for North American 1927, the list's
// initial choice.
enum class TDatumChoice : int {
  Adindan,
  Arc1950,
  Arc1960,
  Australian1966,
  Australian1984,
  CampAreaAstro,
  Cape,
  European1950,
  European1979,
  Geodetic1949,
  HongKong1963,
  HuTzuShan,
  Indian,
  NorthAmerican1927,
  NorthAmerican1983,
  Oman,
  OrdnanceSurvey1936,
  Pulkovo1942,
  SouthAmerican1956,
  SouthAmerican1969,
  Tokyo,
  Wgs1972,
  Wgs1984,
};
constexpr int kDatumCount = int(TDatumChoice::Wgs1984) + 1;
constexpr TDatumChoice kDefaultDatum = TDatumChoice::NorthAmerican1927;

// The entry at a list position, as the window's list reports it.
constexpr TDatumChoice DatumAtPosition(int position) {
  return TDatumChoice(position);
}
// The row of the datum tables that converts for `datum`.
constexpr size_t DatumRow(TDatumChoice datum) {
  const int position = int(datum);
  return size_t(position >= 0 && position < kDatumCount ? position : int(kDefaultDatum));
}

const std::array<TEllipsoid, kEllipsoidCount>& EllipsoidTable();
const std::array<TGeoParams, kDatumCount>& DatumTable();

// The datum names in list order and the entry selected at start.
struct TDatumList {
  std::vector<std::string> Names;
  TDatumChoice Selected = kDefaultDatum;
};
TDatumList DatumListEntries();

// The constants of one datum's ellipsoid for the conversion: axes, UTM scale
// factor, eccentricities and the coefficients of the meridian-arc series.
struct TEllipsoidConstants {
  double A = 0, B = 0, K0 = 0;
  double E2 = 0;       // first eccentricity squared
  double EPrime2 = 0;  // second eccentricity squared
  double A0 = 0, A2 = 0, A4 = 0, A6 = 0;
};

TEllipsoidConstants SelectEllipsoid(TDatumChoice datum);
// The constants of ellipsoid `ellipsoid_index` of EllipsoidTable() (0..21;
// any other index gives those of the default datum's ellipsoid).
TEllipsoidConstants EllipsoidConstants(int ellipsoid_index);

// Length of the meridian from the equator to `latitude` (radians), metres.
double MeridianArc(const TEllipsoidConstants& ellipsoid, double latitude);

struct TGeographic {
  double Longitude = 0.0;  // degrees, positive east; not brought into -180..180
  double Latitude = 0.0;   // degrees, positive north
};

// `north` false: the southern grid (false northing 10,000 km). The
// hemisphere travels as a flag, as in the georeference record, never as the
// sign of the zone; a negative zone converts as its absolute value.
// Allocates nothing.
TGeographic UtmToGeographic(int32_t zone, bool north, double easting, double northing,
                            TDatumChoice datum);
TGeographic UtmToGeographic(const TEllipsoidConstants& ellipsoid, int32_t zone, bool north,
                            double easting, double northing);

}  // namespace quorvane
