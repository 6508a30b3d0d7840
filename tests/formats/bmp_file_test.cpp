#include "formats/bmp_file.h"
#include "raster/byte_stream.h"

#include <gtest/gtest.h>

#include "support/test_pictures.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "raster/error.h"
#include "raster/file_io.h"
#include "raster/pixel_convert.h"
#include "support/decode_limits.h"

namespace quorvane {
namespace {

using Bytes = std::vector<uint8_t>;
using test_support::SamePixels;

// ------------------------------------------------------------ helpers

void Put16(Bytes& b, uint16_t v) {
  b.push_back(uint8_t(v));
  b.push_back(uint8_t(v >> 8));
}
void Put32(Bytes& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(uint8_t(v >> (8 * i)));
}
uint32_t Get32(const Bytes& b, size_t at) {
  return uint32_t(b[at]) | (uint32_t(b[at + 1]) << 8) | (uint32_t(b[at + 2]) << 16) |
         (uint32_t(b[at + 3]) << 24);
}
uint16_t Get16(const Bytes& b, size_t at) {
  return uint16_t(b[at] | (b[at + 1] << 8));
}

// Builds a BMP file: file header, information header of `header_size`
// bytes (40-byte layout, zero-padded; 12 gives an OS/2 core header),
// `extra` (masks), the colour table and the pixel data. bfOffBits is the end
// of the colour table unless given.
struct TBmpLayout {
  uint32_t header_size = 40;
  int32_t width = 0, height = 0;
  uint16_t planes = 1, bits = 8;
  uint32_t compression = 0;
  int32_t xppm = 0, yppm = 0;
  uint32_t colors_used = 0;
  Bytes extra;    // after the header (bit-field masks)
  Bytes palette;  // raw entries
  Bytes pixels;
  int64_t off_bits = -1;
  Bytes in_header;  // bytes 40.. of a longer header (masks of V4/V5)
};

Bytes BuildBmp(const TBmpLayout& s) {
  Bytes h;
  if (s.header_size == 12) {
    Put32(h, 12);
    Put16(h, uint16_t(s.width));
    Put16(h, uint16_t(s.height));
    Put16(h, s.planes);
    Put16(h, s.bits);
  } else {
    Put32(h, s.header_size);
    Put32(h, uint32_t(s.width));
    Put32(h, uint32_t(s.height));
    Put16(h, s.planes);
    Put16(h, s.bits);
    Put32(h, s.compression);
    Put32(h, uint32_t(s.pixels.size()));
    Put32(h, uint32_t(s.xppm));
    Put32(h, uint32_t(s.yppm));
    Put32(h, s.colors_used);
    Put32(h, 0);
    h.insert(h.end(), s.in_header.begin(), s.in_header.end());
    h.resize(s.header_size, 0);
  }
  const size_t table_end = 14 + h.size() + s.extra.size() + s.palette.size();
  const size_t off = s.off_bits >= 0 ? size_t(s.off_bits) : table_end;
  Bytes f = {'B', 'M'};
  Put32(f, uint32_t(std::max(off, table_end) + s.pixels.size()));
  Put32(f, 0);
  Put32(f, uint32_t(off));
  f.insert(f.end(), h.begin(), h.end());
  f.insert(f.end(), s.extra.begin(), s.extra.end());
  f.insert(f.end(), s.palette.begin(), s.palette.end());
  if (off > f.size()) f.resize(off, 0xEE);
  f.insert(f.end(), s.pixels.begin(), s.pixels.end());
  return f;
}

TRasterBitmap Load(const Bytes& bytes) {
  TByteStream stream(bytes);
  TRasterBitmap b;
  LoadBitmapFromStream(b, stream);
  return b;
}

Bytes Save(const TRasterBitmap& b) {
  TByteStream stream;
  SaveBitmapToStream(b, stream);
  return stream.TakeBytes();
}

// Under the tests' memory cap, so that what is refused does not depend on
// the machine's memory.
std::string LoadError(const Bytes& bytes) {
  try {
    TRasterBitmap b;
    DecodeBmp(bytes, b, test_support::TestDecode());
  } catch (const EQuorvaneError& e) {
    return e.what();
  }
  return "";
}

// The pixel of (x, y) as blue, green, red.
TTriple Pixel(const TRasterBitmap& b, int x, int y) {
  uint8_t p[3];
  ReadRowAs24(b, y, x, 1, p);
  return {p[0], p[1], p[2]};
}

TRasterBitmap RandomBitmap(TPixelFormat format, int w, int h, uint32_t seed) {
  std::mt19937 rng(seed);
  TRasterBitmap b;
  b.Reset(format, w, h);
  for (int y = 0; y < h; ++y)
    for (size_t i = 0; i < b.Stride(); ++i) b.Scanline(y)[i] = uint8_t(rng());
  for (auto& q : b.ColorTable()) q = {uint8_t(rng()), uint8_t(rng()), uint8_t(rng()), 0};
  b.SetPelsPerMeter(int32_t(rng() % 10000), int32_t(rng() % 10000));
  return b;
}

std::string CorpusDir() {
  return test_support::CorpusPath("bmp").string();
}

bool HaveCorpus() {
  return std::filesystem::is_directory(CorpusDir());
}

TRasterBitmap LoadCorpus(const std::string& name) {
  TRasterBitmap b;
  DecodeBmp(ReadWholeFile(CorpusDir() + "/" + name), b);
  return b;
}

// ------------------------------------------------------------ writing

TEST(BmpFile, RoundTripsEveryDepth) {
  const TPixelFormat formats[] = {TPixelFormat::Bit1,  TPixelFormat::Bit4,  TPixelFormat::Bit8,
                                  TPixelFormat::Bit15, TPixelFormat::Bit16, TPixelFormat::Bit24,
                                  TPixelFormat::Bit32};
  uint32_t seed = 1;
  for (const TPixelFormat f : formats) {
    for (const int w : {1, 2, 3, 5, 8, 33}) {
      const TRasterBitmap original = RandomBitmap(f, w, 7, seed++);
      const Bytes bytes = Save(original);
      const TRasterBitmap back = Load(bytes);
      EXPECT_TRUE(SamePixels(original, back)) << int(f) << " width " << w;
      EXPECT_EQ(back.PixelFormat(), f);
      EXPECT_EQ(back.XPelsPerMeter(), original.XPelsPerMeter());
      EXPECT_EQ(back.YPelsPerMeter(), original.YPelsPerMeter());
      if (IsPaletteFormat(f)) {
        ASSERT_EQ(back.ColorTable().size(), original.ColorTable().size());
        for (size_t i = 0; i < back.ColorTable().size(); ++i)
          EXPECT_EQ(back.ColorTable()[i], original.ColorTable()[i]);
      }
    }
  }
}

TEST(BmpFile, WritesTheStandardHeaders) {
  TRasterBitmap b;
  b.Reset(TPixelFormat::Bit8, 3, 2);
  b.SetPelsPerMeter(2835, 1234);
  const Bytes f = Save(b);
  ASSERT_EQ(f.size(), 14u + 40 + 1024 + 8);
  EXPECT_EQ(f[0], 'B');
  EXPECT_EQ(f[1], 'M');
  EXPECT_EQ(Get32(f, 2), f.size());
  EXPECT_EQ(Get32(f, 10), 14u + 40 + 1024);
  EXPECT_EQ(Get32(f, 14), 40u);
  EXPECT_EQ(Get32(f, 18), 3u);
  EXPECT_EQ(Get32(f, 22), 2u);
  EXPECT_EQ(Get16(f, 26), 1);
  EXPECT_EQ(Get16(f, 28), 8);
  EXPECT_EQ(Get32(f, 30), 0u);
  EXPECT_EQ(Get32(f, 34), 8u);
  EXPECT_EQ(Get32(f, 38), 2835u);
  EXPECT_EQ(Get32(f, 42), 1234u);
  EXPECT_EQ(Get32(f, 46), 0u);
}

TEST(BmpFile, FifteenBitIsPlainSixteenBitAndSixteenBitCarriesMasks) {
  TRasterBitmap b;
  b.Reset(TPixelFormat::Bit15, 2, 1);
  Bytes f = Save(b);
  EXPECT_EQ(Get16(f, 28), 16);
  EXPECT_EQ(Get32(f, 30), 0u);
  EXPECT_EQ(Get32(f, 10), 54u);

  b.Reset(TPixelFormat::Bit16, 2, 1);
  f = Save(b);
  EXPECT_EQ(Get16(f, 28), 16);
  EXPECT_EQ(Get32(f, 30), 3u);
  EXPECT_EQ(Get32(f, 10), 66u);
  EXPECT_EQ(Get32(f, 54), 0xF800u);
  EXPECT_EQ(Get32(f, 58), 0x07E0u);
  EXPECT_EQ(Get32(f, 62), 0x001Fu);
}

TEST(BmpFile, EmptyBitmapRoundTrips) {
  TRasterBitmap b;
  b.Reset(TPixelFormat::Bit24, 0, 0);
  const TRasterBitmap back = Load(Save(b));
  EXPECT_TRUE(back.Empty());
  EXPECT_EQ(back.PixelFormat(), TPixelFormat::Bit24);
}

TEST(BmpFile, SavesAtTheStreamPositionAndLoadsFromIt) {
  const TRasterBitmap original = RandomBitmap(TPixelFormat::Bit8, 5, 4, 77);
  TByteStream stream;
  stream.WriteChars("prefix");
  SaveBitmapToStream(original, stream);
  stream.Seek(6);
  TRasterBitmap back;
  LoadBitmapFromStream(back, stream);
  EXPECT_TRUE(SamePixels(original, back));
}

TEST(BmpFile, FilesRoundTrip) {
  const auto path = std::filesystem::temp_directory_path() / "quorvane_bmp_file_test.bmp";
  const TRasterBitmap original = RandomBitmap(TPixelFormat::Bit24, 9, 4, 5);
  WriteFileAtomically(path.string(), EncodeBmp(original));
  TRasterBitmap back;
  DecodeBmp(ReadWholeFile(path.string()), back);
  EXPECT_TRUE(SamePixels(original, back));
  std::filesystem::remove(path);
}

// ------------------------------------------------------------ reading variants

Bytes GreyPalette(int n, int entry = 4) {
  Bytes p;
  for (int i = 0; i < n; ++i) {
    const uint8_t v = uint8_t(i);
    p.insert(p.end(), {v, v, v});
    if (entry == 4) p.push_back(0);
  }
  return p;
}

TEST(BmpFile, ReadsTopDownRows) {
  TBmpLayout s;
  s.width = 2;
  s.height = -3;
  s.palette = GreyPalette(256);
  s.pixels = {10, 11, 0, 0, 20, 21, 0, 0, 30, 31, 0, 0};
  const TRasterBitmap b = Load(BuildBmp(s));
  ASSERT_EQ(b.Height(), 3);
  EXPECT_EQ(b.Scanline(0)[0], 10);
  EXPECT_EQ(b.Scanline(1)[1], 21);
  EXPECT_EQ(b.Scanline(2)[0], 30);
  s.height = 3;
  const TRasterBitmap up = Load(BuildBmp(s));
  EXPECT_EQ(up.Scanline(0)[0], 30);
  EXPECT_EQ(up.Scanline(2)[1], 11);
}

TEST(BmpFile, ReadsRle8WithAllEscapes) {
  TBmpLayout s;
  s.width = 6;
  s.height = 4;
  s.compression = 1;
  s.palette = GreyPalette(256);
  s.pixels = {
      3, 7,              // bottom row: 7 7 7
      0, 3, 1, 2, 3, 0,  // absolute run of 3 (padded): 1 2 3
      0, 0,              // end of line
      0, 2, 2, 1,        // delta: right 2, up 1 -> row 2, x 2
      2, 9,              // 9 9 at x 2, 3
      0, 4, 4, 5, 6, 7,  // absolute 4, no padding; only 4 fits? x 4,5 then cut
      0, 0,              // end of line -> row 3
      8, 1,              // 8 pixels of 1: cut at the right edge
      0, 1,              // end of bitmap
      5, 5,              // ignored
  };
  const TRasterBitmap b = Load(BuildBmp(s));
  ASSERT_EQ(b.PixelFormat(), TPixelFormat::Bit8);
  auto row = [&](int file_row) {
    const uint8_t* r = b.Scanline(3 - file_row);
    return std::vector<int>(r, r + 6);
  };
  EXPECT_EQ(row(0), (std::vector<int>{7, 7, 7, 1, 2, 3}));
  EXPECT_EQ(row(1), (std::vector<int>{0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(row(2), (std::vector<int>{0, 0, 9, 9, 4, 5}));
  EXPECT_EQ(row(3), (std::vector<int>{1, 1, 1, 1, 1, 1}));
}

TEST(BmpFile, ReadsRle4) {
  TBmpLayout s;
  s.width = 7;
  s.height = 2;
  s.bits = 4;
  s.compression = 2;
  s.palette = GreyPalette(16);
  s.pixels = {
      5, 0x12,                       // 1 2 1 2 1
      0, 3,    0x34, 0x50,           // absolute 3 nibbles: 3 4 5 (2 bytes, even)
      0, 0,                          // end of line
      0, 5,    0x67, 0x89, 0xA0, 0,  // absolute 5 nibbles: 6 7 8 9 A (3 bytes + pad)
      2, 0xBC,                       // B C
      0, 1,
  };
  const TRasterBitmap b = Load(BuildBmp(s));
  ASSERT_EQ(b.PixelFormat(), TPixelFormat::Bit4);
  auto nib = [&](int image_row, int x) {
    const uint8_t v = b.Scanline(image_row)[x / 2];
    return (x & 1) ? (v & 15) : (v >> 4);
  };
  const int bottom[7] = {1, 2, 1, 2, 1, 3, 4};
  const int top[7] = {6, 7, 8, 9, 10, 11, 12};
  for (int x = 0; x < 7; ++x) {
    EXPECT_EQ(nib(1, x), bottom[x]) << x;
    EXPECT_EQ(nib(0, x), top[x]) << x;
  }
}

TEST(BmpFile, ReadsTopDownRle) {
  TBmpLayout s;
  s.width = 2;
  s.height = -2;
  s.compression = 1;
  s.palette = GreyPalette(256);
  s.pixels = {2, 5, 0, 0, 2, 6, 0, 1};
  const TRasterBitmap b = Load(BuildBmp(s));
  EXPECT_EQ(b.Scanline(0)[0], 5);
  EXPECT_EQ(b.Scanline(1)[1], 6);
}

TEST(BmpFile, RleGarbageNeverCrashes) {
  std::mt19937 rng(123);
  for (int round = 0; round < 300; ++round) {
    TBmpLayout s;
    s.width = int(rng() % 40) + 1;
    s.height = int(rng() % 40) + 1;
    if (rng() % 4 == 0) s.height = -s.height;
    const bool four = rng() % 2;
    s.bits = four ? 4 : 8;
    s.compression = four ? 2 : 1;
    s.palette = GreyPalette(four ? 16 : 256);
    s.pixels.resize(rng() % 300);
    for (auto& v : s.pixels) v = uint8_t(rng() % 4 == 0 ? rng() % 3 : rng());
    TRasterBitmap b;
    try {
      b = Load(BuildBmp(s));
    } catch (const EQuorvaneError&) {
      continue;
    }
    EXPECT_EQ(b.Width(), s.width);
  }
}

TEST(BmpFile, ReadsSixteenBitBitfields) {
  // 2 x 1 pixels, 5-6-5: pure red and pure green.
  TBmpLayout s;
  s.width = 2;
  s.height = 1;
  s.bits = 16;
  s.compression = 3;
  Put32(s.extra, 0xF800);
  Put32(s.extra, 0x07E0);
  Put32(s.extra, 0x001F);
  Put16(s.pixels, 0xF800);
  Put16(s.pixels, 0x07E0);
  TRasterBitmap b = Load(BuildBmp(s));
  EXPECT_EQ(b.PixelFormat(), TPixelFormat::Bit16);
  EXPECT_EQ(Pixel(b, 0, 0), MakeTriple(255, 0, 0));
  EXPECT_EQ(Pixel(b, 1, 0), MakeTriple(0, 255, 0));

  // 5-5-5 masks give a 15-bit bitmap.
  s.extra.clear();
  Put32(s.extra, 0x7C00);
  Put32(s.extra, 0x03E0);
  Put32(s.extra, 0x001F);
  b = Load(BuildBmp(s));
  EXPECT_EQ(b.PixelFormat(), TPixelFormat::Bit15);

  // 4-4-4: widened to 24-bit, each nibble n becoming n * 17.
  s.extra.clear();
  Put32(s.extra, 0x0F00);
  Put32(s.extra, 0x00F0);
  Put32(s.extra, 0x000F);
  s.pixels.clear();
  Put16(s.pixels, 0x0F31);
  Put16(s.pixels, 0x00A0);
  b = Load(BuildBmp(s));
  EXPECT_EQ(b.PixelFormat(), TPixelFormat::Bit24);
  EXPECT_EQ(Pixel(b, 0, 0), MakeTriple(255, 51, 17));
  EXPECT_EQ(Pixel(b, 1, 0), MakeTriple(0, 170, 0));
}

TEST(BmpFile, SixteenBitWithoutMasksIs555) {
  TBmpLayout s;
  s.width = 1;
  s.height = 1;
  s.bits = 16;
  Put16(s.pixels, 0x7C00);
  Put16(s.pixels, 0);
  const TRasterBitmap b = Load(BuildBmp(s));
  EXPECT_EQ(b.PixelFormat(), TPixelFormat::Bit15);
  EXPECT_EQ(Pixel(b, 0, 0), MakeTriple(255, 0, 0));
}

TEST(BmpFile, ReadsThirtyTwoBitBitfields) {
  // Red in the top byte, green in bits 4-11, blue in bits 16-23 (like the
  // BMP Suite's rgb32bf) and no alpha.
  TBmpLayout s;
  s.width = 1;
  s.height = 1;
  s.bits = 32;
  s.compression = 3;
  Put32(s.extra, 0xFF000000u);
  Put32(s.extra, 0x00000FF0u);
  Put32(s.extra, 0x00FF0000u);
  Put32(s.pixels, 0x12345670u);
  TRasterBitmap b = Load(BuildBmp(s));
  EXPECT_EQ(b.PixelFormat(), TPixelFormat::Bit32);
  EXPECT_EQ(Pixel(b, 0, 0), MakeTriple(0x12, 0x67, 0x34));
  EXPECT_EQ(b.Scanline(0)[3], 0);

  // Standard masks: the bytes as they are.
  s.extra.clear();
  Put32(s.extra, 0xFF0000);
  Put32(s.extra, 0xFF00);
  Put32(s.extra, 0xFF);
  b = Load(BuildBmp(s));
  EXPECT_EQ(Pixel(b, 0, 0), MakeTriple(0x34, 0x56, 0x70));
}

TEST(BmpFile, ReadsMasksInsideV4AndV5Headers) {
  for (const uint32_t size : {52u, 56u, 108u, 124u}) {
    TBmpLayout s;
    s.header_size = size;
    s.width = 1;
    s.height = 1;
    s.bits = 32;
    s.compression = 3;
    Put32(s.in_header, 0x000000FF);  // red in the low byte
    Put32(s.in_header, 0x0000FF00);
    Put32(s.in_header, 0x00FF0000);
    Put32(s.in_header, 0xFF000000u);  // alpha (ignored for 52)
    Put32(s.pixels, 0x80332211u);
    const TRasterBitmap b = Load(BuildBmp(s));
    EXPECT_EQ(Pixel(b, 0, 0), MakeTriple(0x11, 0x22, 0x33)) << size;
    EXPECT_EQ(b.Scanline(0)[3], size >= 56 ? 0x80 : 0) << size;
  }
}

TEST(BmpFile, ReadsOs2CoreHeaders) {
  TBmpLayout s;
  s.header_size = 12;
  s.width = 3;
  s.height = 1;
  s.bits = 8;
  s.palette = GreyPalette(256, 3);
  s.palette[3 * 200] = 1;  // blue of entry 200
  s.pixels = {200, 1, 2, 0};
  const TRasterBitmap b = Load(BuildBmp(s));
  ASSERT_EQ(b.PixelFormat(), TPixelFormat::Bit8);
  EXPECT_EQ(Pixel(b, 0, 0), (TTriple{1, 200, 200}));
  EXPECT_EQ(Pixel(b, 2, 0), (TTriple{2, 2, 2}));
}

TEST(BmpFile, ReadsShortOs2V2Headers) {
  TBmpLayout s;
  s.header_size = 16;  // width, height, planes, bit count only
  s.width = 2;
  s.height = 1;
  s.bits = 24;
  s.pixels = {1, 2, 3, 4, 5, 6, 0, 0};
  const TRasterBitmap b = Load(BuildBmp(s));
  EXPECT_EQ(Pixel(b, 1, 0), (TTriple{4, 5, 6}));
}

TEST(BmpFile, ShortColourTablesLeaveTheRestBlack) {
  TBmpLayout s;
  s.width = 4;
  s.height = 1;
  s.colors_used = 2;
  s.palette = {10, 20, 30, 0, 40, 50, 60, 0};
  s.pixels = {0, 1, 2, 255};
  const TRasterBitmap b = Load(BuildBmp(s));
  EXPECT_EQ(Pixel(b, 0, 0), (TTriple{10, 20, 30}));
  EXPECT_EQ(Pixel(b, 1, 0), (TTriple{40, 50, 60}));
  EXPECT_EQ(Pixel(b, 2, 0), (TTriple{0, 0, 0}));
  EXPECT_EQ(Pixel(b, 3, 0), (TTriple{0, 0, 0}));
}

TEST(BmpFile, HonoursThePixelOffset) {
  TBmpLayout s;
  s.width = 1;
  s.height = 1;
  s.bits = 24;
  s.off_bits = 100;
  s.pixels = {7, 8, 9, 0};
  EXPECT_EQ(Pixel(Load(BuildBmp(s)), 0, 0), (TTriple{7, 8, 9}));
}

TEST(BmpFile, PixelOffsetInsideTheHeadersFallsBackToTheTableEnd) {
  TBmpLayout s;
  s.width = 1;
  s.height = 1;
  s.bits = 24;
  s.off_bits = 0;
  s.pixels = {7, 8, 9, 0};
  EXPECT_EQ(Pixel(Load(BuildBmp(s)), 0, 0), (TTriple{7, 8, 9}));
}

TEST(BmpFile, ReadsTwoBitsPerPixelAsFourBit) {
  TBmpLayout s;
  s.width = 5;
  s.height = 1;
  s.bits = 2;
  s.palette = {0, 0, 0, 0, 255, 0, 0, 0, 0, 255, 0, 0, 0, 0, 255, 0};
  s.pixels = {0b00011011, 0b10000000, 0, 0};
  const TRasterBitmap b = Load(BuildBmp(s));
  ASSERT_EQ(b.PixelFormat(), TPixelFormat::Bit4);
  EXPECT_EQ(Pixel(b, 0, 0), (TTriple{0, 0, 0}));
  EXPECT_EQ(Pixel(b, 1, 0), (TTriple{255, 0, 0}));
  EXPECT_EQ(Pixel(b, 2, 0), (TTriple{0, 255, 0}));
  EXPECT_EQ(Pixel(b, 3, 0), (TTriple{0, 0, 255}));
  EXPECT_EQ(Pixel(b, 4, 0), (TTriple{0, 255, 0}));
}

TEST(BmpFile, KeepsTheResolution) {
  TBmpLayout s;
  s.width = 1;
  s.height = 1;
  s.bits = 24;
  s.xppm = 3780;
  s.yppm = -5;
  s.pixels = {0, 0, 0, 0};
  const TRasterBitmap b = Load(BuildBmp(s));
  EXPECT_EQ(b.XPelsPerMeter(), 3780);
  EXPECT_EQ(b.YPelsPerMeter(), -5);
}

// ------------------------------------------------------------ bad input

TBmpLayout Valid8() {
  TBmpLayout s;
  s.width = 4;
  s.height = 2;
  s.palette = GreyPalette(256);
  s.pixels = {1, 2, 3, 4, 5, 6, 7, 8};
  return s;
}

TEST(BmpFile, RefusesBrokenHeadersWithClearMessages) {
  Bytes f = BuildBmp(Valid8());
  f[0] = 'X';
  EXPECT_NE(LoadError(f).find("BM"), std::string::npos);

  TBmpLayout s = Valid8();
  s.header_size = 66;
  EXPECT_NE(LoadError(BuildBmp(s)).find("header size 66"), std::string::npos);

  s = Valid8();
  s.planes = 2;
  EXPECT_NE(LoadError(BuildBmp(s)).find("plane"), std::string::npos);

  s = Valid8();
  s.width = -4;
  EXPECT_NE(LoadError(BuildBmp(s)).find("negative width"), std::string::npos);

  s = Valid8();
  s.bits = 3;
  EXPECT_NE(LoadError(BuildBmp(s)).find("3 bits per pixel"), std::string::npos);

  s = Valid8();
  s.compression = 2;  // RLE4 with 8 bits
  EXPECT_NE(LoadError(BuildBmp(s)).find("RLE4"), std::string::npos);

  s = Valid8();
  s.compression = 4;
  EXPECT_NE(LoadError(BuildBmp(s)).find("JPEG"), std::string::npos);
  s.compression = 5;
  EXPECT_NE(LoadError(BuildBmp(s)).find("PNG"), std::string::npos);

  s = Valid8();
  s.bits = 16;
  s.compression = 3;
  Put32(s.extra, 0xF0F0);  // not one run
  Put32(s.extra, 0x0F00);
  Put32(s.extra, 0x000F);
  EXPECT_NE(LoadError(BuildBmp(s)).find("red bit-field mask"), std::string::npos);

  s = Valid8();
  s.colors_used = 100000;
  EXPECT_NE(LoadError(BuildBmp(s)).find("colour count"), std::string::npos);

  EXPECT_FALSE(LoadError({}).empty());
  EXPECT_FALSE(LoadError({'B', 'M', 0, 0}).empty());
  f = BuildBmp(Valid8());
  f.resize(30);
  EXPECT_NE(LoadError(f).find("cut short"), std::string::npos);
}

TEST(BmpFile, RefusesAbsurdSizesWithoutAllocating) {
  TBmpLayout s;
  s.width = 3000000;
  s.height = 2000000;
  s.bits = 24;
  s.pixels.assign(1000, 0);
  EXPECT_NE(LoadError(BuildBmp(s)).find("3000000 x 2000000"), std::string::npos);

  s.width = 0x7FFFFFFF;
  s.height = -0x7FFFFFFF;
  EXPECT_FALSE(LoadError(BuildBmp(s)).empty());

  // RLE pictures beyond the cap, however few bytes describe them.
  s = TBmpLayout();
  s.width = 60000;
  s.height = 60000;
  s.compression = 1;
  s.palette = GreyPalette(256);
  s.pixels = {0, 1};
  EXPECT_NE(LoadError(BuildBmp(s)).find("Picture too large: 60000 x 60000 pixels"),
            std::string::npos);

  // No pixel data at all.
  s = Valid8();
  s.pixels.clear();
  EXPECT_NE(LoadError(BuildBmp(s)).find("missing"), std::string::npos);
}

TEST(BmpFile, TruncatedPixelDataKeepsWhatArrived) {
  TBmpLayout s;
  s.width = 2;
  s.height = 3;
  s.bits = 24;
  s.pixels = {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9};  // bottom row and half of the next
  const TRasterBitmap b = Load(BuildBmp(s));
  ASSERT_EQ(b.Height(), 3);
  EXPECT_EQ(Pixel(b, 1, 2), (TTriple{4, 5, 6}));
  EXPECT_EQ(Pixel(b, 0, 1), (TTriple{7, 8, 9}));
  EXPECT_EQ(Pixel(b, 1, 1), (TTriple{0, 0, 0}));
  EXPECT_EQ(Pixel(b, 0, 0), (TTriple{0, 0, 0}));
}

TEST(BmpFile, AFailedLoadLeavesTheBitmapUntouched) {
  TRasterBitmap b = RandomBitmap(TPixelFormat::Bit8, 5, 5, 9);
  const TRasterBitmap before = b;
  TBmpLayout s = Valid8();
  s.planes = 7;
  TByteStream stream(BuildBmp(s));
  EXPECT_THROW(LoadBitmapFromStream(b, stream), EQuorvaneError);
  EXPECT_TRUE(SamePixels(b, before));
  EXPECT_EQ(b.XPelsPerMeter(), before.XPelsPerMeter());
}

TEST(BmpFile, MutatedFilesNeverCrash) {
  std::vector<Bytes> seeds;
  for (const TPixelFormat f : {TPixelFormat::Bit1, TPixelFormat::Bit4, TPixelFormat::Bit8,
                               TPixelFormat::Bit16, TPixelFormat::Bit24, TPixelFormat::Bit32})
    seeds.push_back(Save(RandomBitmap(f, 13, 9, uint32_t(f))));
  TBmpLayout rle;
  rle.width = 9;
  rle.height = 9;
  rle.compression = 1;
  rle.palette = GreyPalette(256);
  rle.pixels = {3, 1, 0, 3, 1, 2, 3, 0, 0, 0, 0, 2, 1, 1, 4, 4, 0, 1};
  seeds.push_back(BuildBmp(rle));
  std::mt19937 rng(99);
  for (int round = 0; round < 3000; ++round) {
    Bytes f = seeds[rng() % seeds.size()];
    const int edits = 1 + int(rng() % 6);
    for (int e = 0; e < edits; ++e) {
      const size_t at = rng() % std::min<size_t>(f.size(), rng() % 2 ? 70 : f.size());
      f[at] = uint8_t(rng() % 3 == 0 ? 0xFF : rng());
    }
    if (rng() % 5 == 0) f.resize(rng() % f.size());
    try {
      Load(f);
    } catch (const EQuorvaneError&) {
    }
  }
}

// ------------------------------------------------------------ resolution

TEST(BmpResolution, SetThenGet) {
  TRasterBitmap b = RandomBitmap(TPixelFormat::Bit24, 7, 3, 11);
  const TRasterBitmap before = b;
  SetResolution(b, 3937, 3937);
  const TResolution r = GetResolution(b);
  EXPECT_EQ(r.X, 3937);
  EXPECT_EQ(r.Y, 3937);
  EXPECT_TRUE(SamePixels(b, before));
}

TEST(BmpResolution, WorksForEveryFormat) {
  for (const TPixelFormat f :
       {TPixelFormat::Bit1, TPixelFormat::Bit4, TPixelFormat::Bit8, TPixelFormat::Bit15,
        TPixelFormat::Bit16, TPixelFormat::Bit24, TPixelFormat::Bit32, TPixelFormat::Device}) {
    TRasterBitmap b = RandomBitmap(f, 3, 2, 3);
    const TRasterBitmap before = b;
    SetResolution(b, 100, -200);
    EXPECT_EQ(b.PixelFormat(), f);
    EXPECT_EQ(GetResolution(b).X, 100);
    EXPECT_EQ(GetResolution(b).Y, -200);
    EXPECT_EQ(b.XPelsPerMeter(), 100);
    EXPECT_TRUE(SamePixels(b, before));
    if (IsPaletteFormat(f)) {
      EXPECT_TRUE(
          std::equal(b.ColorTable().begin(), b.ColorTable().end(), before.ColorTable().begin()));
    }
  }
}

TEST(BmpResolution, EmptyBitmap) {
  TRasterBitmap b;
  SetResolution(b, 5, 6);
  EXPECT_EQ(GetResolution(b).X, 5);
  EXPECT_EQ(GetResolution(b).Y, 6);
}

// ------------------------------------------------------------ corpus

// A reference rendering by netpbm's bmptopnm, when it is installed: the
// picture as rows of blue, green, red. Empty when unavailable.
std::vector<uint8_t> ReferenceRendering(const std::string& path, int& width, int& height) {
  if (std::system("command -v bmptopnm >/dev/null 2>&1") != 0) return {};
  const std::string command = "bmptopnm '" + path + "' 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return {};
  std::vector<uint8_t> data;
  uint8_t buffer[65536];
  size_t n;
  while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
    data.insert(data.end(), buffer, buffer + n);
  pclose(pipe);
  // Header: magic, width, height, [maxval], one whitespace byte.
  size_t at = 0;
  auto token = [&]() {
    while (at < data.size() && (isspace(data[at]) || data[at] == '#')) {
      if (data[at] == '#')
        while (at < data.size() && data[at] != '\n') ++at;
      else
        ++at;
    }
    std::string t;
    while (at < data.size() && !isspace(data[at])) t += char(data[at++]);
    return t;
  };
  const std::string magic = token();
  if (magic != "P4" && magic != "P5" && magic != "P6") return {};
  width = std::stoi(token());
  height = std::stoi(token());
  const int maxval = magic == "P4" ? 1 : std::stoi(token());
  ++at;
  if (maxval != 255 && magic != "P4") return {};
  std::vector<uint8_t> out(size_t(width) * height * 3);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      uint8_t r, g, b;
      if (magic == "P4") {
        const size_t stride = (size_t(width) + 7) / 8;
        const uint8_t byte =
            at + y * stride + x / 8 < data.size() ? data[at + y * stride + x / 8] : 0;
        r = g = b = ((byte >> (7 - x % 8)) & 1) ? 0 : 255;
      } else if (magic == "P5") {
        const size_t i = at + size_t(y) * width + x;
        r = g = b = i < data.size() ? data[i] : 0;
      } else {
        const size_t i = at + (size_t(y) * width + x) * 3;
        r = i + 2 < data.size() ? data[i] : 0;
        g = i + 2 < data.size() ? data[i + 1] : 0;
        b = i + 2 < data.size() ? data[i + 2] : 0;
      }
      const size_t o = (size_t(y) * width + x) * 3;
      out[o] = b, out[o + 1] = g, out[o + 2] = r;
    }
  return out;
}

// Largest component difference between the bitmap and the reference.
int CompareWithReference(const TRasterBitmap& b, const std::string& path) {
  int w = 0, h = 0;
  const std::vector<uint8_t> ref = ReferenceRendering(path, w, h);
  if (ref.empty()) return -1;
  EXPECT_EQ(w, b.Width());
  EXPECT_EQ(h, b.Height());
  if (w != b.Width() || h != b.Height()) return 999;
  int worst = 0;
  std::vector<uint8_t> row(size_t(w) * 3);
  for (int y = 0; y < h; ++y) {
    ReadRowAs24(b, y, 0, w, row.data());
    for (size_t i = 0; i < row.size(); ++i)
      worst = std::max(worst, std::abs(int(row[i]) - int(ref[size_t(y) * w * 3 + i])));
  }
  return worst;
}

bool SameColours(const TRasterBitmap& a, const TRasterBitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x)
      if (!(Pixel(a, x, y) == Pixel(b, x, y))) return false;
  return true;
}

TEST(BmpCorpus, EveryTopLevelFileLoads) {
  if (!HaveCorpus()) QUORVANE_CORPUS_ABSENT(CorpusDir());
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(CorpusDir())) {
    if (!entry.is_regular_file()) continue;
    ++files;
    TRasterBitmap b;
    ASSERT_NO_THROW(DecodeBmp(ReadWholeFile(entry.path().string()), b)) << entry.path();
    EXPECT_FALSE(b.Empty()) << entry.path();
  }
  EXPECT_GE(files, 20);
}

TEST(BmpCorpus, MatchesReferenceRenderings) {
  if (!HaveCorpus()) QUORVANE_CORPUS_ABSENT(CorpusDir());
  QUORVANE_TOOL_OR_SKIP("bmptopnm");
  int compared = 0;
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(CorpusDir()))
    if (entry.is_regular_file()) names.push_back(entry.path().filename().string());
  for (const char* q : {"questionable/pal2.bmp", "questionable/pal8offs.bmp",
                        "questionable/rgb32fakealpha.bmp", "questionable/rgba16-4444.bmp"})
    names.push_back(q);
  for (const std::string& name : names) {
    // bmptopnm ignores bit-field masks that follow a 40-byte header; those
    // files are checked against rgb24.bmp below.
    if (name == "rgb16-565.bmp" || name == "rgb16-565pal.bmp" || name == "rgb32bf.bmp") continue;
    const TRasterBitmap b = LoadCorpus(name);
    const int worst = CompareWithReference(b, CorpusDir() + "/" + name);
    // The tool is there, so a file it cannot render is a failure, not a skip.
    if (worst < 0) {
      ADD_FAILURE() << "bmptopnm rendered nothing for " << name;
      continue;
    }
    ++compared;
    // 5-bit components: bmptopnm scales with rounding, we repeat the bits;
    // the two differ by at most 1.
    EXPECT_LE(worst, name == "rgb16.bmp" ? 1 : 0) << name;
  }
  EXPECT_GE(compared, 25);
}

TEST(BmpCorpus, VariantsOfOnePictureAgree) {
  if (!HaveCorpus()) QUORVANE_CORPUS_ABSENT(CorpusDir());
  const TRasterBitmap pal8 = LoadCorpus("pal8.bmp");
  EXPECT_EQ(pal8.PixelFormat(), TPixelFormat::Bit8);
  EXPECT_EQ(pal8.Width(), 127);
  EXPECT_EQ(pal8.Height(), 64);
  for (const char* name : {"pal8-0.bmp", "pal8rle.bmp", "pal8topdown.bmp", "pal8os2.bmp",
                           "pal8v4.bmp", "pal8v5.bmp", "questionable/pal8offs.bmp",
                           "questionable/pal8os2v2.bmp", "questionable/pal8oversizepal.bmp"})
    EXPECT_TRUE(SameColours(pal8, LoadCorpus(name))) << name;
  const TRasterBitmap rgb24 = LoadCorpus("rgb24.bmp");
  for (const char* name :
       {"rgb24pal.bmp", "rgb32.bmp", "rgb32bf.bmp", "questionable/rgb32fakealpha.bmp"})
    EXPECT_TRUE(SameColours(rgb24, LoadCorpus(name))) << name;
  // 5-6-5 pictures: within the step of their components.
  for (const char* name : {"rgb16-565.bmp", "rgb16-565pal.bmp", "rgb16.bmp"}) {
    const TRasterBitmap b = LoadCorpus(name);
    int worst = 0;
    for (int y = 0; y < b.Height(); ++y)
      for (int x = 0; x < b.Width(); ++x) {
        const TTriple p = Pixel(b, x, y), q = Pixel(rgb24, x, y);
        worst = std::max({worst, std::abs(p.Red - q.Red), std::abs(p.Green - q.Green),
                          std::abs(p.Blue - q.Blue)});
      }
    EXPECT_LE(worst, 8) << name;
  }
  // Alpha masks: the alpha lands in the fourth byte; opaque pixels show
  // the picture, transparent ones keep their stored colour.
  const TRasterBitmap rgba = LoadCorpus("questionable/rgba32.bmp");
  ASSERT_EQ(rgba.PixelFormat(), TPixelFormat::Bit32);
  int opaque = 0, transparent = 0;
  for (int y = 0; y < rgba.Height(); ++y)
    for (int x = 0; x < rgba.Width(); ++x) {
      const uint8_t alpha = rgba.Scanline(y)[4 * x + 3];
      if (alpha == 255) {
        ++opaque;
        EXPECT_EQ(Pixel(rgba, x, y), Pixel(rgb24, x, y)) << x << "," << y;
      } else {
        ++transparent;
      }
    }
  EXPECT_GT(opaque, 1000);
  EXPECT_GT(transparent, 100);
  EXPECT_TRUE(SameColours(LoadCorpus("pal4.bmp"), LoadCorpus("pal4rle.bmp")));
  EXPECT_EQ(LoadCorpus("pal4rle.bmp").PixelFormat(), TPixelFormat::Bit4);
  EXPECT_EQ(LoadCorpus("rgb16.bmp").PixelFormat(), TPixelFormat::Bit15);
  EXPECT_EQ(LoadCorpus("rgb16-565.bmp").PixelFormat(), TPixelFormat::Bit16);
  EXPECT_EQ(LoadCorpus("rgb16-565pal.bmp").PixelFormat(), TPixelFormat::Bit16);
  EXPECT_TRUE(SamePixels(LoadCorpus("rgb16-565.bmp"), LoadCorpus("rgb16-565pal.bmp")));
  const TRasterBitmap nonsquare = LoadCorpus("pal8nonsquare.bmp");
  EXPECT_NE(nonsquare.XPelsPerMeter(), nonsquare.YPelsPerMeter());
  const TResolution r = GetResolution(nonsquare);
  EXPECT_EQ(r.X, nonsquare.XPelsPerMeter());
  EXPECT_EQ(r.Y, nonsquare.YPelsPerMeter());
}

TEST(BmpCorpus, QuestionableFiles) {
  if (!HaveCorpus()) QUORVANE_CORPUS_ABSENT(CorpusDir());
  // Loaded: 2 bits per pixel, RLE4 with deltas, a gap before the pixels,
  // the OS/2 2.x header, 300 colours, fake alpha, 4-4-4-4 and alpha masks.
  for (const char* name :
       {"pal2.bmp", "pal4rletrns.bmp", "pal8offs.bmp", "pal8os2v2.bmp", "pal8oversizepal.bmp",
        "rgb32fakealpha.bmp", "rgba16-4444.bmp", "rgba32.bmp"}) {
    TRasterBitmap b;
    EXPECT_NO_THROW(b = LoadCorpus(std::string("questionable/") + name)) << name;
    EXPECT_EQ(b.Width(), 127) << name;
    EXPECT_EQ(b.Height(), 64) << name;
  }
  // The RLE4 file with deltas: where it has pixels it is pal4.
  const TRasterBitmap trns = LoadCorpus("questionable/pal4rletrns.bmp");
  EXPECT_EQ(trns.PixelFormat(), TPixelFormat::Bit4);
  // Refused: BI_JPEG and BI_PNG embed another format.
  for (const char* name : {"rgb24jpeg.bmp", "rgb24png.bmp"}) {
    TRasterBitmap b;
    try {
      b = LoadCorpus(std::string("questionable/") + name);
      ADD_FAILURE() << name << " loaded";
    } catch (const EQuorvaneError& e) {
      EXPECT_NE(std::string(e.what()).find("Unsupported bitmap file"), std::string::npos)
          << e.what();
    }
  }
}

TEST(BmpCorpus, MalformedFilesFailCleanlyOrGivePartialPictures) {
  if (!HaveCorpus()) QUORVANE_CORPUS_ABSENT(CorpusDir());
  auto outcome = [](const std::string& name) -> std::string {
    try {
      TRasterBitmap b = LoadCorpus("malformed/" + name);
      return "loaded";
    } catch (const EQuorvaneError& e) {
      return e.what();
    }
  };
  for (const auto& entry : std::filesystem::directory_iterator(CorpusDir() + "/malformed"))
    (void)outcome(entry.path().filename().string());  // never crashes nor hangs
  EXPECT_NE(outcome("badbitcount.bmp").find("30000 bits per pixel"), std::string::npos);
  EXPECT_NE(outcome("badheadersize.bmp").find("header size 66"), std::string::npos);
  EXPECT_NE(outcome("badplanes.bmp").find("plane count"), std::string::npos);
  EXPECT_NE(outcome("badwidth.bmp").find("negative width"), std::string::npos);
  EXPECT_NE(outcome("reallybig.bmp").find("3000000 x 2000000"), std::string::npos);
  EXPECT_NE(outcome("badpalettesize.bmp").find("colour count"), std::string::npos);
  // Partial or tolerated: pixels past the palette read black, RLE past the
  // image is cut, RLE top-down is decoded top-down, a short file keeps its
  // rows.
  EXPECT_EQ(outcome("pal8badindex.bmp"), "loaded");
  EXPECT_EQ(outcome("badrle.bmp"), "loaded");
  EXPECT_EQ(outcome("rletopdown.bmp"), "loaded");
  EXPECT_EQ(outcome("shortfile.bmp"), "loaded");
  const TRasterBitmap shortfile = LoadCorpus("malformed/shortfile.bmp");
  const TRasterBitmap full = LoadCorpus("pal1.bmp");
  // The rows present (the bottom ones) agree with the complete file.
  for (int y = shortfile.Height() - 1; y >= shortfile.Height() - 10; --y)
    EXPECT_EQ(std::memcmp(shortfile.Scanline(y), full.Scanline(y), 15), 0) << y;
}

}  // namespace
}  // namespace quorvane
