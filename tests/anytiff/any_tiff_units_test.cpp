// The extended TIFF reader's small parts on their own: sample unpacking, the
// full-range scale, half floats, nodata parsing, the stretch, the check that
// steers files to the reader, and the georeference of an overview.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "anytiff/any_tiff_geotags.h"
#include "anytiff/any_tiff_reader.h"
#include "anytiff/any_tiff_samples.h"
#include "anytiff/any_tiff_stretch.h"
#include "support/tiff_test_builder.h"

namespace quorvane {
namespace {

TEST(AnyTiffSamples, PackedSamplesAreTakenMostSignificantBitFirst) {
  // Two pixels of three 12-bit samples: 0x123 0x456 0x789, 0xABC 0xDEF 0x001.
  const uint8_t row[] = {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDE, 0xF0, 0x01};
  uint32_t second[2];
  UnpackUnsigned(row, 12, 3, 1, 2, second);
  EXPECT_EQ(second[0], 0x456u);
  EXPECT_EQ(second[1], 0xDEFu);
  // Four-bit samples, one per pixel, starting at sample 3.
  uint32_t nibbles[3];
  UnpackUnsigned(row, 4, 1, 3, 3, nibbles);
  EXPECT_EQ(nibbles[0], 4u);
  EXPECT_EQ(nibbles[1], 5u);
  EXPECT_EQ(nibbles[2], 6u);
  // Signed 12-bit: 0x800 is the most negative value, 0x7FF the largest.
  const uint8_t signed_row[] = {0x80, 0x07, 0xFF};
  double values[2];
  UnpackValues(signed_row, {TSampleKind::Signed, 12}, 1, 0, 2, values);
  EXPECT_EQ(values[0], -2048);
  EXPECT_EQ(values[1], 2047);
}

TEST(AnyTiffSamples, TypedSamplesKeepTheirValues) {
  const float floats[] = {1.5f, -2.25f, 7.0f, std::numeric_limits<float>::quiet_NaN()};
  double values[2];
  UnpackValues(reinterpret_cast<const uint8_t*>(floats), {TSampleKind::Float, 32}, 2, 1, 2, values);
  EXPECT_EQ(values[0], -2.25);
  EXPECT_TRUE(std::isnan(values[1]));
  const int16_t shorts[] = {-32768, 32767};
  UnpackValues(reinterpret_cast<const uint8_t*>(shorts), {TSampleKind::Signed, 16}, 1, 0, 2,
               values);
  EXPECT_EQ(values[0], -32768);
  EXPECT_EQ(values[1], 32767);
}

TEST(AnyTiffSamples, FullRangeScaleRoundsToNearest) {
  EXPECT_EQ(FullRangeTable(1, false), (std::vector<uint8_t>{0, 255}));
  EXPECT_EQ(FullRangeTable(2, false), (std::vector<uint8_t>{0, 85, 170, 255}));
  EXPECT_EQ(FullRangeTable(2, true), (std::vector<uint8_t>{255, 170, 85, 0}));
  const std::vector<uint8_t> twelve = FullRangeTable(12, false);
  EXPECT_EQ(twelve[2048], 128);  // 127.53
  EXPECT_EQ(twelve[4095], 255);
  const std::vector<uint8_t> sixteen = FullRangeTable(16, false);
  EXPECT_EQ(sixteen[128], 0);  // 0.498
  EXPECT_EQ(sixteen[129], 1);  // 0.502
  EXPECT_EQ(sixteen[0x8080], 128);
  EXPECT_EQ(sixteen[65535], 255);
}

TEST(AnyTiffSamples, HalfFloatsWidenExactly) {
  EXPECT_EQ(HalfToFloat(0x3C00), 1.0f);
  EXPECT_EQ(HalfToFloat(0xC000), -2.0f);
  EXPECT_EQ(HalfToFloat(0x7BFF), 65504.0f);
  EXPECT_EQ(HalfToFloat(0x0001), std::ldexp(1.0f, -24));  // the smallest subnormal
  EXPECT_EQ(HalfToFloat(0x03FF), std::ldexp(1023.0f, -24));
  EXPECT_EQ(HalfToFloat(0x7C00), std::numeric_limits<float>::infinity());
  EXPECT_TRUE(std::isnan(HalfToFloat(0x7E00)));
}

TEST(AnyTiffStretch, NodataTextIsTakenAtTheSamplesPrecision) {
  const TSampleType int16{TSampleKind::Signed, 16}, uint16{TSampleKind::Unsigned, 16};
  const TSampleType float32{TSampleKind::Float, 32}, float64{TSampleKind::Float, 64};
  EXPECT_TRUE(ParseNoData("-9999", int16).Set);
  EXPECT_EQ(ParseNoData(" -9999 ", int16).Value, -9999);
  EXPECT_EQ(ParseNoData(std::string("153\0", 4), uint16).Value, 153) << "a trailing NUL";
  EXPECT_EQ(ParseNoData("+5", uint16).Value, 5);
  EXPECT_FALSE(ParseNoData("-9999.5", int16).Set) << "no integer sample holds it";
  EXPECT_FALSE(ParseNoData("70000", uint16).Set);
  EXPECT_FALSE(ParseNoData("-1", uint16).Set);
  EXPECT_EQ(ParseNoData("0.1", float32).Value, double(0.1f));
  EXPECT_EQ(ParseNoData("0.1", float64).Value, 0.1);
  EXPECT_FALSE(ParseNoData("nan", float32).Set) << "NaN is never valid anyway";
  EXPECT_FALSE(ParseNoData("none", float32).Set);
  EXPECT_FALSE(ParseNoData("", float32).Set);
  EXPECT_FALSE(ParseNoData(std::nullopt, float32).Set);
}

TEST(AnyTiffStretch, MinimumToMaximumWithTiesToEven) {
  TBandRange range;
  range.Add(0);
  range.Add(10);
  const TStretch stretch(range);
  EXPECT_EQ(stretch.Map(0), 0);
  EXPECT_EQ(stretch.Map(10), 255);
  EXPECT_EQ(stretch.Map(1), 26);   // 25.5
  EXPECT_EQ(stretch.Map(3), 76);   // 76.5
  EXPECT_EQ(stretch.Map(5), 128);  // 127.5

  TBandRange flat;
  flat.Add(42);
  EXPECT_EQ(TStretch(flat).Map(42), 255) << "a flat band stays apart from black nodata";
  EXPECT_TRUE(TBandRange().Empty());

  TBandRange huge;
  huge.Add(-1e308);
  huge.Add(1e308);
  EXPECT_EQ(TStretch(huge).Map(0), 128) << "a span beyond the largest double";
  EXPECT_EQ(TStretch(huge).Map(1e308), 255);

  // Found by fuzzing: a range so narrow that 255 over it overflows made
  // every pixel NaN.
  TBandRange tiny;
  tiny.Add(0);
  tiny.Add(1.8187371284868433e-307);
  EXPECT_EQ(TStretch(tiny).Map(0), 0);
  EXPECT_EQ(TStretch(tiny).Map(1.8187371284868433e-307), 255);
  EXPECT_EQ(TStretch(tiny).Map(1.8187371284868433e-307 / 2), 128);

  const TNoData nodata = ParseNoData("-9999", {TSampleKind::Float, 32});
  EXPECT_FALSE(IsValidSample(-9999, nodata));
  EXPECT_FALSE(IsValidSample(HUGE_VAL, nodata));
  EXPECT_FALSE(IsValidSample(std::nan(""), nodata));
  EXPECT_TRUE(IsValidSample(-9998, nodata));
}

std::vector<uint8_t> WithSampleFormat(bool big_endian, std::vector<uint16_t> formats,
                                      uint16_t bits = 8) {
  test_support::TTiffBuilder b(big_endian);
  b.Long(256, {4}).Long(257, {4}).Short(258, {bits}).Short(277, {uint16_t(formats.size())});
  b.Short(339, formats);
  return b.Build();
}

TEST(AnyTiffSniff, BigTiffSignedFloatWideOrManySamplesGoToTheExtendedReader) {
  const std::vector<uint8_t> bigtiff = {'I', 'I', 43, 0, 8, 0, 0, 0, 16, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_TRUE(WantsExtendedReader(bigtiff));
  const std::vector<uint8_t> bigtiff_mm = {'M', 'M', 0, 43, 0, 8, 0, 0};
  EXPECT_TRUE(WantsExtendedReader(bigtiff_mm));
  for (bool big : {false, true}) {
    EXPECT_TRUE(WantsExtendedReader(WithSampleFormat(big, {2})));
    EXPECT_TRUE(WantsExtendedReader(WithSampleFormat(big, {3, 3, 3})));  // at an offset
    EXPECT_FALSE(WantsExtendedReader(WithSampleFormat(big, {1})));
    EXPECT_FALSE(WantsExtendedReader(WithSampleFormat(big, {4})));
    EXPECT_FALSE(WantsExtendedReader(WithSampleFormat(big, {1, 1, 1})));
    EXPECT_TRUE(WantsExtendedReader(WithSampleFormat(big, {1}, 16)));
    EXPECT_TRUE(WantsExtendedReader(WithSampleFormat(big, {1, 1, 1, 1})));
  }
  test_support::TTiffBuilder plain(false);
  plain.Long(256, {4}).Long(257, {4});
  EXPECT_FALSE(WantsExtendedReader(plain.Build()));
}

TEST(AnyTiffSniff, ShortOrStrangeBytesAreLeftToOurOwnReader) {
  std::vector<uint8_t> file = WithSampleFormat(false, {3, 3, 3});
  EXPECT_FALSE(WantsExtendedReader({}));
  EXPECT_FALSE(WantsExtendedReader(std::span(file).first(7)));
  // The directory sits after the data, so a cut header loses it.
  EXPECT_FALSE(WantsExtendedReader(std::span(file).first(file.size() - 20)));
  const std::vector<uint8_t> not_tiff = {'G', 'I', 'F', '8', '9', 'a', 0, 0};
  EXPECT_FALSE(WantsExtendedReader(not_tiff));
  std::vector<uint8_t> far = {'I', 'I', 42, 0, 0xFF, 0xFF, 0xFF, 0xFF};
  EXPECT_FALSE(WantsExtendedReader(far));
}

TEST(AnyTiffGeoTags, AnOverviewScalesThePixelSizeAndKeepsTheCorner) {
  TGeoTiffTags tags;
  tags.PixelScale = {30, 20, 0};
  tags.TiePointCount = 1;
  tags.TiePoints[0] = {100, 50, 0, 500000, 4649776, 0};
  ScaleGeoTiffTags(tags, 4.0, 2.0);
  EXPECT_EQ(tags.PixelScale[0], 120);
  EXPECT_EQ(tags.PixelScale[1], 40);
  EXPECT_EQ(tags.TiePoints[0].I, 25);
  EXPECT_EQ(tags.TiePoints[0].J, 25);
  // The picture's corner stays where it was on the ground.
  EXPECT_EQ(tags.TiePoints[0].X - tags.TiePoints[0].I * tags.PixelScale[0], 500000 - 100 * 30);
  EXPECT_EQ(tags.TiePoints[0].Y + tags.TiePoints[0].J * tags.PixelScale[1], 4649776 + 50 * 20);
}

}  // namespace
}  // namespace quorvane
