// Files written by libtiff in the test, in the layouts and sample types real
// GeoTIFFs use, decode to the pixels their samples call for.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "any_tiff_test_support.h"
#include "geo/geo_reference.h"
#include "tiff/tiff_reader.h"

namespace quorvane {
namespace {

using testing::ColorAt;
using testing::DecodeAny;
using testing::TColor;
using testing::TTempDir;
using testing::TTiffSpec;

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

TTiffSpec Rgb(uint16_t compression) {
  TTiffSpec spec;
  spec.Width = 37;
  spec.Height = 23;
  spec.Samples = 3;
  spec.Photometric = PHOTOMETRIC_RGB;
  spec.Compression = compression;
  return spec;
}

TEST(AnyTiffDecode, RgbInStripsAndTilesWithEveryCommonCompression) {
  TTempDir dir;
  for (uint16_t compression : {COMPRESSION_NONE, COMPRESSION_LZW, COMPRESSION_ADOBE_DEFLATE,
                               COMPRESSION_PACKBITS, COMPRESSION_ZSTD}) {
    for (bool tiled : {false, true}) {
      TTiffSpec spec = Rgb(compression);
      if (tiled) {
        spec.TileWidth = spec.TileHeight = 16;  // partial tiles at the right and bottom
      } else {
        spec.RowsPerStrip = 5;
      }
      SCOPED_TRACE(std::to_string(compression) + (tiled ? " tiled" : " striped"));
      const auto bytes = testing::WriteTiff(dir, "rgb.tif", spec, RgbSample);
      ExpectRgbPicture(DecodeAny(bytes).Picture, spec.Width, spec.Height);
    }
  }
}

TEST(AnyTiffDecode, SeparatePlanesGiveTheSamePixelsAsChunkyOnes) {
  TTempDir dir;
  for (bool tiled : {false, true}) {
    TTiffSpec spec = Rgb(COMPRESSION_LZW);
    spec.Planar = PLANARCONFIG_SEPARATE;
    spec.Samples = 4;  // a fourth band that is never shown
    spec.Photometric = PHOTOMETRIC_RGB;
    spec.ExtraSamples = 1;
    spec.TileWidth = spec.TileHeight = tiled ? 16 : 0;
    spec.RowsPerStrip = 7;
    const auto bytes = testing::WriteTiff(dir, "planar.tif", spec, RgbSample);
    ExpectRgbPicture(DecodeAny(bytes).Picture, spec.Width, spec.Height);
  }
}

TEST(AnyTiffDecode, BigTiffInBothByteOrders) {
  TTempDir dir;
  for (bool big_endian : {false, true}) {
    TTiffSpec spec;
    spec.Width = 40;
    spec.Height = 9;
    spec.BigTiff = true;
    spec.BigEndian = big_endian;
    spec.Compression = COMPRESSION_ADOBE_DEFLATE;
    spec.RowsPerStrip = 4;
    const auto bytes = testing::WriteTiff(dir, "big.tif", spec,
                                          [](uint32_t x, uint32_t y, int) { return x * 6 + y; });
    const TRasterBitmap picture = DecodeAny(bytes).Picture;
    ASSERT_EQ(picture.PixelFormat(), TPixelFormat::Bit8);
    for (uint32_t y = 0; y < spec.Height; ++y)
      for (uint32_t x = 0; x < spec.Width; ++x) ASSERT_EQ(picture.Scanline(int(y))[x], x * 6 + y);
    EXPECT_EQ(picture.ColorTable()[200], (TRGBQuad{200, 200, 200, 0})) << "a grey ramp";
  }
}

TEST(AnyTiffDecode, SixteenBitRgbScalesOverTheFullRange) {
  TTempDir dir;
  TTiffSpec spec = Rgb(COMPRESSION_ADOBE_DEFLATE);
  spec.Bits = 16;
  spec.Samples = 4;
  spec.ExtraSamples = 1;
  spec.BigEndian = true;  // libtiff hands the samples over in host order all the same
  auto sample = [](uint32_t x, uint32_t y, int s) {
    return double((x * 1777 + y * 2903 + uint32_t(s) * 12345) % 65536);
  };
  const auto bytes = testing::WriteTiff(dir, "rgb16.tif", spec, sample);
  const TRasterBitmap picture = DecodeAny(bytes).Picture;
  ASSERT_EQ(picture.PixelFormat(), TPixelFormat::Bit24);
  for (uint32_t y = 0; y < spec.Height; ++y) {
    for (uint32_t x = 0; x < spec.Width; ++x) {
      const TColor c = ColorAt(picture, int(x), int(y));
      ASSERT_EQ(c.Red, testing::FullRange(uint64_t(sample(x, y, 0)), 16));
      ASSERT_EQ(c.Green, testing::FullRange(uint64_t(sample(x, y, 1)), 16));
      ASSERT_EQ(c.Blue, testing::FullRange(uint64_t(sample(x, y, 2)), 16));
    }
  }
}

// libjpeg turns YCbCr into RGB; the result is what libtiff's own RGBA reader
// gives for the same file, and close to what was written.
TEST(AnyTiffDecode, JpegYcbcrTilesAndStripsMatchLibtiffsRgbaReader) {
  TTempDir dir;
  for (bool tiled : {false, true}) {
    TTiffSpec spec = Rgb(COMPRESSION_JPEG);
    spec.Width = 48;
    spec.Height = 40;
    spec.Photometric = PHOTOMETRIC_YCBCR;
    spec.TileWidth = spec.TileHeight = tiled ? 16 : 0;
    spec.RowsPerStrip = 16;
    auto smooth = [](uint32_t x, uint32_t y, int s) { return double(40 + x * 2 + y * s); };
    const auto path = dir / "jpeg.tif";
    testing::WriteTiffWithLibtiff(path, spec, smooth);
    const TRasterBitmap picture = DecodeAny(testing::ReadFileBytes(path)).Picture;

    TIFF* tif = TIFFOpen(path.c_str(), "r");
    ASSERT_NE(tif, nullptr);
    std::vector<uint32_t> rgba(size_t(spec.Width) * spec.Height);
    ASSERT_TRUE(TIFFReadRGBAImageOriented(tif, spec.Width, spec.Height, rgba.data(),
                                          ORIENTATION_TOPLEFT, 1));
    TIFFClose(tif);
    int worst = 0;
    for (uint32_t y = 0; y < spec.Height; ++y) {
      for (uint32_t x = 0; x < spec.Width; ++x) {
        const uint32_t p = rgba[y * spec.Width + x];
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
    TTiffSpec spec = Rgb(COMPRESSION_ADOBE_DEFLATE);
    spec.Photometric = PHOTOMETRIC_CIELAB;
    spec.TileWidth = spec.TileHeight = tiled ? 16 : 0;
    spec.RowsPerStrip = 6;
    const auto path = dir / "lab.tif";
    testing::WriteTiffWithLibtiff(path, spec, RgbSample);
    const TRasterBitmap picture = DecodeAny(testing::ReadFileBytes(path)).Picture;
    TIFF* tif = TIFFOpen(path.c_str(), "r");
    ASSERT_NE(tif, nullptr);
    std::vector<uint32_t> rgba(size_t(spec.Width) * spec.Height);
    ASSERT_TRUE(TIFFReadRGBAImageOriented(tif, spec.Width, spec.Height, rgba.data(),
                                          ORIENTATION_TOPLEFT, 1));
    TIFFClose(tif);
    for (uint32_t y = 0; y < spec.Height; ++y) {
      for (uint32_t x = 0; x < spec.Width; ++x) {
        const uint32_t p = rgba[y * spec.Width + x];
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
  TTiffSpec spec;
  spec.Width = 30;
  spec.Height = 20;
  spec.Bits = 32;
  spec.SampleFormat = SAMPLEFORMAT_IEEEFP;
  spec.Compression = COMPRESSION_LZW;
  spec.Predictor = PREDICTOR_FLOATINGPOINT;
  spec.TileWidth = spec.TileHeight = 16;
  spec.NoData = "-9999";
  auto height = [](uint32_t x, uint32_t y, int) -> double {
    if (x == 3 && y == 4) return -9999;
    if (x == 5 && y == 5) return std::numeric_limits<double>::quiet_NaN();
    if (x == 6 && y == 5) return std::numeric_limits<double>::infinity();
    return float(120.25 + 17.5 * std::sin(x * 0.3) + y * 3.125);
  };
  const auto bytes = testing::WriteTiff(dir, "dem.tif", spec, height);
  const TRasterBitmap picture = DecodeAny(bytes).Picture;
  ASSERT_EQ(picture.PixelFormat(), TPixelFormat::Bit8);
  std::vector<double> values;
  for (uint32_t y = 0; y < spec.Height; ++y)
    for (uint32_t x = 0; x < spec.Width; ++x) values.push_back(float(height(x, y, 0)));
  const std::vector<int> expected = testing::ExpectedStretch(values, -9999.0);
  for (uint32_t y = 0; y < spec.Height; ++y)
    for (uint32_t x = 0; x < spec.Width; ++x)
      ASSERT_EQ(picture.Scanline(int(y))[x], expected[y * spec.Width + x]) << x << ", " << y;
  EXPECT_EQ(picture.Scanline(4)[3], 0);
  EXPECT_EQ(picture.ColorTable()[128], (TRGBQuad{128, 128, 128, 0}));
  EXPECT_EQ(*std::max_element(expected.begin(), expected.end()), 255);
}

TEST(AnyTiffDecode, Int16WithNodataStretchesInStripsAndTiles) {
  TTempDir dir;
  for (bool tiled : {false, true}) {
    TTiffSpec spec;
    spec.Width = 33;
    spec.Height = 17;
    spec.Bits = 16;
    spec.SampleFormat = SAMPLEFORMAT_INT;
    spec.Compression = COMPRESSION_ADOBE_DEFLATE;
    spec.Predictor = PREDICTOR_HORIZONTAL;
    spec.TileWidth = spec.TileHeight = tiled ? 16 : 0;
    spec.RowsPerStrip = 3;
    spec.NoData = "-32768";
    auto depth = [](uint32_t x, uint32_t y, int) -> double {
      return (x + y) % 11 == 0 ? -32768.0 : double(int(x) * 37 - int(y) * 91 - 200);
    };
    const auto bytes = testing::WriteTiff(dir, "int16.tif", spec, depth);
    const TRasterBitmap picture = DecodeAny(bytes).Picture;
    std::vector<double> values;
    for (uint32_t y = 0; y < spec.Height; ++y)
      for (uint32_t x = 0; x < spec.Width; ++x) values.push_back(depth(x, y, 0));
    const std::vector<int> expected = testing::ExpectedStretch(values, -32768.0);
    for (uint32_t y = 0; y < spec.Height; ++y)
      for (uint32_t x = 0; x < spec.Width; ++x)
        ASSERT_EQ(picture.Scanline(int(y))[x], expected[y * spec.Width + x]) << x << ", " << y;
  }
}

TEST(AnyTiffDecode, SignedBandsBeyondTheThirdAreIgnoredAndEachShownBandStretchesAlone) {
  TTempDir dir;
  TTiffSpec spec;
  spec.Width = 10;
  spec.Height = 10;
  spec.Bits = 16;
  spec.Samples = 5;
  spec.SampleFormat = SAMPLEFORMAT_INT;
  auto band = [](uint32_t x, uint32_t y, int s) {
    return double((int(x) - 5) * (s + 1) * 100 + int(y));
  };
  const auto bytes = testing::WriteTiff(dir, "bands.tif", spec, band);
  const TRasterBitmap picture = DecodeAny(bytes).Picture;
  ASSERT_EQ(picture.PixelFormat(), TPixelFormat::Bit24);
  for (int s = 0; s < 3; ++s) {
    std::vector<double> values;
    for (uint32_t y = 0; y < 10; ++y)
      for (uint32_t x = 0; x < 10; ++x) values.push_back(band(x, y, s));
    const std::vector<int> expected = testing::ExpectedStretch(values, std::nullopt);
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
    TTiffSpec spec;
    spec.Width = 37;
    spec.Height = 19;
    spec.Bits = 1;
    spec.Photometric = PHOTOMETRIC_MINISWHITE;
    spec.TileWidth = spec.TileHeight = 16;
    auto bit = [](uint32_t x, uint32_t y, int) { return double((x * 3 + y) % 5 == 0); };
    const TRasterBitmap picture = DecodeAny(testing::WriteTiff(dir, "bits.tif", spec, bit)).Picture;
    ASSERT_EQ(picture.PixelFormat(), TPixelFormat::Bit1);
    for (uint32_t y = 0; y < spec.Height; ++y)
      for (uint32_t x = 0; x < spec.Width; ++x)
        ASSERT_EQ(ColorAt(picture, int(x), int(y)).Red, bit(x, y, 0) ? 0 : 255);
  }
  {  // 2-bit palette: indices kept, the map scaled by 257 as the table
    TTiffSpec spec;
    spec.Width = 13;
    spec.Height = 3;
    spec.Bits = 2;
    spec.Photometric = PHOTOMETRIC_PALETTE;
    spec.ColorMap = {0x1000, 0x2000, 0x3000, 0xFF00, 0x0100, 0x0200,
                     0x0300, 0x0400, 0xAA00, 0xBB00, 0xCC00, 0xDD00};
    auto index = [](uint32_t x, uint32_t y, int) { return double((x + y) % 4); };
    const TRasterBitmap picture =
        DecodeAny(testing::WriteTiff(dir, "palette.tif", spec, index)).Picture;
    ASSERT_EQ(picture.PixelFormat(), TPixelFormat::Bit4);
    EXPECT_EQ(picture.ColorTable()[3], (TRGBQuad{0xDD00 / 257, 0x0400 / 257, 0xFF00 / 257, 0}));
    for (uint32_t x = 0; x < spec.Width; ++x)
      ASSERT_EQ((picture.Scanline(1)[x / 2] >> (x % 2 ? 0 : 4)) & 15, (x + 1) % 4);
  }
  for (uint16_t bits : {2, 4, 12}) {  // greys over the full range of their bits
    TTiffSpec spec;
    spec.Width = 21;
    spec.Height = 2;
    spec.Bits = bits;
    const uint32_t top = (1u << bits) - 1;
    auto grey = [&](uint32_t x, uint32_t y, int) { return double((x * 977 + y) % (top + 1)); };
    const TRasterBitmap picture =
        DecodeAny(testing::WriteTiff(dir, "grey.tif", spec, grey)).Picture;
    ASSERT_EQ(picture.PixelFormat(), TPixelFormat::Bit8);
    for (uint32_t y = 0; y < 2; ++y)
      for (uint32_t x = 0; x < spec.Width; ++x)
        ASSERT_EQ(picture.Scanline(int(y))[x], testing::FullRange(uint64_t(grey(x, y, 0)), bits))
            << bits << " bits";
  }
}

TEST(AnyTiffDecode, CmykInSeparatePlanesBecomesLight) {
  TTempDir dir;
  TTiffSpec spec;
  spec.Width = 9;
  spec.Height = 4;
  spec.Samples = 4;
  spec.Photometric = PHOTOMETRIC_SEPARATED;
  spec.Planar = PLANARCONFIG_SEPARATE;
  spec.Compression = COMPRESSION_ADOBE_DEFLATE;
  auto ink = [](uint32_t x, uint32_t y, int s) { return double((x * 31 + y * 17 + s * 50) % 200); };
  const TRasterBitmap picture = DecodeAny(testing::WriteTiff(dir, "cmyk.tif", spec, ink)).Picture;
  for (uint32_t y = 0; y < spec.Height; ++y) {
    for (uint32_t x = 0; x < spec.Width; ++x) {
      // Full intensity less the black ink, then less the colour ink.
      const int light = 255 - int(ink(x, y, 3));
      const TColor expected{uint8_t(light * (255 - int(ink(x, y, 2))) / 255),
                            uint8_t(light * (255 - int(ink(x, y, 1))) / 255),
                            uint8_t(light * (255 - int(ink(x, y, 0))) / 255)};
      ASSERT_EQ(ColorAt(picture, int(x), int(y)), expected);
    }
  }
}

TTiffSpec GeoSpec() {
  TTiffSpec spec;
  spec.Width = 64;
  spec.Height = 48;
  spec.PixelScale = {30, 30, 0};
  spec.TiePoints = {0, 0, 0, 500000, 4649776, 0};
  spec.KeyDirectory = {1, 1, 0, 3, 1024, 0, 1, 1, 1025, 0, 1, 1, 3072, 0, 1, 32618};
  spec.DoubleParams = {1.5, -2.25};
  spec.AsciiParams = "WGS 84 / UTM zone 18N|";
  return spec;
}

// Both readers fill the one record, so the georeference, the report and the
// readouts see no difference.
TEST(AnyTiffDecode, GeoTiffTagsAreWhatOurOwnReaderReads) {
  TTempDir dir;
  const auto bytes =
      testing::WriteTiff(dir, "geo.tif", GeoSpec(), [](uint32_t x, uint32_t, int) { return x; });
  TByteStream stream(bytes);
  TRasterBitmap ours;
  TGeoTiffTags expected;
  ReadTiff(stream, ours, expected);
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
  TGeoReference reference;
  GeoTiffToGeoReference(got, reference);
  EXPECT_EQ(reference.BaseX, 500000);
  EXPECT_EQ(reference.Zone, 18);
}

TEST(AnyTiffDecode, OverviewOpensWhenTheFullPictureExceedsTheCap) {
  TTempDir dir;
  TTiffSpec spec = GeoSpec();
  spec.Samples = 3;
  spec.Photometric = PHOTOMETRIC_RGB;
  spec.TileWidth = spec.TileHeight = 16;
  spec.Compression = COMPRESSION_ADOBE_DEFLATE;
  spec.Overviews = {{32, 24}, {16, 12}};
  const auto bytes = testing::WriteTiff(dir, "cog.tif", spec, RgbSample);
  ASSERT_EQ(DecodeAny(bytes).Result.OverviewLevel, 0);

  // 64 x 48 x 3 bytes do not fit 3000; 32 x 24 x 3 do.
  const testing::TAnyDecoded half = DecodeAny(bytes, 3000);
  EXPECT_EQ(half.Result.OverviewLevel, 1);
  EXPECT_EQ(half.Result.Factor, 2.0);
  EXPECT_EQ(half.Result.FullWidth, 64);
  ASSERT_EQ(half.Picture.Width(), 32);
  for (uint32_t y = 0; y < 24; ++y)
    for (uint32_t x = 0; x < 32; ++x)
      ASSERT_EQ(ColorAt(half.Picture, int(x), int(y)).Red, uint8_t(RgbSample(x * 2, y * 2, 0)));
  TGeoReference reference;
  GeoTiffToGeoReference(half.Tags, reference);
  EXPECT_EQ(reference.ScaleX, 60);
  EXPECT_EQ(reference.ScaleY, 60);
  EXPECT_EQ(reference.BaseX, 500000);
  EXPECT_EQ(reference.BaseY, 4649776);

  const testing::TAnyDecoded quarter = DecodeAny(bytes, 1000);
  EXPECT_EQ(quarter.Result.OverviewLevel, 2);
  EXPECT_EQ(quarter.Result.Factor, 4.0);
  EXPECT_EQ(quarter.Picture.Height(), 12);

  EXPECT_EQ(testing::AnyMessage(bytes, 500),
            "Picture Too Large: 64 x 48 pixels at 24 bits need 9.0 KB, more than the memory "
            "limit of 500 bytes");
}

TEST(AnyTiffDecode, HeaderAloneTellsSizeFormatLevelAndTags) {
  TTempDir dir;
  TTiffSpec spec = GeoSpec();
  spec.Overviews = {{32, 24}};
  spec.Bits = 32;
  spec.SampleFormat = SAMPLEFORMAT_IEEEFP;
  const auto bytes = testing::WriteTiff(dir, "header.tif", spec,
                                        [](uint32_t x, uint32_t y, int) { return x * 0.5 - y; });
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
  const testing::TAnyDecoded decoded = DecodeAny(bytes, 2000);
  EXPECT_EQ(decoded.Result.Width, header.Width);
  EXPECT_EQ(decoded.Tags.PixelScale, tags.PixelScale);
}

// With the request off the program reads as it always did: the files above
// get today's refusals, and the ones our reader would misread are flagged.
TEST(AnyTiffDecode, OurOwnReaderStillRefusesOrIsSteeredAway) {
  TTempDir dir;
  auto own_message = [](const std::vector<uint8_t>& bytes) -> std::string {
    TByteStream stream(bytes);
    TRasterBitmap picture;
    TGeoTiffTags tags;
    try {
      ReadTiff(stream, picture, tags);
    } catch (const EQuorvaneError& e) {
      return e.what();
    }
    return "";
  };
  TTiffSpec tiled = Rgb(COMPRESSION_NONE);
  tiled.TileWidth = tiled.TileHeight = 16;
  EXPECT_EQ(own_message(testing::WriteTiff(dir, "a.tif", tiled, RgbSample)),
            "Unsupported Tiled TIF File");
  EXPECT_EQ(
      own_message(testing::WriteTiff(dir, "b.tif", Rgb(COMPRESSION_ADOBE_DEFLATE), RgbSample)),
      "Unsupported Compression = 8");
  TTiffSpec rgb16 = Rgb(COMPRESSION_NONE);
  rgb16.Bits = 16;
  EXPECT_EQ(own_message(testing::WriteTiff(dir, "c.tif", rgb16, RgbSample)),
            "Unsupported Bits/Pixel: 48");
  TTiffSpec big = Rgb(COMPRESSION_NONE);
  big.BigTiff = true;
  const auto big_bytes = testing::WriteTiff(dir, "d.tif", big, RgbSample);
  EXPECT_EQ(own_message(big_bytes), "Invalid TIF File");
  EXPECT_TRUE(WantsExtendedReader(big_bytes));

  for (uint16_t format : {SAMPLEFORMAT_INT, SAMPLEFORMAT_IEEEFP, SAMPLEFORMAT_UINT}) {
    TTiffSpec dem;
    dem.Bits = format == SAMPLEFORMAT_IEEEFP ? 32 : 16;
    dem.SampleFormat = format;
    const auto bytes =
        testing::WriteTiff(dir, "e.tif", dem, [](uint32_t x, uint32_t, int) { return x; });
    EXPECT_EQ(own_message(bytes), "") << "our reader takes it by its bit depth";
    EXPECT_EQ(WantsExtendedReader(bytes), format != SAMPLEFORMAT_UINT);
  }
}

}  // namespace
}  // namespace quorvane
