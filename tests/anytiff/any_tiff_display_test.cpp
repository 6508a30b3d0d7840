// The display of measurements: the cut, min-max and no stretch per band on
// 16-bit, Int16 and Float32 files with nodata, and the choice of bands,
// against values worked out here from the definitions alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <vector>

#include "anytiff/any_tiff_test_support.h"

namespace quorvane {
namespace {

using test_support::TTempDir;
using test_support::TTiffRecipe;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct TDisplayCase {
  const char* Name;
  uint16_t Bits, Format;
  double NoData;
  double (*Value)(uint32_t x, uint32_t y);
  bool Exact;  // integers of up to 16 bits: one bin per value
};

// Scattered values with a few outliers the cut must leave out, and nodata
// (and NaN for floats) here and there.
double UInt16Value(uint32_t x, uint32_t y) {
  if ((x * 7 + y * 3) % 23 == 0) return 0;  // nodata
  if (x == 1 && y < 4) return 65000;
  return 393 + (x * 7919 + y * 104729) % 478;
}
double Int16Value(uint32_t x, uint32_t y) {
  if ((x + y * 5) % 19 == 0) return -32768;
  if (y == 2 && x < 5) return -30000;
  return -1200 + double((x * 131 + y * 977) % 2500);
}
// Values from 0 to 1024 (both present), so the 65536 bins have exact edges.
double Float32Value(uint32_t x, uint32_t y) {
  if (x == 0 && y == 0) return 0;
  if (x == 1 && y == 0) return 1024;
  if ((x * 3 + y) % 17 == 0) return -9999;
  if ((x + y) % 29 == 0) return kNaN;
  return 100 + double((x * 2654435761u + y * 40503u) % 80000) / 128.0;
}

const TDisplayCase kCases[] = {
    {"UInt16", 16, SAMPLEFORMAT_UINT, 0, UInt16Value, true},
    {"Int16", 16, SAMPLEFORMAT_INT, -32768, Int16Value, true},
    {"Float32", 32, SAMPLEFORMAT_IEEEFP, -9999, Float32Value, false},
};

bool Valid(double v, double nodata) {
  return std::isfinite(v) && v != nodata;
}

// The 2% and 98% points as defined: the smallest value (or bin) at which the
// count of valid samples up to it reaches the fraction of all valid samples.
std::pair<double, double> CutPoints(std::vector<double> valid, bool exact) {
  std::sort(valid.begin(), valid.end());
  const size_t n = valid.size();
  auto at_fraction = [&](size_t percent) { return (n * percent + 99) / 100 - 1; };
  if (exact) return {valid[at_fraction(2)], valid[at_fraction(98)]};
  const double lo = valid.front(), hi = valid.back();
  std::vector<size_t> bins(65536);
  for (double v : valid) ++bins[std::min<size_t>(65535, size_t((v - lo) / (hi - lo) * 65536))];
  size_t running = 0, low = 0, high = 0;
  bool low_found = false;
  for (size_t i = 0; i < bins.size(); ++i) {
    running += bins[i];
    if (!low_found && running * 100 >= n * 2) low = i, low_found = true;
    if (running * 100 >= n * 98) {
      high = i;
      break;
    }
  }
  return {lo + (hi - lo) * double(low) / 65536, lo + (hi - lo) * double(high + 1) / 65536};
}

int Grey(double v, double lo, double hi) {
  if (hi == lo) return v < lo ? 0 : 255;
  return int(std::clamp(std::nearbyint((v - lo) * (255.0 / (hi - lo))), 0.0, 255.0));
}

std::pair<double, double> Range(const TDisplayCase& c, TDisplayStretch stretch,
                                const std::vector<double>& valid) {
  if (stretch == TDisplayStretch::Cut) return CutPoints(valid, c.Exact);
  if (stretch == TDisplayStretch::MinMax)
    return {*std::min_element(valid.begin(), valid.end()),
            *std::max_element(valid.begin(), valid.end())};
  if (c.Format == SAMPLEFORMAT_IEEEFP) return {0, 255};
  if (c.Format == SAMPLEFORMAT_INT) return {-32768, 32767};
  return {0, 65535};
}

TAnyTiffResult Decode(std::span<const uint8_t> bytes, const TAnyTiffDisplay& display,
                      TRasterBitmap& picture, uint64_t cap = test_support::kRoomyCap) {
  TAnyTiffOptions options;
  options.MaxPictureBytes = cap;
  options.Display = display;
  TGeoTiffTags tags;
  return DecodeAnyTiffBytes(bytes, picture, tags, options);
}

// Each stretch of each type, read once (a working copy) and read again
// (a cap with no room for the copy).
TEST(AnyTiffDisplay, StretchesMatchTheirDefinitions) {
  TTempDir dir;
  for (const TDisplayCase& c : kCases) {
    TTiffRecipe recipe;
    recipe.Width = 45;
    recipe.Height = 31;
    recipe.Bits = c.Bits;
    recipe.SampleFormat = c.Format;
    recipe.Compression = COMPRESSION_ADOBE_DEFLATE;
    recipe.TileWidth = recipe.TileHeight = 16;
    recipe.NoData = std::to_string(int(c.NoData));
    const auto bytes =
        test_support::WriteTiff(dir, std::string(c.Name) + ".tif", recipe,
                                [&](uint32_t x, uint32_t y, int) { return c.Value(x, y); });
    std::vector<double> valid;
    for (uint32_t y = 0; y < recipe.Height; ++y)
      for (uint32_t x = 0; x < recipe.Width; ++x)
        if (Valid(c.Value(x, y), c.NoData)) valid.push_back(c.Value(x, y));
    for (TDisplayStretch stretch :
         {TDisplayStretch::Cut, TDisplayStretch::MinMax, TDisplayStretch::None}) {
      const auto [lo, hi] = Range(c, stretch, valid);
      for (uint64_t cap : {test_support::kRoomyCap, uint64_t(48 * 31)}) {
        SCOPED_TRACE(std::string(c.Name) + " " + DisplayStretchName(stretch) +
                     (cap == test_support::kRoomyCap ? " kept" : " read again"));
        TRasterBitmap picture;
        const TAnyTiffResult result = Decode(bytes, {.Stretch = stretch}, picture, cap);
        ASSERT_EQ(picture.PixelFormat(), TPixelFormat::Bit8);
        ASSERT_EQ(result.Bands.size(), 1u);
        EXPECT_EQ(result.Bands[0].Low, lo);
        EXPECT_EQ(result.Bands[0].High, hi);
        EXPECT_EQ(result.NoData, c.NoData);
        for (uint32_t y = 0; y < recipe.Height; ++y)
          for (uint32_t x = 0; x < recipe.Width; ++x) {
            const double v = c.Value(x, y);
            ASSERT_EQ(picture.Scanline(int(y))[x], Valid(v, c.NoData) ? Grey(v, lo, hi) : 0)
                << x << ", " << y;
          }
      }
    }
  }
}

double BandValue(uint32_t x, uint32_t y, int s) {
  return 100 * (s + 1) + double((x * 13 + y * 7 + uint32_t(s) * 5) % 90);
}

// A 4-band 16-bit scene with a grey photometric tag: bands 1, 2, 3 as red,
// green, blue by default, any three (or one as grey) on request, in either
// planar configuration.
TEST(AnyTiffDisplay, ChosenBandsBecomeRedGreenBlueOrGrey) {
  TTempDir dir;
  struct TBandCase {
    std::vector<int> Bands, Expected;
  } const cases[] = {{{}, {0, 1, 2}}, {{3, 2, 1}, {3, 2, 1}}, {{2}, {2}}, {{0, 0, 3}, {0, 0, 3}}};
  for (uint16_t planar : {PLANARCONFIG_CONTIG, PLANARCONFIG_SEPARATE}) {
    TTiffRecipe recipe;
    recipe.Width = 20;
    recipe.Height = 12;
    recipe.Bits = 16;
    recipe.Samples = 4;
    recipe.Planar = planar;
    // As GDAL writes such scenes: bands 2 to 4 extra samples of no kind.
    recipe.ExtraSamples = planar == PLANARCONFIG_CONTIG ? 3 : 0;
    recipe.ExtraSampleKind = EXTRASAMPLE_UNSPECIFIED;
    const auto bytes = test_support::WriteTiff(dir, "scene.tif", recipe, BandValue);
    for (const TBandCase& c : cases) {
      TRasterBitmap picture;
      const TAnyTiffResult result =
          Decode(bytes, {.Stretch = TDisplayStretch::MinMax, .Bands = c.Bands}, picture);
      EXPECT_EQ(result.ShownBands, c.Expected);
      EXPECT_EQ(result.SamplesPerPixel, 4);
      EXPECT_TRUE(result.BandChoice);
      ASSERT_EQ(picture.PixelFormat(),
                c.Expected.size() == 3 ? TPixelFormat::Bit24 : TPixelFormat::Bit8);
      std::vector<std::vector<int>> expected;
      for (int band : c.Expected) {
        std::vector<double> values;
        for (uint32_t y = 0; y < recipe.Height; ++y)
          for (uint32_t x = 0; x < recipe.Width; ++x) values.push_back(BandValue(x, y, band));
        expected.push_back(test_support::ExpectedStretch(values, std::nullopt));
      }
      for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 20; ++x) {
          const size_t i = size_t(y * 20 + x);
          if (expected.size() == 1) {
            ASSERT_EQ(picture.Scanline(y)[x], expected[0][i]);
          } else {
            const auto colour = test_support::ColorAt(picture, x, y);
            ASSERT_EQ((std::vector<int>{colour.Red, colour.Green, colour.Blue}),
                      (std::vector<int>{expected[0][i], expected[1][i], expected[2][i]}));
          }
        }
    }
  }
}

TEST(AnyTiffDisplay, BandsTheFileLacksAreRefusedOrLeftToTheFile) {
  TTempDir dir;
  TTiffRecipe recipe;
  recipe.Bits = 16;
  recipe.Samples = 4;
  const auto bytes = test_support::WriteTiff(dir, "scene.tif", recipe, BandValue);
  TRasterBitmap picture;
  try {
    Decode(bytes, {.Bands = {4, 2, 1}}, picture);
    ADD_FAILURE() << "band 5 accepted";
  } catch (const EQuorvaneError& e) {
    EXPECT_STREQ(e.what(), "No Band 5 (the file has 4 bands)");
  }
  const TAnyTiffResult result =
      Decode(bytes, {.Bands = {4, 2, 1}, .BandsRequired = false}, picture);
  EXPECT_EQ(result.ShownBands, (std::vector<int>{0, 1, 2}));
}

TEST(AnyTiffDisplay, BandListsAndStretchNamesParse) {
  EXPECT_EQ(ParseBandList("4,3,2"), (std::vector<int>{3, 2, 1}));
  EXPECT_EQ(ParseBandList("7"), (std::vector<int>{6}));
  for (const char* bad : {"", "0", "1,2", "1,2,3,4", "a", "1,,2", "1,2,3,", "-1"})
    EXPECT_THROW(ParseBandList(bad), EQuorvaneError) << bad;
  for (TDisplayStretch s : {TDisplayStretch::Cut, TDisplayStretch::MinMax, TDisplayStretch::None})
    EXPECT_EQ(ParseDisplayStretch(DisplayStretchName(s)), s);
  EXPECT_EQ(ParseDisplayStretch("linear"), std::nullopt);
}

}  // namespace
}  // namespace quorvane
