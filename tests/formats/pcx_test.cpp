#include "formats/pcx.h"
#include "raster/byte_stream.h"

#include <gtest/gtest.h>

#include <vector>

#include "formats/sample_files.h"
#include "raster/error.h"
#include "support/decode_limits.h"

namespace quorvane {
namespace {

using samples::Append;
using samples::Bytes;
using samples::PcxHeader;
using samples::PcxLiteral;
using samples::TPcxFields;

TRasterBitmap Read(const Bytes& file) {
  TByteStream stream(file);
  TRasterBitmap bitmap;
  DecodePcx(stream.Bytes(), bitmap);
  return bitmap;
}

TTriple PixelAt(const TRasterBitmap& b, int x, int y) {
  const uint8_t* p = b.Scanline(y) + x * 3;
  return {p[0], p[1], p[2]};
}

TPcxFields Fields(uint8_t planes, uint8_t bits, int width, int height, int bytes_per_line) {
  TPcxFields f;
  f.Planes = planes;
  f.Bits = bits;
  f.Xmax = uint16_t(width - 1);
  f.Ymax = uint16_t(height - 1);
  f.BytesPerLine = uint16_t(bytes_per_line);
  for (int i = 0; i < 16; ++i) {  // header colour i = (16 i, 255 - i, 3 i)
    f.Palette[i * 3] = uint8_t(i * 16);
    f.Palette[i * 3 + 1] = uint8_t(255 - i);
    f.Palette[i * 3 + 2] = uint8_t(i * 3);
  }
  return f;
}
TTriple HeaderColour(int i) {
  return MakeTriple(uint8_t(i * 16), uint8_t(255 - i), uint8_t(i * 3));
}

Bytes ExtendedPalette() {  // entry i = (i, 255 - i, i / 2)
  Bytes b{12};
  for (int i = 0; i < 256; ++i) Append(b, {uint8_t(i), uint8_t(255 - i), uint8_t(i / 2)});
  return b;
}

TEST(PcxRead, IndexedPictureTakesItsColoursFromTheExtendedPalette) {
  Bytes file = PcxHeader(Fields(1, 8, 3, 2, 4));
  Append(file, PcxLiteral({1, 2, 200, 9, 255, 0, 7, 9}));
  const Bytes body_only = file;
  Append(file, ExtendedPalette());
  const TRasterBitmap b = Read(file);
  ASSERT_EQ(b.PixelFormat(), TPixelFormat::Bit24);
  ASSERT_EQ(b.Width(), 3);
  ASSERT_EQ(b.Height(), 2);
  EXPECT_EQ(PixelAt(b, 0, 0), MakeTriple(1, 254, 0));
  EXPECT_EQ(PixelAt(b, 2, 0), MakeTriple(200, 55, 100));
  EXPECT_EQ(PixelAt(b, 0, 1), MakeTriple(255, 0, 127));
  EXPECT_EQ(PixelAt(b, 2, 1), MakeTriple(7, 248, 3));

  // Without the byte 12 after the body the indices read as grey levels.
  const TRasterBitmap grey = Read(body_only);
  EXPECT_EQ(PixelAt(grey, 2, 0), (TTriple{200, 200, 200}));
  EXPECT_EQ(PixelAt(grey, 1, 1), (TTriple{0, 0, 0}));
}

TEST(PcxRead, EachPlaneAndDepthKindMapsToItsColours) {
  {  // 1 plane of 1 bit: header colours 0 and 1
    Bytes f = PcxHeader(Fields(1, 1, 10, 1, 2));
    Append(f, PcxLiteral({0b10100000, 0b01000000}));
    const TRasterBitmap b = Read(f);
    EXPECT_EQ(PixelAt(b, 0, 0), HeaderColour(1));
    EXPECT_EQ(PixelAt(b, 1, 0), HeaderColour(0));
    EXPECT_EQ(PixelAt(b, 2, 0), HeaderColour(1));
    EXPECT_EQ(PixelAt(b, 9, 0), HeaderColour(1));
  }
  {  // 1 plane of 2 bits: leftmost pixel in the top two bits
    Bytes f = PcxHeader(Fields(1, 2, 5, 1, 2));
    Append(f, PcxLiteral({0b00011011, 0b10000000}));
    const TRasterBitmap b = Read(f);
    for (int x = 0; x < 4; ++x) EXPECT_EQ(PixelAt(b, x, 0), HeaderColour(x)) << x;
    EXPECT_EQ(PixelAt(b, 4, 0), HeaderColour(2));
  }
  {  // 3 planes of 1 bit: plane 2 is the most significant
    Bytes f = PcxHeader(Fields(3, 1, 2, 1, 2));
    Append(f, PcxLiteral({0x80, 0, 0x40, 0, 0xC0, 0}));
    const TRasterBitmap b = Read(f);
    EXPECT_EQ(PixelAt(b, 0, 0), HeaderColour(5));
    EXPECT_EQ(PixelAt(b, 1, 0), HeaderColour(6));
  }
  {  // 4 planes of 1 bit, a 1 x 1 picture holding index 3
    Bytes f = PcxHeader(Fields(4, 1, 1, 1, 2));
    Append(f, PcxLiteral({0x80, 0, 0x80, 0, 0, 0, 0, 0}));
    EXPECT_EQ(PixelAt(Read(f), 0, 0), HeaderColour(3));
  }
  {  // 3 planes of 8 bits: red, green, blue
    Bytes f = PcxHeader(Fields(3, 8, 2, 1, 2));
    Append(f, PcxLiteral({10, 11, 20, 21, 230, 231}));
    const TRasterBitmap b = Read(f);
    EXPECT_EQ(PixelAt(b, 0, 0), MakeTriple(10, 20, 230));
    EXPECT_EQ(PixelAt(b, 1, 0), MakeTriple(11, 21, 231));
  }
}

TEST(PcxRead, TwoColourPictureWithoutAHeaderPaletteIsBlackAndWhite) {
  TPcxFields f = Fields(1, 1, 2, 1, 2);
  f.Palette.fill(0);
  Bytes file = PcxHeader(f);
  Append(file, PcxLiteral({0x40, 0}));
  const TRasterBitmap b = Read(file);
  EXPECT_EQ(PixelAt(b, 0, 0), MakeTriple(0, 0, 0));
  EXPECT_EQ(PixelAt(b, 1, 0), MakeTriple(255, 255, 255));
}

TEST(PcxRead, SizeComesFromTheWindowAndResolutionFromTheDpi) {
  TPcxFields f = Fields(1, 8, 1, 1, 10);
  f.Xmin = 10;
  f.Xmax = 19;
  f.Ymin = 3;
  f.Ymax = 3;
  f.HDpi = 300;
  f.VDpi = 72;
  Bytes file = PcxHeader(f);
  Append(file, {0xCA, 0x33});
  const TRasterBitmap b = Read(file);
  EXPECT_EQ(b.Width(), 10);
  EXPECT_EQ(b.Height(), 1);
  EXPECT_EQ(b.XPelsPerMeter(), 11811);
  EXPECT_EQ(b.YPelsPerMeter(), 2835);

  // The US survey foot: 300 x 39.37 = 11811 too, 72 x 39.37 = 2834.64.
  TByteStream stream(file);
  TRasterBitmap survey;
  DecodePcx(stream.Bytes(), survey, {}, 39.37);
  EXPECT_EQ(survey.YPelsPerMeter(), 2835);
}

TEST(PcxRead, RunPassingTheEndOfTheScanLinesIsCutThere) {
  // Two lines of 3 bytes; the last run asks for 5 copies where 2 fit, and the
  // palette mark must follow directly.
  Bytes file = PcxHeader(Fields(1, 8, 3, 2, 3));
  Append(file, {4, 5, 6, 7, 0xC5, 9});
  Append(file, ExtendedPalette());
  const TRasterBitmap b = Read(file);
  EXPECT_EQ(PixelAt(b, 1, 1), MakeTriple(9, 246, 4));
  EXPECT_EQ(PixelAt(b, 2, 1), MakeTriple(9, 246, 4));
}

TEST(PcxRead, BodyEndingEarlyKeepsWhatWasDecoded) {
  Bytes file = PcxHeader(Fields(1, 8, 2, 3, 2));
  Append(file, {50, 60});
  const TRasterBitmap b = Read(file);
  ASSERT_EQ(b.Height(), 3);
  EXPECT_EQ(PixelAt(b, 1, 0), (TTriple{60, 60, 60}));
  EXPECT_EQ(PixelAt(b, 1, 2), (TTriple{0, 0, 0}));
}

TEST(PcxRead, BytesPerLineShorterThanTheRowReadsNothingBeyondItsPlane) {
  // 8 pixels of 8 bits need 8 bytes a line; the header claims 2. The pixels
  // beyond the plane are index 0; nothing is read from the next line.
  Bytes file = PcxHeader(Fields(1, 8, 8, 2, 2));
  Append(file, {1, 2, 3, 4});
  const TRasterBitmap b = Read(file);
  EXPECT_EQ(PixelAt(b, 1, 0), (TTriple{2, 2, 2}));
  EXPECT_EQ(PixelAt(b, 2, 0), (TTriple{0, 0, 0}));
  EXPECT_EQ(PixelAt(b, 7, 0), (TTriple{0, 0, 0}));
  EXPECT_EQ(PixelAt(b, 0, 1), (TTriple{3, 3, 3}));
}

TEST(PcxRead, HugeBytesPerLineCostsOnlyWhatTheRowsNeed) {
  // Found by fuzzing (a timeout): 6 x 42499 one-bit pixels with a
  // BytesPerLine of 63743; each row used to clear the whole declared line.
  const Bytes file = {0x0a, 0x05, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x05, 0x00, 0x02, 0xa6, 0x48,
                      0x00, 0x48, 0x00, 0x00, 0x05, 0x0a, 0x0f, 0x14, 0x19, 0x1e, 0x23, 0x28, 0x2d,
                      0x32, 0x37, 0x3c, 0x41, 0x46, 0x4b, 0x50, 0x55, 0x5a, 0x5f, 0x64, 0x69, 0x6e,
                      0x73, 0x78, 0x7d, 0x82, 0x87, 0x8c, 0x91, 0x96, 0x9b, 0xa0, 0xa5, 0xaa, 0xaf,
                      0xb4, 0xb9, 0xbe, 0xc3, 0xc8, 0xcd, 0xd2, 0xd7, 0xdc, 0xe1, 0xe6, 0xeb, 0x00,
                      0x01, 0x01, 0xff, 0xf8, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                      0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x25,
                      0x01, 0x26, 0x22, 0x27, 0xc5, 0x21};
  // Eight bytes of body over 255,000 pixels: the rows past the data are what
  // a line of zeros gives (header colour 0), made once and copied.
  const TRasterBitmap b = Read(file);
  EXPECT_EQ(b.Height(), 42499);
  EXPECT_EQ(PixelAt(b, 5, 42498), MakeTriple(0, 5, 10));

  // The same header over 100 rows, which the body may fill, decodes.
  Bytes small = file;
  small[10] = 99;
  small[11] = 0;
  const TRasterBitmap d = Read(small);
  EXPECT_EQ(d.Width(), 6);
  EXPECT_EQ(d.Height(), 100);
  EXPECT_EQ(PixelAt(d, 5, 99), MakeTriple(0, 5, 10));  // header colour 0
}

TEST(PcxRead, FailuresKeepTheCallersPicture) {
  TRasterBitmap kept;
  kept.Reset(TPixelFormat::Bit8, 7, 5);
  auto expect_failure = [&](const Bytes& file, const std::string& message) {
    TByteStream stream(file);
    try {
      DecodePcx(stream.Bytes(), kept, test_support::TestDecode());
      ADD_FAILURE() << "no exception";
    } catch (const EQuorvaneError& e) {
      EXPECT_EQ(e.what(), message);
    }
    EXPECT_EQ(kept.Width(), 7);
    EXPECT_EQ(kept.PixelFormat(), TPixelFormat::Bit8);
  };
  expect_failure(PcxHeader(Fields(1, 4, 32, 32, 16)),
                 "Unsupported PCX format: 1 plane(s) of 4 bit(s)");
  expect_failure(PcxHeader(Fields(4, 8, 32, 32, 32)),
                 "Unsupported PCX format: 4 plane(s) of 8 bit(s)");
  TPcxFields backwards = Fields(1, 8, 4, 4, 4);
  backwards.Xmin = 9;
  expect_failure(PcxHeader(backwards), "Invalid PCX image size");
  // 65535 x 65535 pixels promised by a 200-byte file.
  Bytes absurd = PcxHeader(Fields(1, 1, 65535, 65535, 8192));
  absurd.resize(200, 0x41);
  expect_failure(
      absurd,
      "Picture too large: 65535 x 65535 pixels at 24 bits per pixel need 12884705280 bytes, "
      "more than the memory cap of 268435456 bytes");
}

TEST(PcxRead, ReportsEachStepToItsProgressHook) {
  std::vector<int> seen;
  TStageReporter reporter;
  reporter.SetHook([&](TProgressStage stage, uint8_t percent, bool, const TRect&,
                       std::string_view) { seen.push_back(int(stage) * 1000 + percent); });
  Bytes file = PcxHeader(Fields(1, 8, 1, 1, 1));
  Append(file, {5});
  Append(file, ExtendedPalette());
  TByteStream stream(file);
  TRasterBitmap b;
  DecodePcx(stream.Bytes(), b, {.Progress = &reporter});
  EXPECT_EQ(seen, (std::vector<int>{0, 1025, 1050, 1075, 1100, 2100}));

  seen.clear();
  TByteStream out(EncodePcx(b, &reporter));
  EXPECT_EQ(seen, (std::vector<int>{0, 1033, 1066, 1100, 2100}));
}

TRasterBitmap Bitmap24(int width, int height) {
  TRasterBitmap b;
  b.Reset(TPixelFormat::Bit24, width, height);
  return b;
}

TEST(PcxWrite, ThreeByOneLayoutIsHeaderThenRedGreenBluePlanes) {
  TRasterBitmap b = Bitmap24(3, 1);
  const uint8_t row[9] = {0x00, 0x41, 0xC5, 0x00, 0x41, 0xC5, 0x10, 0x41, 0xC5};  // B, G, R
  std::copy_n(row, 9, b.Scanline(0));
  b.SetPelsPerMeter(3937, 11811);
  TByteStream out(EncodePcx(b));
  Bytes expected = {10, 5, 1, 8, 0, 0, 0, 0, 2, 0, 0, 0, 100, 0, 44, 1};
  expected.resize(64, 0);
  Append(expected, {0, 3, 3, 0, 1, 0, 3, 0, 1, 0});
  expected.resize(128, 0);
  Append(expected, {0xC3, 0xC5});        // red: three times 0xC5
  Append(expected, {0xC3, 0x41});        // green: a run of three
  Append(expected, {0xC2, 0x00, 0x10});  // blue: a run of two, then 0x10
  EXPECT_EQ(out.Bytes(), expected);
}

TEST(PcxWrite, RunsStopAtSixtyThreeAndHighBytesAlwaysRun) {
  TRasterBitmap b = Bitmap24(100, 1);
  for (int x = 0; x < 100; ++x) {
    uint8_t* p = b.Scanline(0) + x * 3;
    p[2] = 0x05;                            // red: 100 equal bytes
    p[1] = x == 0 ? 0xC5 : uint8_t(x % 2);  // green: single 0xC5 first
    p[0] = x == 0 ? 0x41 : uint8_t(x % 2);  // blue: single 0x41 first
  }
  TByteStream out(EncodePcx(b));
  const Bytes& bytes = out.Bytes();
  EXPECT_EQ(Bytes(bytes.begin() + 128, bytes.begin() + 134),
            (Bytes{0xFF, 0x05, 0xE5, 0x05, 0xC1, 0xC5}));
  EXPECT_EQ(Bytes(bytes.begin() + 134 + 99, bytes.begin() + 134 + 101), (Bytes{0x41, 0x01}));
}

TEST(PcxWrite, ReadsBackUnchangedWithItsResolution) {
  TRasterBitmap b = Bitmap24(37, 5);
  for (int y = 0; y < 5; ++y)
    for (int i = 0; i < 37 * 3; ++i)
      b.Scanline(y)[i] = uint8_t((i / 7) * 50 + y * 3 + (i % 3) * 80);
  b.SetPelsPerMeter(11811, 2835);
  TByteStream out(EncodePcx(b));
  out.Seek(0);
  TRasterBitmap back;
  DecodePcx(out.Bytes(), back);
  ASSERT_EQ(back.Width(), 37);
  ASSERT_EQ(back.Height(), 5);
  for (int y = 0; y < 5; ++y)
    EXPECT_TRUE(std::equal(b.Scanline(y), b.Scanline(y) + 37 * 3, back.Scanline(y))) << y;
  EXPECT_EQ(back.XPelsPerMeter(), 11811);
  EXPECT_EQ(back.YPelsPerMeter(), 2835);
}

TEST(PcxWrite, RefusesPicturesItsHeaderCannotDescribe) {
  TByteStream out;
  EXPECT_THROW(out = TByteStream(EncodePcx(TRasterBitmap())), EQuorvaneError);
  EXPECT_THROW(out = TByteStream(EncodePcx(Bitmap24(65536, 1))), EQuorvaneError);
}

TEST(PcxWrite, PictureSixtyFiveThousandFiveHundredAndThirtySixWideReadsButCannotBeWritten) {
  // Found by fuzzing the read-write round trip: Xmax 65535 gives a width of
  // 65536, which a 16-bit BytesPerLine cannot describe.
  const Bytes file = {0x0a, 0x05, 0x01, 0x02, 0x00, 0x00, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff,
                      0x0c, 0x05, 0x00, 0x48, 0x00, 0x00, 0x05, 0x0a, 0x0f, 0x14, 0x19, 0x1e, 0x23,
                      0x28, 0x2d, 0x32, 0x50, 0x55, 0x5a, 0x5f, 0x64, 0x69, 0x6e, 0x73, 0x78, 0x7d,
                      0x82, 0x87, 0x8c, 0x91, 0x96, 0x9b, 0xa0, 0xa5, 0xaa, 0xaf, 0xb4, 0xb9, 0xbe,
                      0xc3, 0xc8, 0xcd, 0xd2, 0xd7, 0xdc, 0xe1, 0xe6, 0xeb, 0x00, 0x01, 0x02, 0x00,
                      0x01, 0x0a, 0x00, 0x48, 0x00, 0x78, 0x7d, 0x82, 0x87, 0x8c, 0x91, 0x00};
  const TRasterBitmap b = Read(file);
  EXPECT_EQ(b.Width(), 65536);
  EXPECT_EQ(b.Height(), 1);
  TByteStream out;
  EXPECT_THROW(out = TByteStream(EncodePcx(b)), EQuorvaneError);
  EXPECT_EQ(out.Size(), 0u);
}

TEST(PcxWrite, ConvertsOtherPixelFormatsItself) {
  TRasterBitmap b;
  b.Reset(TPixelFormat::Bit8, 2, 1);
  b.ColorTable()[7] = {30, 20, 10, 0};
  b.Scanline(0)[0] = 7;
  TByteStream out;
  try {
    out = TByteStream(EncodePcx(b));
  } catch (const EQuorvaneError& e) {
    GTEST_SKIP() << "pixel-format conversion not available here: " << e.what();
  }
  out.Seek(0);
  TRasterBitmap back;
  DecodePcx(out.Bytes(), back);
  EXPECT_EQ(PixelAt(back, 0, 0), MakeTriple(10, 20, 30));
}

}  // namespace
}  // namespace quorvane
