#include "formats/tga.h"
#include "raster/byte_stream.h"
#include "raster/error.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "formats/sample_files.h"
#include "support/decode_limits.h"

namespace quorvane {
namespace {

using samples::Append;
using samples::Bytes;
using samples::TgaHeader;

TRasterBitmap Read(const Bytes& file, bool stream_big_endian = false) {
  TByteStream stream(file);
  stream.SetBigEndian(stream_big_endian);
  TRasterBitmap bitmap;
  DecodeTga(stream.Bytes(), bitmap);
  return bitmap;
}

Bytes Pixel(const TRasterBitmap& b, int x, int y) {
  const int n = b.BitsPerPixel() / 8;
  const uint8_t* p = b.Scanline(y) + x * n;
  return Bytes(p, p + n);
}

TEST(TgaRead, RowOrderFollowsDescriptorBitFive) {
  // 2 x 2, 24-bit: stored rows (1,2,3 4,5,6) and (7,8,9 10,11,12).
  const Bytes rows = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  Bytes bottom_first = TgaHeader(2, 2, 2, 24, 0);
  Append(bottom_first, rows);
  Bytes top_first = TgaHeader(2, 2, 2, 24, 0x20);
  Append(top_first, {7, 8, 9, 10, 11, 12, 1, 2, 3, 4, 5, 6});
  const TRasterBitmap a = Read(bottom_first), b = Read(top_first);
  ASSERT_EQ(a.PixelFormat(), TPixelFormat::Bit24);
  EXPECT_EQ(Pixel(a, 0, 0), (Bytes{7, 8, 9}));
  EXPECT_EQ(Pixel(a, 1, 1), (Bytes{4, 5, 6}));
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 2; ++x) EXPECT_EQ(Pixel(a, x, y), Pixel(b, x, y));
}

TEST(TgaRead, SixteenBitColourMapIsLittleEndianWhateverTheStreamSays) {
  // An ID field of 3 bytes and a colour map of two 16-bit entries before
  // the indices; entry 1 is 0x7FFF.
  Bytes file = TgaHeader(1, 3, 1, 8, 0, 3, 1, 2, 16);
  Append(file, {'a', 'b', 'c', 0x1F, 0x00, 0xFF, 0x7F, 1, 0, 1});
  for (bool big : {false, true}) {
    const TRasterBitmap b = Read(file, big);
    ASSERT_EQ(b.PixelFormat(), TPixelFormat::Bit24);
    EXPECT_EQ(Pixel(b, 0, 0), (Bytes{248, 248, 248}));
    EXPECT_EQ(Pixel(b, 1, 0), (Bytes{248, 0, 0}));  // 0x001F: blue only
  }
}

TEST(TgaRead, ColourMapEntriesOfTwentyFourAndThirtyTwoBits) {
  Bytes file = TgaHeader(1, 2, 1, 8, 0, 0, 1, 2, 32);
  Append(file, {1, 2, 3, 99, 4, 5, 6, 99, 1, 7});  // index 7 is past the table
  const TRasterBitmap b = Read(file);
  EXPECT_EQ(Pixel(b, 0, 0), (Bytes{4, 5, 6}));
  EXPECT_EQ(Pixel(b, 1, 0), (Bytes{0, 0, 0}));
}

TEST(TgaRead, GreyLevelsAndFifteenBitPixels) {
  Bytes grey = TgaHeader(3, 2, 1, 8);
  Append(grey, {9, 200});
  EXPECT_EQ(Pixel(Read(grey), 1, 0), (Bytes{200, 200, 200}));

  Bytes hi = TgaHeader(2, 1, 1, 16);
  Append(hi, {0x34, 0x92});
  const TRasterBitmap b = Read(hi);
  EXPECT_EQ(b.PixelFormat(), TPixelFormat::Bit15);
  EXPECT_EQ(Pixel(b, 0, 0), (Bytes{0x34, 0x92}));
}

TEST(TgaRead, RunLengthPacketsContinueAcrossRows) {
  // 3 x 2 true colour, bottom row first: a run of four, then a run of two.
  Bytes file = TgaHeader(10, 3, 2, 24);
  Append(file, {0x83, 1, 2, 3, 0x81, 4, 5, 6});
  const TRasterBitmap b = Read(file);
  EXPECT_EQ(Pixel(b, 0, 1), (Bytes{1, 2, 3}));
  EXPECT_EQ(Pixel(b, 2, 1), (Bytes{1, 2, 3}));
  EXPECT_EQ(Pixel(b, 0, 0), (Bytes{1, 2, 3}));
  EXPECT_EQ(Pixel(b, 1, 0), (Bytes{4, 5, 6}));
  EXPECT_EQ(Pixel(b, 2, 0), (Bytes{4, 5, 6}));

  // Greyscale: a literal packet of three over two-pixel rows, then a run.
  Bytes grey = TgaHeader(11, 2, 2, 8, 0x20);
  Append(grey, {0x02, 10, 20, 30, 0x80, 40});
  const TRasterBitmap g = Read(grey);
  EXPECT_EQ(Pixel(g, 1, 0), (Bytes{20, 20, 20}));
  EXPECT_EQ(Pixel(g, 0, 1), (Bytes{30, 30, 30}));
  EXPECT_EQ(Pixel(g, 1, 1), (Bytes{40, 40, 40}));
}

TEST(TgaRead, RowsLongerThanThirtyTwoKilobytes) {
  const int width = 40000;
  Bytes file = TgaHeader(9, width, 1, 8, 0, 0, 1, 2, 24);
  Append(file, {0, 0, 0, 7, 8, 9});
  for (int left = width; left > 0; left -= 128)
    Append(file, {uint8_t(0x80 + std::min(left, 128) - 1), 1});
  const TRasterBitmap b = Read(file);
  EXPECT_EQ(Pixel(b, width - 1, 0), (Bytes{7, 8, 9}));
}

TEST(TgaRead, DataEndingEarlyLeavesTheRemainingRowsBlack) {
  Bytes file = TgaHeader(2, 1, 3, 24, 0x20);
  Append(file, {1, 2, 3, 4});
  const TRasterBitmap b = Read(file);
  ASSERT_EQ(b.Height(), 3);
  EXPECT_EQ(Pixel(b, 0, 0), (Bytes{1, 2, 3}));
  EXPECT_EQ(Pixel(b, 0, 1), (Bytes{4, 0, 0}));
  EXPECT_EQ(Pixel(b, 0, 2), (Bytes{0, 0, 0}));
}

// Colour-map entry 0 is red, entry 1 green: rows the data never reached must
// stay black rather than show entry 0.
TEST(TgaRead, ColourMappedDataEndingEarlyLeavesTheRestBlack) {
  const Bytes red{0, 0, 255}, green{0, 255, 0}, black{0, 0, 0};
  auto mapped = [](uint8_t type) {
    Bytes file = TgaHeader(type, 2, 3, 8, 0x20, 0, 1, 2, 24);
    Append(file, {0, 0, 255, 0, 255, 0});
    return file;
  };
  // A literal packet of six indices of which only one arrived.
  Bytes run_length = mapped(9);
  Append(run_length, {0x05, 1});
  // Uncompressed: one index of six.
  Bytes plain = mapped(1);
  Append(plain, {1});
  for (const Bytes& file : {run_length, plain}) {
    const TRasterBitmap b = Read(file);
    ASSERT_EQ(b.Height(), 3);
    EXPECT_EQ(Pixel(b, 0, 0), green);
    EXPECT_EQ(Pixel(b, 1, 0), black);
    EXPECT_EQ(Pixel(b, 0, 1), black);
    EXPECT_EQ(Pixel(b, 1, 2), black);
  }
  // A run packet whose value is missing has nothing to repeat.
  Bytes no_value = mapped(9);
  Append(no_value, {0x01, 1, 1, 0x83});
  const TRasterBitmap b = Read(no_value);
  EXPECT_EQ(Pixel(b, 1, 0), green);
  EXPECT_EQ(Pixel(b, 0, 1), black);
}

TEST(TgaRead, APictureCutShortLoadsWhatItHoldsHoweverLittle) {
  // 300 x 300 true colour needs 270,000 bytes.
  for (size_t held : {17000, 16000, 3}) {
    Bytes file = TgaHeader(2, 300, 300, 24, 0x20);
    file.resize(18 + held, 0x11);
    const TRasterBitmap b = Read(file);
    EXPECT_EQ(b.Height(), 300);
    EXPECT_EQ(Pixel(b, 0, 0), (Bytes{0x11, 0x11, 0x11}));
    EXPECT_EQ(Pixel(b, 299, 299), (Bytes{0, 0, 0}));
  }
}

TEST(TgaRead, APictureBeyondTheMemoryCapIsRefused) {
  Bytes file = TgaHeader(10, 65535, 65535, 32);
  file.resize(300, 0xFF);
  TRasterBitmap kept;
  kept.Reset(TPixelFormat::Bit8, 3, 1);
  try {
    DecodeTga(file, kept, test_support::TestDecode());
    ADD_FAILURE() << "no exception";
  } catch (const EQuorvaneError& e) {
    EXPECT_STREQ(e.what(),
                 "Picture too large: 65535 x 65535 pixels at 32 bits per pixel need 17179344900 "
                 "bytes, more than the memory cap of 268435456 bytes");
  }
  EXPECT_EQ(kept.Width(), 3);
}

TEST(TgaRead, ImageTypeZeroHasNoPixels) {
  EXPECT_TRUE(Read(TgaHeader(0, 5, 5, 24)).Empty());
}

TEST(TgaRead, UnsupportedKindsAreRefusedAsUnsupportedAndKeepThePicture) {
  TRasterBitmap kept;
  kept.Reset(TPixelFormat::Bit8, 3, 3);
  auto expect_failure = [&](const Bytes& file, const std::string& message) {
    TByteStream stream(file);
    try {
      DecodeTga(stream.Bytes(), kept);
      ADD_FAILURE() << "no exception for " << message;
    } catch (const EQuorvaneError& e) {
      EXPECT_EQ(e.what(), message);
      EXPECT_EQ(e.Kind(), TErrorKind::Unsupported);
    }
    EXPECT_EQ(kept.Width(), 3);
  };
  expect_failure(TgaHeader(2, 1, 1, 7), "Unsupported TGA Pixel Size: 7");
  expect_failure(TgaHeader(3, 1, 1, 16), "Unsupported TGA Pixel Size: 16");
  expect_failure(TgaHeader(1, 1, 1, 16, 0, 0, 1, 1, 24), "Unsupported TGA Pixel Size: 16");
  expect_failure(TgaHeader(10, 1, 1, 8), "Unsupported TGA Pixel Size: 8");
  expect_failure(TgaHeader(5, 1, 1, 24), "Unsupported TGA ImageType 5");
  expect_failure(TgaHeader(32, 1, 1, 8), "Unsupported TGA ImageType 32");

  Bytes absurd = TgaHeader(10, 65535, 65535, 32);
  absurd.resize(300, 0xFF);
  EXPECT_THROW(DecodeTga(absurd, kept, test_support::TestDecode()), EQuorvaneError);
  EXPECT_EQ(kept.Width(), 3);
}

TEST(TgaWrite, TwoByTwoIsAHeaderAndTheBottomRowFirst) {
  TRasterBitmap b;
  b.Reset(TPixelFormat::Bit24, 2, 2);
  const uint8_t top[6] = {1, 2, 3, 4, 5, 6}, bottom[6] = {7, 8, 9, 10, 11, 12};
  std::copy_n(top, 6, b.Scanline(0));
  std::copy_n(bottom, 6, b.Scanline(1));
  TByteStream out(EncodeTga(b));
  Bytes expected = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 2, 0, 24, 0};
  Append(expected, {7, 8, 9, 10, 11, 12, 1, 2, 3, 4, 5, 6});
  EXPECT_EQ(out.Bytes(), expected);
}

TEST(TgaWrite, ThirtyTwoBitReadsBackAndOtherFormatsAreRefused) {
  TRasterBitmap b;
  b.Reset(TPixelFormat::Bit32, 3, 2);
  for (int y = 0; y < 2; ++y)
    for (int i = 0; i < 12; ++i) b.Scanline(y)[i] = uint8_t(i * 20 + y);
  TByteStream out(EncodeTga(b));
  EXPECT_EQ(out.Size(), 18u + 24u);
  out.Seek(0);
  const TRasterBitmap back = [&] {
    TRasterBitmap r;
    DecodeTga(out.Bytes(), r);
    return r;
  }();
  ASSERT_EQ(back.PixelFormat(), TPixelFormat::Bit32);
  for (int y = 0; y < 2; ++y)
    EXPECT_TRUE(std::equal(b.Scanline(y), b.Scanline(y) + 12, back.Scanline(y)));

  TRasterBitmap palette;
  palette.Reset(TPixelFormat::Bit8, 2, 2);
  try {
    out = TByteStream(EncodeTga(palette));
    ADD_FAILURE();
  } catch (const EQuorvaneError& e) {
    EXPECT_STREQ(e.what(), "Unsupported Bitmap format");
    EXPECT_EQ(e.Kind(), TErrorKind::Unsupported);
  }
}

}  // namespace
}  // namespace quorvane
