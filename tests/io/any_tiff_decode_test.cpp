// Files written by libtiff in the test, in the layouts and sample types real
// GeoTIFFs use, decode to the pixels their samples call for.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "anytiff/any_tiff_test_support.h"
#include "tiff/tiff_reader.h"

namespace quorvane {
namespace {

using test_support::ColorAt;
using test_support::DecodeAny;
using test_support::TColor;
using test_support::TTempDir;
using test_support::TTiffRecipe;

double RgbSample(uint32_t x, uint32_t y, int s) {
  switch (s) {
    case 0:
      return (x * 7 + y * 3) % 256;
    case 1:
      return (x * 5 + y * 11) % 256;
    default:
      return ((x ^ y) * 3 + 40 * s) % 256;
  }
}

void ExpectRgbPicture(const TRasterBitmap& picture, uint32_t width, uint32_t height) {
  ASSERT_EQ(picture.Width(), int(width));
  ASSERT_EQ(picture.Height(), int(height));
  ASSERT_EQ(picture.PixelFormat(), TPixelFormat::Bit24);
  for (uint32_t y = 0; y < height; ++y)
    for (uint32_t x = 0; x < width; ++x)
      ASSERT_EQ(ColorAt(picture, int(x), int(y)),
                (TColor{uint8_t(RgbSample(x, y, 2)), uint8_t(RgbSample(x, y, 1)),
                        uint8_t(RgbSample(x, y, 0))}))
          << x << ", " << y;
}

TTiffRecipe Rgb(uint16_t compression) {
  TTiffRecipe recipe;
  recipe.Width = 37;
  recipe.Height = 23;
  recipe.Samples = 3;
  recipe.Photometric = PHOTOMETRIC_RGB;
  recipe.Compression = compression;
  return recipe;
}

TEST(AnyTiffDecode, RgbInStripsAndTilesWithEveryCommonCompression) {
  TTempDir dir;
  for (uint16_t compression : {COMPRESSION_NONE, COMPRESSION_LZW, COMPRESSION_ADOBE_DEFLATE,
                               COMPRESSION_PACKBITS, COMPRESSION_ZSTD}) {
    for (bool tiled : {false, true}) {
      TTiffRecipe recipe = Rgb(compression);
      if (tiled) {
        recipe.TileWidth = recipe.TileHeight = 16;  // partial tiles at the right and bottom
      } else {
        recipe.RowsPerStrip = 5;
      }
      SCOPED_TRACE(std::to_string(compression) + (tiled ? " tiled" : " striped"));
      const auto bytes = test_support::WriteTiff(dir, "rgb.tif", recipe, RgbSample);
      ExpectRgbPicture(DecodeAny(bytes).Picture, recipe.Width, recipe.Height);
    }
  }
}

TEST(AnyTiffDecode, SeparatePlanesGiveTheSamePixelsAsChunkyOnes) {
  TTempDir dir;
  for (bool tiled : {false, true}) {
    TTiffRecipe recipe = Rgb(COMPRESSION_LZW);
    recipe.Planar = PLANARCONFIG_SEPARATE;
    recipe.Samples = 4;  // a fourth band that is never shown
    recipe.Photometric = PHOTOMETRIC_RGB;
    recipe.ExtraSamples = 1;
    recipe.TileWidth = recipe.TileHeight = tiled ? 16 : 0;
    recipe.RowsPerStrip = 7;
    const auto bytes = test_support::WriteTiff(dir, "planar.tif", recipe, RgbSample);
    ExpectRgbPicture(DecodeAny(bytes).Picture, recipe.Width, recipe.Height);
  }
}

TEST(AnyTiffDecode, BigTiffInBothByteOrders) {
  TTempDir dir;
  for (bool big_endian : {false, true}) {
    TTiffRecipe recipe;
    recipe.Width = 40;
    recipe.Height = 9;
    recipe.BigTiff = true;
    recipe.BigEndian = big_endian;
    recipe.Compression = COMPRESSION_ADOBE_DEFLATE;
    recipe.RowsPerStrip = 4;
    const auto bytes = test_support::WriteTiff(
        dir, "big.tif", recipe, [](uint32_t x, uint32_t y, int) { return x * 6 + y; });
    const TRasterBitmap picture = DecodeAny(bytes).Picture;
    ASSERT_EQ(picture.PixelFormat(), TPixelFormat::Bit8);
    for (uint32_t y = 0; y < recipe.Height; ++y)
      for (uint32_t x = 0; x < recipe.Width; ++x) ASSERT_EQ(picture.Scanline(int(y))[x], x * 6 + y);
    EXPECT_EQ(picture.ColorTable()[200], (TRGBQuad{200, 200, 200, 0})) << "a grey ramp";
  }
}

TEST(AnyTiffDecode, SixteenBitRgbScalesOverTheFullRange) {
  TTempDir dir;
  TTiffRecipe recipe = Rgb(COMPRESSION_ADOBE_DEFLATE);
  recipe.Bits = 16;
  recipe.Samples = 4;
  recipe.ExtraSamples = 1;
  recipe.BigEndian = true;  // libtiff hands the samples over in host order all the same
  auto sample = [](uint32_t x, uint32_t y, int s) {
    return double((x * 1777 + y * 2903 + uint32_t(s) * 12345) % 65536);
  };
  const auto bytes = test_support::WriteTiff(dir, "rgb16.tif", recipe, sample);
  const TRasterBitmap picture = DecodeAny(bytes).Picture;
  ASSERT_EQ(picture.PixelFormat(), TPixelFormat::Bit24);
  for (uint32_t y = 0; y < recipe.Height; ++y) {
    for (uint32_t x = 0; x < recipe.Width; ++x) {
      const TColor c = ColorAt(picture, int(x), int(y));
      ASSERT_EQ(c.Red, test_support::FullRange(uint64_t(sample(x, y, 0)), 16));
      ASSERT_EQ(c.Green, test_support::FullRange(uint64_t(sample(x, y, 1)), 16));
      ASSERT_EQ(c.Blue, test_support::FullRange(uint64_t(sample(x, y, 2)), 16));
    }
  }
}

// libjpeg turns YCbCr into RGB; the result is what libtiff's own RGBA reader
// gives for the same file, and close to what was written.
TEST(AnyTiffDecode, JpegYcbcrTilesAndStripsMatchLibtiffsRgbaReader) {
  TTempDir dir;
  for (bool tiled : {false, true}) {
    TTiffRecipe recipe = Rgb(COMPRESSION_JPEG);
    recipe.Width = 48;
    recipe.Height = 40;
    recipe.Photometric = PHOTOMETRIC_YCBCR;
    recipe.TileWidth = recipe.TileHeight = tiled ? 16 : 0;
    recipe.RowsPerStrip = 16;
    auto smooth = [](uint32_t x, uint32_t y, int s) { return double(40 + x * 2 + y * s); };
    const auto path = dir / "jpeg.tif";
    test_support::WriteTiffWithLibtiff(path, recipe, smooth);
    const TRasterBitmap picture = DecodeAny(test_support::ReadFileBytes(path)).Picture;

    TIFF* tif = TIFFOpen(path.c_str(), "r");
    ASSERT_NE(tif, nullptr);
    std::vector<uint32_t> rgba(size_t(recipe.Width) * recipe.Height);
    ASSERT_TRUE(TIFFReadRGBAImageOriented(tif, recipe.Width, recipe.Height, rgba.data(),
                                          ORIENTATION_TOPLEFT, 1));
    TIFFClose(tif);
    int worst = 0;
    for (uint32_t y = 0; y < recipe.Height; ++y) {
      for (uint32_t x = 0; x < recipe.Width; ++x) {
        const uint32_t p = rgba[y * recipe.Width + x];
        const TColor c = ColorAt(picture, int(x), int(y));
        ASSERT_EQ(c, (TColor{uint8_t(TIFFGetB(p)), uint8_t(TIFFGetG(p)), uint8_t(TIFFGetR(p))}));
        worst = std::max(worst, std::abs(int(c.Red) - int(smooth(x, y, 0))));
      }
    }
    EXPECT_LE(worst, 8) << "JPEG at quality 90 stays close to a smooth picture";
  }
}

// Colour models only libtiff converts go through its RGBA reader a band of
// rows at a time; the bands must land where libtiff's whole-image read puts
// them, partial tiles included.
TEST(AnyTiffDecode, LabInTilesAndStripsMatchesLibtiffsWholeImage) {
  TTempDir dir;
  for (bool tiled : {false, true}) {
    TTiffRecipe recipe = Rgb(COMPRESSION_ADOBE_DEFLATE);
    recipe.Photometric = PHOTOMETRIC_CIELAB;
    recipe.TileWidth = recipe.TileHeight = tiled ? 16 : 0;
    recipe.RowsPerStrip = 6;
    const auto path = dir / "lab.tif";
    test_support::WriteTiffWithLibtiff(path, recipe, RgbSample);
    const TRasterBitmap picture = DecodeAny(test_support::ReadFileBytes(path)).Picture;
    TIFF* tif = TIFFOpen(path.c_str(), "r");
    ASSERT_NE(tif, nullptr);
    std::vector<uint32_t> rgba(size_t(recipe.Width) * recipe.Height);
    ASSERT_TRUE(TIFFReadRGBAImageOriented(tif, recipe.Width, recipe.Height, rgba.data(),
                                          ORIENTATION_TOPLEFT, 1));
    TIFFClose(tif);
    for (uint32_t y = 0; y < recipe.Height; ++y) {
      for (uint32_t x = 0; x < recipe.Width; ++x) {
        const uint32_t p = rgba[y * recipe.Width + x];
        ASSERT_EQ(ColorAt(picture, int(x), int(y)),
                  (TColor{uint8_t(TIFFGetB(p)), uint8_t(TIFFGetG(p)), uint8_t(TIFFGetR(p))}))
            << x << ", " << y << (tiled ? " tiled" : " striped");
      }
    }
  }
}

// Elevation models: each band stretched from its minimum to its maximum over
// valid pixels; NaN, infinities and the nodata value black.
TEST(AnyTiffDecode, Float32WithPredictorAndNodataStretches) {
  TTempDir dir;
  TTiffRecipe recipe;
  recipe.Width = 30;
  recipe.Height = 20;
  recipe.Bits = 32;
  recipe.SampleFormat = SAMPLEFORMAT_IEEEFP;
  recipe.Compression = COMPRESSION_LZW;
  recipe.Predictor = PREDICTOR_FLOATINGPOINT;
  recipe.TileWidth = recipe.TileHeight = 16;
  recipe.NoData = "-9999";
  auto height = [](uint32_t x, uint32_t y, int) -> double {
    if (x == 3 && y == 4) return -9999;
    if (x == 5 && y == 5) return std::numeric_limits<double>::quiet_NaN();
    if (x == 6 && y == 5) return std::numeric_limits<double>::infinity();
    return float(120.25 + 17.5 * std::sin(x * 0.3) + y * 3.125);
  };
  const auto bytes = test_support::WriteTiff(dir, "dem.tif", recipe, height);
  const TRasterBitmap picture = DecodeAny(bytes).Picture;
  ASSERT_EQ(picture.PixelFormat(), TPixelFormat::Bit8);
  std::vector<double> values;
  for (uint32_t y = 0; y < recipe.Height; ++y)
    for (uint32_t x = 0; x < recipe.Width; ++x) values.push_back(float(height(x, y, 0)));
  const std::vector<int> expected = test_support::ExpectedStretch(values, -9999.0);
  for (uint32_t y = 0; y < recipe.Height; ++y)
    for (uint32_t x = 0; x < recipe.Width; ++x)
      ASSERT_EQ(picture.Scanline(int(y))[x], expected[y * recipe.Width + x]) << x << ", " << y;
  EXPECT_EQ(picture.Scanline(4)[3], 0);
  EXPECT_EQ(picture.ColorTable()[128], (TRGBQuad{128, 128, 128, 0}));
  EXPECT_EQ(*std::max_element(expected.begin(), expected.end()), 255);
}

TEST(AnyTiffDecode, Int16WithNodataStretchesInStripsAndTiles) {
  TTempDir dir;
  for (bool tiled : {false, true}) {
    TTiffRecipe recipe;
    recipe.Width = 33;
    recipe.Height = 17;
    recipe.Bits = 16;
    recipe.SampleFormat = SAMPLEFORMAT_INT;
    recipe.Compression = COMPRESSION_ADOBE_DEFLATE;
    recipe.Predictor = PREDICTOR_HORIZONTAL;
    recipe.TileWidth = recipe.TileHeight = tiled ? 16 : 0;
    recipe.RowsPerStrip = 3;
    recipe.NoData = "-32768";
    auto depth = [](uint32_t x, uint32_t y, int) -> double {
      return (x + y) % 11 == 0 ? -32768.0 : double(int(x) * 37 - int(y) * 91 - 200);
    };
    const auto bytes = test_support::WriteTiff(dir, "int16.tif", recipe, depth);
    const TRasterBitmap picture = DecodeAny(bytes).Picture;
    std::vector<double> values;
    for (uint32_t y = 0; y < recipe.Height; ++y)
      for (uint32_t x = 0; x < recipe.Width; ++x) values.push_back(depth(x, y, 0));
    const std::vector<int> expected = test_support::ExpectedStretch(values, -32768.0);
    for (uint32_t y = 0; y < recipe.Height; ++y)
      for (uint32_t x = 0; x < recipe.Width; ++x)
        ASSERT_EQ(picture.Scanline(int(y))[x], expected[y * recipe.Width + x]) << x << ", " << y;
  }
}

TEST(AnyTiffDecode, SignedBandsBeyondTheThirdAreIgnoredAndEachShownBandStretchesAlone) {
  TTempDir dir;
  TTiffRecipe recipe;
  recipe.Width = 10;
  recipe.Height = 10;
  recipe.Bits = 16;
  recipe.Samples = 5;
  recipe.SampleFormat = SAMPLEFORMAT_INT;
  auto band = [](uint32_t x, uint32_t y, int s) {
    return double((int(x) - 5) * (s + 1) * 100 + int(y));
  };
  const auto bytes = test_support::WriteTiff(dir, "bands.tif", recipe, band);
  const TRasterBitmap picture = DecodeAny(bytes).Picture;
  ASSERT_EQ(picture.PixelFormat(), TPixelFormat::Bit24);
  for (int s = 0; s < 3; ++s) {
    std::vector<double> values;
    for (uint32_t y = 0; y < 10; ++y)
      for (uint32_t x = 0; x < 10; ++x) values.push_back(band(x, y, s));
    const std::vector<int> expected = test_support::ExpectedStretch(values, std::nullopt);
    for (uint32_t y = 0; y < 10; ++y) {
      for (uint32_t x = 0; x < 10; ++x) {
        const TColor c = ColorAt(picture, int(x), int(y));
        const int got = s == 0 ? c.Red : s == 1 ? c.Green : c.Blue;
        ASSERT_EQ(got, expected[y * 10 + x]) << "band " << s;
      }
    }
  }
}

TEST(AnyTiffDecode, LowBitDepthsKeepPalettesAndScaleGreys) {
  TTempDir dir;
  {  // 1-bit WhiteIsZero in tiles narrower than a row: 0 shows white
    TTiffRecipe recipe;
    recipe.Width = 37;
    recipe.Height = 19;
    recipe.Bits = 1;
    recipe.Photometric = PHOTOMETRIC_MINISWHITE;
    recipe.TileWidth = recipe.TileHeight = 16;
    auto bit = [](uint32_t x, uint32_t y, int) { return double((x * 3 + y) % 5 == 0); };
    const TRasterBitmap picture =
        DecodeAny(test_support::WriteTiff(dir, "bits.tif", recipe, bit)).Picture;
    ASSERT_EQ(picture.PixelFormat(), TPixelFormat::Bit1);
    for (uint32_t y = 0; y < recipe.Height; ++y)
      for (uint32_t x = 0; x < recipe.Width; ++x)
        ASSERT_EQ(ColorAt(picture, int(x), int(y)).Red, bit(x, y, 0) ? 0 : 255);
  }
  {  // 2-bit palette: indices kept, the map scaled by 257 as the table
    TTiffRecipe recipe;
    recipe.Width = 13;
    recipe.Height = 3;
    recipe.Bits = 2;
    recipe.Photometric = PHOTOMETRIC_PALETTE;
    recipe.ColorMap = {0x1000, 0x2000, 0x3000, 0xFF00, 0x0100, 0x0200,
                       0x0300, 0x0400, 0xAA00, 0xBB00, 0xCC00, 0xDD00};
    auto index = [](uint32_t x, uint32_t y, int) { return double((x + y) % 4); };
    const TRasterBitmap picture =
        DecodeAny(test_support::WriteTiff(dir, "palette.tif", recipe, index)).Picture;
    ASSERT_EQ(picture.PixelFormat(), TPixelFormat::Bit4);
    EXPECT_EQ(picture.ColorTable()[3], (TRGBQuad{0xDD00 / 257, 0x0400 / 257, 0xFF00 / 257, 0}));
    for (uint32_t x = 0; x < recipe.Width; ++x)
      ASSERT_EQ((picture.Scanline(1)[x / 2] >> (x % 2 ? 0 : 4)) & 15, (x + 1) % 4);
  }
  for (uint16_t bits : {2, 4, 12}) {  // greys over the full range of their bits
    TTiffRecipe recipe;
    recipe.Width = 21;
    recipe.Height = 2;
    recipe.Bits = bits;
    const uint32_t top = (1u << bits) - 1;
    auto grey = [&](uint32_t x, uint32_t y, int) { return double((x * 977 + y) % (top + 1)); };
    const TRasterBitmap picture =
        DecodeAny(test_support::WriteTiff(dir, "grey.tif", recipe, grey)).Picture;
    ASSERT_EQ(picture.PixelFormat(), TPixelFormat::Bit8);
    for (uint32_t y = 0; y < 2; ++y)
      for (uint32_t x = 0; x < recipe.Width; ++x)
        ASSERT_EQ(picture.Scanline(int(y))[x],
                  test_support::FullRange(uint64_t(grey(x, y, 0)), bits))
            << bits << " bits";
  }
}

TEST(AnyTiffDecode, CmykInSeparatePlanesBecomesLight) {
  TTempDir dir;
  TTiffRecipe recipe;
  recipe.Width = 9;
  recipe.Height = 4;
  recipe.Samples = 4;
  recipe.Photometric = PHOTOMETRIC_SEPARATED;
  recipe.Planar = PLANARCONFIG_SEPARATE;
  recipe.Compression = COMPRESSION_ADOBE_DEFLATE;
  auto ink = [](uint32_t x, uint32_t y, int s) { return double((x * 31 + y * 17 + s * 50) % 200); };
  const TRasterBitmap picture =
      DecodeAny(test_support::WriteTiff(dir, "cmyk.tif", recipe, ink)).Picture;
  for (uint32_t y = 0; y < recipe.Height; ++y) {
    for (uint32_t x = 0; x < recipe.Width; ++x) {
      // Full intensity less the black ink, then less the colour ink.
      const int light = 255 - int(ink(x, y, 3));
      const TColor expected{uint8_t(light * (255 - int(ink(x, y, 2))) / 255),
                            uint8_t(light * (255 - int(ink(x, y, 1))) / 255),
                            uint8_t(light * (255 - int(ink(x, y, 0))) / 255)};
      ASSERT_EQ(ColorAt(picture, int(x), int(y)), expected);
    }
  }
}

TTiffRecipe GeoRecipe() {
  TTiffRecipe recipe;
  recipe.Width = 64;
  recipe.Height = 48;
  recipe.PixelScale = {30, 30, 0};
  recipe.TiePoints = {0, 0, 0, 500000, 4649776, 0};
  recipe.KeyDirectory = {1, 1, 0, 3, 1024, 0, 1, 1, 1025, 0, 1, 1, 3072, 0, 1, 32618};
  recipe.DoubleParams = {1.5, -2.25};
  recipe.AsciiParams = "WGS 84 / UTM zone 18N|";
  return recipe;
}

// Both readers fill the one record, so the georeference, the report and the
// readouts see no difference.
TEST(AnyTiffDecode, GeoTiffTagsAreWhatOurOwnReaderReads) {
  TTempDir dir;
  const auto bytes = test_support::WriteTiff(dir, "geo.tif", GeoRecipe(),
                                             [](uint32_t x, uint32_t, int) { return x; });
  TRasterBitmap ours;
  TGeoTiffTags expected;
  DecodeTiff(bytes, ours, expected);
  const TGeoTiffTags got = DecodeAny(bytes).Tags;
  EXPECT_EQ(got.PixelScale, expected.PixelScale);
  EXPECT_EQ(got.TiePointCount, expected.TiePointCount);
  EXPECT_EQ(got.TiePoints, expected.TiePoints);
  EXPECT_EQ(got.KeyDirectoryVersion, expected.KeyDirectoryVersion);
  EXPECT_EQ(got.NumberOfKeys, expected.NumberOfKeys);
  EXPECT_EQ(got.KeyEntryCount, expected.KeyEntryCount);
  EXPECT_EQ(got.Keys, expected.Keys);
  EXPECT_EQ(got.DoubleCount, expected.DoubleCount);
  EXPECT_EQ(got.DoubleParams, expected.DoubleParams);
  EXPECT_EQ(got.AsciiParams, expected.AsciiParams);
  EXPECT_EQ(got.TiePoints[0].X, 500000);
}

TEST(AnyTiffDecode, OverviewOpensWhenTheFullPictureExceedsTheCap) {
  TTempDir dir;
  TTiffRecipe recipe = GeoRecipe();
  recipe.Samples = 3;
  recipe.Photometric = PHOTOMETRIC_RGB;
  recipe.TileWidth = recipe.TileHeight = 16;
  recipe.Compression = COMPRESSION_ADOBE_DEFLATE;
  recipe.Overviews = {{32, 24}, {16, 12}};
  const auto bytes = test_support::WriteTiff(dir, "cog.tif", recipe, RgbSample);
  ASSERT_EQ(DecodeAny(bytes).Result.OverviewLevel, 0);

  // 64 x 48 x 3 bytes do not fit 3000; 32 x 24 x 3 do.
  const test_support::TAnyDecoded half = DecodeAny(bytes, 3000);
  EXPECT_EQ(half.Result.OverviewLevel, 1);
  EXPECT_EQ(half.Result.Factor, 2.0);
  EXPECT_EQ(half.Result.FullWidth, 64);
  ASSERT_EQ(half.Picture.Width(), 32);
  for (uint32_t y = 0; y < 24; ++y)
    for (uint32_t x = 0; x < 32; ++x)
      ASSERT_EQ(ColorAt(half.Picture, int(x), int(y)).Red, uint8_t(RgbSample(x * 2, y * 2, 0)));
  EXPECT_EQ(half.Tags.PixelScale[0], 60);
  EXPECT_EQ(half.Tags.PixelScale[1], 60);
  EXPECT_EQ(half.Tags.TiePoints[0], (TTiePoint{0, 0, 0, 500000, 4649776, 0}));

  const test_support::TAnyDecoded quarter = DecodeAny(bytes, 1000);
  EXPECT_EQ(quarter.Result.OverviewLevel, 2);
  EXPECT_EQ(quarter.Result.Factor, 4.0);
  EXPECT_EQ(quarter.Picture.Height(), 12);

  EXPECT_EQ(test_support::AnyMessage(bytes, 500),
            "Picture too large: 64 x 48 pixels at 24 bits per pixel need 9216 bytes, more than "
            "the memory cap of 500 bytes");
}

TEST(AnyTiffDecode, HeaderAloneTellsSizeFormatLevelAndTags) {
  TTempDir dir;
  TTiffRecipe recipe = GeoRecipe();
  recipe.Overviews = {{32, 24}};
  recipe.Bits = 32;
  recipe.SampleFormat = SAMPLEFORMAT_IEEEFP;
  const auto bytes = test_support::WriteTiff(
      dir, "header.tif", recipe, [](uint32_t x, uint32_t y, int) { return x * 0.5 - y; });
  TMemoryTiffSource source(bytes);
  TGeoTiffTags tags;
  TAnyTiffOptions options;
  options.MaxPictureBytes = 2000;
  const TAnyTiffResult header = ReadAnyTiffHeader(source, tags, options);
  EXPECT_EQ(header.OverviewLevel, 1);
  EXPECT_EQ(header.Width, 32);
  EXPECT_EQ(header.Height, 24);
  EXPECT_EQ(header.FullHeight, 48);
  EXPECT_EQ(header.PixelFormat, TPixelFormat::Bit8);
  EXPECT_EQ(tags.PixelScale[0], 60);
  const test_support::TAnyDecoded decoded = DecodeAny(bytes, 2000);
  EXPECT_EQ(decoded.Result.Width, header.Width);
  EXPECT_EQ(decoded.Tags.PixelScale, tags.PixelScale);
}

// With the request off the program reads as it always did: the files above
// get today's refusals, and the ones our reader would misread are flagged.
TEST(AnyTiffDecode, OurOwnReaderStillRefusesOrIsSteeredAway) {
  TTempDir dir;
  auto own_message = [](const std::vector<uint8_t>& bytes) -> std::string {
    TRasterBitmap picture;
    TGeoTiffTags tags;
    try {
      DecodeTiff(bytes, picture, tags);
    } catch (const EQuorvaneError& e) {
      return e.what();
    }
    return "";
  };
  TTiffRecipe tiled = Rgb(COMPRESSION_NONE);
  tiled.TileWidth = tiled.TileHeight = 16;
  EXPECT_EQ(own_message(test_support::WriteTiff(dir, "a.tif", tiled, RgbSample)),
            "Unsupported Tiled TIF File");
  EXPECT_EQ(
      own_message(test_support::WriteTiff(dir, "b.tif", Rgb(COMPRESSION_ADOBE_DEFLATE), RgbSample)),
      "Unsupported Compression = 8");
  TTiffRecipe rgb16 = Rgb(COMPRESSION_NONE);
  rgb16.Bits = 16;
  EXPECT_EQ(own_message(test_support::WriteTiff(dir, "c.tif", rgb16, RgbSample)),
            "Unsupported Bits/Pixel: 48");
  TTiffRecipe big = Rgb(COMPRESSION_NONE);
  big.BigTiff = true;
  const auto big_bytes = test_support::WriteTiff(dir, "d.tif", big, RgbSample);
  EXPECT_EQ(own_message(big_bytes), "Invalid TIF File");
  EXPECT_TRUE(WantsExtendedReader(big_bytes));

  for (uint16_t format : {SAMPLEFORMAT_INT, SAMPLEFORMAT_IEEEFP, SAMPLEFORMAT_UINT}) {
    TTiffRecipe dem;
    dem.Bits = format == SAMPLEFORMAT_IEEEFP ? 32 : 16;
    dem.SampleFormat = format;
    const auto bytes =
        test_support::WriteTiff(dir, "e.tif", dem, [](uint32_t x, uint32_t, int) { return x; });
    EXPECT_EQ(own_message(bytes), "") << "our reader takes it by its bit depth";
    // Samples over 8 bits are measurements, shown through the display stretch.
    EXPECT_TRUE(WantsExtendedReader(bytes));
  }
}

}  // namespace
}  // namespace quorvane
