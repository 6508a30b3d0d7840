#include "geo/measure_readouts.h"
#include "geo/geotiff_georef.h"

#include <gtest/gtest.h>

#include <limits>

#include "geo/datums.h"

namespace quorvane {
namespace {

// A polyline with the georeference it is measured on.
struct TMeasured {
  TMeasureTool Tool;
  TGeoReference Reference;
};
TMeasurementTexts Texts(const TMeasured& measured, TLengthUnitChoice length_unit,
                        TAreaUnitChoice area_unit, const TNumberFormat& format = {}) {
  return MeasurementTexts(measured.Tool, measured.Reference, length_unit, area_unit, format);
}

TMeasured LineOfMetres(double metres) {
  TMeasured tool;
  tool.Reference.ScaleX = metres / 100;
  tool.Reference.ScaleY = 1;
  tool.Tool.Points = {{0, 0}, {100, 0}};
  return tool;
}

TMeasured SquareOfSquareMetres(double square_metres) {
  TMeasured tool;
  tool.Reference.ScaleX = square_metres / 100;
  tool.Reference.ScaleY = 1;
  tool.Tool.Points = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  return tool;
}

TEST(MeasurementTexts, LengthInEveryUnit) {
  const TMeasured tool = LineOfMetres(1500);
  const char* expected[] = {"100.0Px", "1500.0M", "1.50kM", "4921.3Ft", "1640.42Yd", "0.93Mi"};
  for (int unit = 0; unit < kLengthUnitCount; ++unit) {
    EXPECT_EQ(Texts(tool, TLengthUnitChoice(unit), TAreaUnitChoice::Pixels).LengthText,
              expected[unit])
        << unit;
  }
}

TEST(MeasurementTexts, AreaInEveryUnit) {
  const TMeasured tool = SquareOfSquareMetres(10000);
  const char* expected[] = {"100.0Px^2",    "10000.0M^2",  "1.0Hectare", "0.01kM^2",
                            "107639.1Ft^2", "11959.9Yd^2", "2.5Acres",   "0.00Mi^2"};
  for (int unit = 0; unit < kAreaUnitCount; ++unit) {
    EXPECT_EQ(Texts(tool, TLengthUnitChoice::Pixels, TAreaUnitChoice(unit)).AreaText,
              expected[unit])
        << unit;
  }
  EXPECT_EQ(Texts(SquareOfSquareMetres(250000), TLengthUnitChoice::Pixels,
                  TAreaUnitChoice::SquareKilometres)
                .AreaText,
            "0.25kM^2");
}

TEST(MeasurementTexts, UnitIndexOutsideTheListCountsAsPixels) {
  const TMeasured tool = LineOfMetres(1500);
  EXPECT_EQ(Texts(tool, TLengthUnitChoice(6), TAreaUnitChoice(255)).LengthText, "100.0Px");
  EXPECT_EQ(Texts(tool, TLengthUnitChoice(6), TAreaUnitChoice(255)).AreaText, "0.0Px^2");
}

TEST(MeasurementTexts, NaNScaleGivesText) {
  TMeasured tool = LineOfMetres(1);
  tool.Reference.ScaleX = std::numeric_limits<double>::quiet_NaN();
  EXPECT_EQ(Texts(tool, TLengthUnitChoice::Metres, TAreaUnitChoice::SquareMetres).LengthText,
            "NANM");
}

TEST(MeasurementTexts, DecimalSeparatorIsTheCallers) {
  EXPECT_EQ(
      Texts(LineOfMetres(1234.5), TLengthUnitChoice::Metres, TAreaUnitChoice::Pixels, {",", "."})
          .LengthText,
      "1234,5M");
}

TGeoReference Utm18North() {
  return {.BaseX = 500000, .BaseY = 4649776, .ScaleX = 30, .ScaleY = 30, .Zone = 18, .North = true};
}

TEST(LastPointTexts, MapsThePixelWithGroupedThousands) {
  const TLastPointTexts texts = LastPointTexts(Utm18North(), 10, 20);
  EXPECT_EQ(texts.EastText, "500,300.0");
  EXPECT_EQ(texts.NorthText, "4,649,176.0");
}

TEST(CursorReadouts, GivesMapAndGeographicTexts) {
  const TCursorTexts texts = CursorReadouts(Utm18North(), 0, 0, TDatumChoice::Wgs1984);
  EXPECT_EQ(texts.EastText, "500,000.0");
  EXPECT_EQ(texts.NorthText, "4,649,776.0");
  // PROJ: E 500000, N 4649776 of WGS 84 zone 18 is 75 W, 41.999997976 N.
  EXPECT_EQ(texts.LongitudeText, "-75.00000");
  EXPECT_EQ(texts.LatitudeText, "42.00000");
  EXPECT_EQ(texts.LongitudeDms, "-75\u00B000'00\"");
  EXPECT_EQ(texts.LatitudeDms, "41\u00B059'59\"");
  EXPECT_EQ(texts.ZoneText, "18");
}

TEST(CursorReadouts, SouthernRecordConvertsOnTheSouthernGrid) {
  TGeoReference reference = Utm18North();
  reference.North = false;
  reference.BaseY = 10000000;
  const TCursorTexts texts = CursorReadouts(reference, 0, 0, TDatumChoice::Wgs1984);
  EXPECT_EQ(texts.LatitudeText, "0.00000");
  EXPECT_EQ(texts.ZoneText, "18");
}

TEST(CursorReadouts, NeverSetRecordAndNaNScaleStillGiveText) {
  TGeoReference never_set;
  ResetGeoReference(never_set);
  const TCursorTexts zero = CursorReadouts(never_set, 0, 0, kDefaultDatum);
  EXPECT_EQ(zero.ZoneText, "0");
  EXPECT_EQ(zero.NorthText, "0.0");
  never_set.ScaleX = std::numeric_limits<double>::quiet_NaN();
  const TCursorTexts nan = CursorReadouts(never_set, 5, 5, DatumAtPosition(99));
  EXPECT_EQ(nan.EastText, "NAN");
  EXPECT_EQ(nan.LongitudeText, "NAN");
  EXPECT_EQ(nan.LongitudeDms, "NAN");
}

}  // namespace
}  // namespace quorvane
