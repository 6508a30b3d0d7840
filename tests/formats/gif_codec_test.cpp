#include "formats/gif_codec.h"

#include <gtest/gtest.h>

#include <new>

#include <cstring>

#include "raster/error.h"
#include "support/test_pictures.h"

namespace quorvane {
namespace {

using test_support::ColorAt;
using test_support::TColor;

// An 8-bit picture whose index at (x, y) is y * width + x, with a palette
// whose entry i is (blue i, green 255 - i, red 3i).
TRasterBitmap Indexed(int width, int height) {
  TRasterBitmap b;
  b.Reset(TPixelFormat::Bit8, width, height);
  for (int i = 0; i < 256; ++i)
    b.ColorTable()[i] = {uint8_t(i), uint8_t(255 - i), uint8_t(3 * i), 0};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) b.Scanline(y)[x] = uint8_t(y * width + x);
  return b;
}

std::string DecodeError(const std::vector<uint8_t>& bytes) {
  TRasterBitmap b;
  try {
    DecodeGif(bytes, b);
  } catch (const EQuorvaneError& e) {
    return e.what();
  }
  return "";
}

// Offsets in a file written by EncodeGif: header 6, screen descriptor 7,
// then the 256-entry global table (768 bytes), then the image descriptor.
constexpr size_t kScreenWidth = 6, kScreenHeight = 8, kImageDescriptor = 13 + 768;
void PutWord(std::vector<uint8_t>& b, size_t at, uint16_t v) {
  b[at] = uint8_t(v);
  b[at + 1] = uint8_t(v >> 8);
}

TEST(GifCodec, RoundTripKeepsIndicesAndPalette) {
  const TRasterBitmap original = Indexed(13, 7);
  const auto gif = EncodeGif(original);
  EXPECT_EQ(std::string(gif.begin(), gif.begin() + 3), "GIF");
  TRasterBitmap decoded;
  DecodeGif(gif, decoded);
  ASSERT_EQ(decoded.PixelFormat(), TPixelFormat::Bit8);
  ASSERT_EQ(decoded.Width(), 13);
  ASSERT_EQ(decoded.Height(), 7);
  for (int y = 0; y < 7; ++y)
    EXPECT_EQ(std::memcmp(decoded.Scanline(y), original.Scanline(y), 13), 0);
  for (int i = 0; i < 256; ++i) EXPECT_EQ(decoded.ColorTable()[i], original.ColorTable()[i]);
}

TEST(GifCodec, OneAndFourBitPicturesAreWrittenWithTheirOwnPalettes) {
  TRasterBitmap four;
  four.Reset(TPixelFormat::Bit4, 3, 2);
  four.ColorTable()[9] = {1, 2, 3, 0};
  four.Scanline(1)[1] = 0x90;  // pixel (2, 1) is index 9
  TRasterBitmap decoded;
  DecodeGif(EncodeGif(four), decoded);
  EXPECT_EQ(ColorAt(decoded, 2, 1), (TColor{1, 2, 3}));
  EXPECT_EQ(ColorAt(decoded, 0, 0), ColorAt(four, 0, 0));

  TRasterBitmap one;
  one.Reset(TPixelFormat::Bit1, 10, 1);
  one.ColorTable()[1] = {0, 0, 255, 0};
  one.Scanline(0)[1] = 0x40;  // pixel 9
  DecodeGif(EncodeGif(one), decoded);
  EXPECT_EQ(ColorAt(decoded, 9, 0), (TColor{0, 0, 255}));
  EXPECT_EQ(ColorAt(decoded, 8, 0), (TColor{0, 0, 0}));
}

TEST(GifCodec, AFrameSmallerThanTheScreenIsDrawnOntoTheBackground) {
  auto gif = EncodeGif(Indexed(3, 2));
  // Screen 4 x 3; the frame at (2, 2) reaches past its right and bottom edges.
  PutWord(gif, kScreenWidth, 4);
  PutWord(gif, kScreenHeight, 3);
  gif[11] = 200;  // background colour index
  ASSERT_EQ(gif[kImageDescriptor], 0x2C);
  PutWord(gif, kImageDescriptor + 1, 2);
  PutWord(gif, kImageDescriptor + 3, 2);
  TRasterBitmap b;
  DecodeGif(gif, b);
  ASSERT_EQ(b.Width(), 4);
  ASSERT_EQ(b.Height(), 3);
  const std::vector<uint8_t> expected[] = {
      {200, 200, 200, 200}, {200, 200, 200, 200}, {200, 200, 0, 1}};
  for (int y = 0; y < 3; ++y)
    EXPECT_EQ(std::vector<uint8_t>(b.Scanline(y), b.Scanline(y) + 4), expected[y]) << "row " << y;
}

TEST(GifCodec, AFrameEntirelyOffTheScreenLeavesTheBackground) {
  auto gif = EncodeGif(Indexed(3, 2));
  PutWord(gif, kImageDescriptor + 1, 60000);
  PutWord(gif, kImageDescriptor + 3, 60000);
  TRasterBitmap b;
  DecodeGif(gif, b);
  ASSERT_EQ(b.Width(), 3);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(b.Scanline(y)[x], 0);
}

TEST(GifCodec, InterlacedRowsLandInFourPasses) {
  TRasterBitmap rows;
  rows.Reset(TPixelFormat::Bit8, 1, 8);
  for (int y = 0; y < 8; ++y) rows.Scanline(y)[0] = uint8_t(y);
  auto gif = EncodeGif(rows);
  gif[kImageDescriptor + 9] |= 0x40;  // declare the stored rows interlaced
  TRasterBitmap b;
  DecodeGif(gif, b);
  // Stored row i belongs to image row 0, 4, 2, 6, 1, 3, 5, 7 in turn.
  const int order[] = {0, 4, 2, 6, 1, 3, 5, 7};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(b.Scanline(order[i])[0], i);
}

TEST(GifCodec, DamagedAndHostileFilesFailWithAMessageAndNeverCrash) {
  EXPECT_EQ(DecodeError({'G', 'I'}).rfind("Invalid GIF file: ", 0), 0u);
  const auto gif = EncodeGif(Indexed(64, 64));
  // Cut inside the image data: the rows that arrived are kept.
  const std::vector<uint8_t> cut(gif.begin(), gif.begin() + std::ptrdiff_t(gif.size() * 2 / 3));
  TRasterBitmap partial;
  EXPECT_NO_THROW(DecodeGif(cut, partial));
  EXPECT_EQ(partial.Width(), 64);
  EXPECT_EQ(partial.Scanline(0)[5], 5);
  // Every prefix and many single-byte changes decode or fail cleanly.
  for (size_t n = 0; n < gif.size(); n += 97) {
    TRasterBitmap b;
    try {
      DecodeGif(std::span(gif.data(), n), b);
    } catch (const EQuorvaneError&) {
    }
  }
  for (size_t i = 0; i < gif.size(); i += 13) {
    auto damaged = gif;
    damaged[i] ^= 0xA5;
    TRasterBitmap b;
    try {
      DecodeGif(damaged, b);
    } catch (const EQuorvaneError&) {
    }
  }
  for (const char* name :
       {"decompression_bomb.gif", "issue-101-infinite-empty-loop.gif", "issue-117-out-of-range.gif",
        "issue-96-small-codesize.gif", "zero_width.gif"}) {
    SCOPED_TRACE(name);
    const auto bytes = test_support::CorpusFile(std::string("gif/malformed/") + name);
    if (!bytes) QUORVANE_CORPUS_ABSENT("gif");
    TRasterBitmap b;
    try {
      DecodeGif(*bytes, b);
    } catch (const EQuorvaneError& e) {
      EXPECT_NE(std::string(e.what()).find("GIF"), std::string::npos);
    }
  }
}

TEST(GifCodec, CorpusPicturesLoad) {
  for (const char* name :
       {"2x2.gif", "chi.gif", "dispose_bgnd.gif", "first_frame_transparency.gif", "hopper.gif",
        "interlaced.gif", "iss634.gif", "no_palette.gif", "palette-1c-8b.gif", "sample_1.gif",
        "test.colors.gif", "test_extents.gif", "transparent.gif"}) {
    SCOPED_TRACE(name);
    const auto bytes = test_support::CorpusFile(std::string("gif/") + name);
    if (!bytes) QUORVANE_CORPUS_ABSENT("gif");
    TRasterBitmap b;
    EXPECT_NO_THROW(DecodeGif(*bytes, b));
    EXPECT_GT(b.Width(), 0);
  }
}

}  // namespace
}  // namespace quorvane
