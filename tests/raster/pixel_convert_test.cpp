#include "raster/pixel_convert.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <random>
#include <set>
#include <vector>

#include "raster/error.h"

namespace quorvane {
namespace {

const TPixelFormat kAllFormats[] = {TPixelFormat::Bit1,  TPixelFormat::Bit4,  TPixelFormat::Bit8,
                                    TPixelFormat::Bit15, TPixelFormat::Bit16, TPixelFormat::Bit24,
                                    TPixelFormat::Bit32};

TTriple Pixel(const TRasterBitmap& b, int x, int y) {
  uint8_t p[3];
  ReadRowAs24(b, y, x, 1, p);
  return {p[0], p[1], p[2]};
}

void SetPixel(TRasterBitmap& b, int x, int y, TTriple t) {
  const uint8_t p[3] = {t.Blue, t.Green, t.Red};
  WriteRowFrom24(b, y, x, 1, p);
}

std::vector<TTriple> Colours(const TRasterBitmap& b) {
  std::vector<TTriple> out;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) out.push_back(Pixel(b, x, y));
  return out;
}

TRasterBitmap RandomBitmap(TPixelFormat format, int w, int h, uint32_t seed) {
  std::mt19937 rng(seed);
  TRasterBitmap b;
  b.Reset(format, w, h);
  for (int y = 0; y < h; ++y)
    for (size_t i = 0; i < b.Stride(); ++i) b.Scanline(y)[i] = uint8_t(rng());
  for (auto& q : b.ColorTable()) q = {uint8_t(rng()), uint8_t(rng()), uint8_t(rng()), 0};
  return b;
}

TRasterBitmap RandomTrueColour(int w, int h, uint32_t seed) {
  return RandomBitmap(TPixelFormat::Bit24, w, h, seed);
}

int Distance(TTriple a, TTriple b) {
  const int dr = a.Red - b.Red, dg = a.Green - b.Green, db = a.Blue - b.Blue;
  return dr * dr + dg * dg + db * db;
}

// ------------------------------------------------------------ rows

TEST(PixelConvert, ReadsEveryFormatAs24) {
  TRasterBitmap b;
  b.Reset(TPixelFormat::Bit1, 10, 1);
  b.ColorTable()[0] = {1, 2, 3, 0};
  b.ColorTable()[1] = {4, 5, 6, 0};
  b.Scanline(0)[0] = 0b01000000;
  b.Scanline(0)[1] = 0b01000000;
  EXPECT_EQ(Pixel(b, 1, 0), (TTriple{4, 5, 6}));
  EXPECT_EQ(Pixel(b, 0, 0), (TTriple{1, 2, 3}));
  EXPECT_EQ(Pixel(b, 9, 0), (TTriple{4, 5, 6}));

  b.Reset(TPixelFormat::Bit4, 3, 1);
  b.ColorTable()[0xA] = {10, 11, 12, 0};
  b.ColorTable()[0x3] = {3, 3, 3, 0};
  b.Scanline(0)[0] = 0x3A;
  b.Scanline(0)[1] = 0xA0;
  EXPECT_EQ(Pixel(b, 0, 0), (TTriple{3, 3, 3}));
  EXPECT_EQ(Pixel(b, 1, 0), (TTriple{10, 11, 12}));
  EXPECT_EQ(Pixel(b, 2, 0), (TTriple{10, 11, 12}));

  b.Reset(TPixelFormat::Bit15, 1, 1);
  b.Scanline(0)[0] = 0x1F;  // blue 31
  b.Scanline(0)[1] = 0x80;  // bit 15 ignored
  EXPECT_EQ(Pixel(b, 0, 0), (TTriple{255, 0, 0}));

  b.Reset(TPixelFormat::Bit16, 1, 1);
  b.Scanline(0)[0] = 0xE0;  // green 63
  b.Scanline(0)[1] = 0x07;
  EXPECT_EQ(Pixel(b, 0, 0), (TTriple{0, 255, 0}));

  b.Reset(TPixelFormat::Bit32, 2, 1);
  const uint8_t p[8] = {1, 2, 3, 99, 4, 5, 6, 98};
  std::memcpy(b.Scanline(0), p, 8);
  uint8_t out[6];
  ReadRowAs24(b, 0, 0, 2, out);
  EXPECT_EQ(std::vector<uint8_t>(out, out + 6), (std::vector<uint8_t>{1, 2, 3, 4, 5, 6}));
}

TEST(PixelConvert, RowRangesAreChecked) {
  TRasterBitmap b;
  b.Reset(TPixelFormat::Bit24, 4, 2);
  uint8_t buffer[30];
  EXPECT_THROW(ReadRowAs24(b, 2, 0, 1, buffer), EQuorvaneError);
  EXPECT_THROW(ReadRowAs24(b, -1, 0, 1, buffer), EQuorvaneError);
  EXPECT_THROW(ReadRowAs24(b, 0, 2, 3, buffer), EQuorvaneError);
  EXPECT_THROW(WriteRowFrom24(b, 0, -1, 2, buffer), EQuorvaneError);
  EXPECT_NO_THROW(ReadRowAs24(b, 1, 4, 0, buffer));
}

TEST(PixelConvert, SubRowsLeaveTheirNeighboursAlone) {
  for (const TPixelFormat f : kAllFormats) {
    TRasterBitmap b = RandomBitmap(f, 13, 1, 3);
    if (IsPaletteFormat(f)) {
      // Distinct palette colours so every index reads back.
      for (size_t i = 0; i < b.ColorTable().size(); ++i)
        b.ColorTable()[i] = {uint8_t(i), uint8_t(255 - i), 7, 0};
    }
    const std::vector<TTriple> before = Colours(b);
    std::vector<uint8_t> row(3 * 5);
    ReadRowAs24(b, 0, 7, 5, row.data());
    // Write pixels 7..11 onto 3..7 and check the rest kept.
    WriteRowFrom24(b, 0, 3, 5, row.data());
    const std::vector<TTriple> after = Colours(b);
    for (int x = 0; x < 13; ++x) {
      const TTriple expected = (x >= 3 && x < 8) ? before[size_t(x + 4)] : before[size_t(x)];
      EXPECT_EQ(after[size_t(x)], expected) << int(f) << " x " << x;
    }
  }
}

TEST(PixelConvert, FifteenAndSixteenBitSurviveTheTripThrough24) {
  TRasterBitmap b15, b16;
  b15.Reset(TPixelFormat::Bit15, 32768, 1);
  b16.Reset(TPixelFormat::Bit16, 65536, 1);
  for (int v = 0; v < 32768; ++v)
    b15.Scanline(0)[2 * v] = uint8_t(v), b15.Scanline(0)[2 * v + 1] = uint8_t(v >> 8);
  for (int v = 0; v < 65536; ++v)
    b16.Scanline(0)[2 * v] = uint8_t(v), b16.Scanline(0)[2 * v + 1] = uint8_t(v >> 8);
  const TRasterBitmap o15 = b15, o16 = b16;
  b15.SetPixelFormat(TPixelFormat::Bit24);
  b16.SetPixelFormat(TPixelFormat::Bit24);
  b15.SetPixelFormat(TPixelFormat::Bit15);
  b16.SetPixelFormat(TPixelFormat::Bit16);
  EXPECT_EQ(std::memcmp(b15.Bits(), o15.Bits(), 65536), 0);
  EXPECT_EQ(std::memcmp(b16.Bits(), o16.Bits(), 131072), 0);
}

TEST(PixelConvert, ReducingTo15And16BitPicksTheNearestLevel) {
  // 15-bit has five bits for each channel; 16-bit six for green.
  for (const auto& [format, green_bits] :
       {std::pair{TPixelFormat::Bit15, 5}, {TPixelFormat::Bit16, 6}}) {
    TRasterBitmap b;
    b.Reset(format, 256, 1);
    std::vector<uint8_t> row(256 * 3);
    for (int c = 0; c < 256; ++c) row[3 * c] = row[3 * c + 1] = row[3 * c + 2] = uint8_t(c);
    WriteRowFrom24(b, 0, 0, 256, row.data());
    std::vector<uint8_t> back(256 * 3);
    ReadRowAs24(b, 0, 0, 256, back.data());
    for (int c = 0; c < 256; ++c) {
      for (int channel = 0; channel < 3; ++channel) {
        // No level lies nearer to c than the one chosen.
        const int bits = channel == 1 ? green_bits : 5;
        const int got = back[3 * c + channel];
        for (int v = 0; v < (1 << bits); ++v) {
          const int level = (v << (8 - bits)) | (v >> (2 * bits - 8));
          EXPECT_LE(std::abs(got - c), std::abs(level - c)) << int(format) << " " << c;
        }
      }
    }
  }
}

// ------------------------------------------------------------ nearest colour

TEST(PixelConvert, WritesThePaletteColourNearest) {
  TRasterBitmap b;
  b.Reset(TPixelFormat::Bit4, 4, 1);
  auto table = b.ColorTable();
  std::fill(table.begin(), table.end(), TRGBQuad{0, 0, 0, 0});
  table[1] = {0, 0, 200, 0};  // red 200
  table[2] = {200, 0, 0, 0};  // blue 200
  table[3] = {255, 255, 255, 0};
  SetPixel(b, 0, 0, MakeTriple(180, 20, 10));
  SetPixel(b, 1, 0, MakeTriple(10, 10, 250));
  SetPixel(b, 2, 0, MakeTriple(200, 200, 200));
  SetPixel(b, 3, 0, MakeTriple(5, 5, 5));
  EXPECT_EQ(b.Scanline(0)[0], 0x12);
  EXPECT_EQ(b.Scanline(0)[1], 0x30);  // ties among the black entries go to 0
}

TEST(PixelConvert, NearestColourMatchesABruteForceSearch) {
  std::mt19937 rng(2024);
  for (int round = 0; round < 6; ++round) {
    TRasterBitmap b;
    b.Reset(TPixelFormat::Bit8, 256, 64);
    auto table = b.ColorTable();
    // Clustered palettes (with duplicates) are the hard case for pruning.
    for (auto& q : table) {
      const int base = round % 2 ? 100 : 0;
      const int spread = round < 2 ? 256 : 40;
      q = {uint8_t(base + rng() % spread % (256 - base)),
           uint8_t(base + rng() % spread % (256 - base)),
           uint8_t(base + rng() % spread % (256 - base)), 0};
    }
    if (round == 5) table[17] = table[3];
    std::vector<uint8_t> row(256 * 3);
    for (int y = 0; y < 64; ++y) {
      for (auto& v : row) v = uint8_t(rng());
      WriteRowFrom24(b, y, 0, 256, row.data());
      for (int x = 0; x < 256; ++x) {
        const TTriple want{row[3 * x], row[3 * x + 1], row[3 * x + 2]};
        int best = 0;
        for (int i = 1; i < 256; ++i) {
          const TTriple c{table[i].Blue, table[i].Green, table[i].Red};
          const TTriple bc{table[best].Blue, table[best].Green, table[best].Red};
          if (Distance(c, want) < Distance(bc, want)) best = i;
        }
        ASSERT_EQ(b.Scanline(y)[x], best) << "round " << round;
      }
    }
  }
}

TEST(PixelConvert, NearestColourFollowsPaletteChanges) {
  TRasterBitmap b;
  b.Reset(TPixelFormat::Bit8, 1, 1);
  auto table = b.ColorTable();
  std::fill(table.begin(), table.end(), TRGBQuad{0, 0, 0, 0});
  table[5] = {10, 10, 10, 0};
  SetPixel(b, 0, 0, MakeTriple(10, 10, 10));
  EXPECT_EQ(b.Scanline(0)[0], 5);
  table[9] = {10, 10, 10, 0};
  table[5] = {0, 0, 0, 0};
  SetPixel(b, 0, 0, MakeTriple(10, 10, 10));
  EXPECT_EQ(b.Scanline(0)[0], 9);
}

// ------------------------------------------------------------ SetPixelFormat

TEST(PixelConvert, EveryFormatTo24KeepsEveryColour) {
  for (const TPixelFormat f : kAllFormats) {
    TRasterBitmap b = RandomBitmap(f, 19, 5, uint32_t(f) + 40);
    b.SetPelsPerMeter(11, 22);
    const std::vector<TTriple> before = Colours(b);
    b.SetPixelFormat(TPixelFormat::Bit24);
    EXPECT_EQ(b.PixelFormat(), TPixelFormat::Bit24);
    EXPECT_EQ(Colours(b), before) << int(f);
    EXPECT_EQ(b.XPelsPerMeter(), 11);
    EXPECT_EQ(b.YPelsPerMeter(), 22);
  }
}

TEST(PixelConvert, TrueColourTo32AndBackIsExact) {
  TRasterBitmap b = RandomTrueColour(17, 4, 8);
  const std::vector<TTriple> before = Colours(b);
  b.SetPixelFormat(TPixelFormat::Bit32);
  EXPECT_EQ(b.Scanline(0)[3], 0);
  EXPECT_EQ(Colours(b), before);
  b.SetPixelFormat(TPixelFormat::Device);
  EXPECT_EQ(Colours(b), before);
  b.SetPixelFormat(TPixelFormat::Bit24);
  EXPECT_EQ(Colours(b), before);
}

TEST(PixelConvert, ThirtyTwoBitToDeviceKeepsTheBytes) {
  TRasterBitmap b = RandomBitmap(TPixelFormat::Bit32, 5, 3, 4);
  const TRasterBitmap before = b;
  b.SetPixelFormat(TPixelFormat::Device);
  b.SetPixelFormat(TPixelFormat::Bit32);
  EXPECT_EQ(std::memcmp(b.Bits(), before.Bits(), before.Stride() * 3), 0);
}

TEST(PixelConvert, ToEightBitIsExactUpTo256Colours) {
  std::mt19937 rng(5);
  std::vector<TTriple> colours(256);
  for (auto& c : colours) c = {uint8_t(rng()), uint8_t(rng()), uint8_t(rng())};
  colours[0] = {0, 0, 0};
  TRasterBitmap b;
  b.Reset(TPixelFormat::Bit24, 64, 64);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) SetPixel(b, x, y, colours[(x * 7 + y * 13) % 256]);
  const std::vector<TTriple> before = Colours(b);
  for (const TPixelFormat f : {TPixelFormat::Bit24, TPixelFormat::Bit32, TPixelFormat::Bit15}) {
    TRasterBitmap c = b;
    if (f == TPixelFormat::Bit15) {
      c.SetPixelFormat(f);  // colours become 15-bit ones: compare with that
    }
    const std::vector<TTriple> expected = Colours(c);
    c.SetPixelFormat(TPixelFormat::Bit8);
    EXPECT_EQ(c.PixelFormat(), TPixelFormat::Bit8);
    EXPECT_EQ(Colours(c), expected) << int(f);
  }
}

TEST(PixelConvert, ToEightBitQuantizesManyColoursWell) {
  // A smooth two-dimensional gradient with 4096 colours.
  TRasterBitmap b;
  b.Reset(TPixelFormat::Bit24, 128, 128);
  for (int y = 0; y < 128; ++y)
    for (int x = 0; x < 128; ++x)
      SetPixel(b, x, y, MakeTriple(uint8_t(x * 2), uint8_t(y * 2), uint8_t(255 - x - y / 2)));
  const std::vector<TTriple> before = Colours(b);
  b.SetPixelFormat(TPixelFormat::Bit8);
  const std::vector<TTriple> after = Colours(b);
  double total = 0;
  int worst = 0;
  for (size_t i = 0; i < before.size(); ++i) {
    const int d = Distance(before[i], after[i]);
    total += d;
    worst = std::max(worst, d);
  }
  const double rms = std::sqrt(total / before.size());
  EXPECT_LT(rms, 8.0);
  EXPECT_LT(worst, 24 * 24);
  // Every pixel is its nearest palette colour.
  const auto table = b.ColorTable();
  for (int y = 0; y < 128; y += 7)
    for (int x = 0; x < 128; x += 5) {
      const TTriple p = before[size_t(y) * 128 + x];
      int best = 1 << 30;
      for (const TRGBQuad& q : table) best = std::min(best, Distance({q.Blue, q.Green, q.Red}, p));
      EXPECT_EQ(Distance(after[size_t(y) * 128 + x], p), best);
    }
}

TEST(PixelConvert, ToEightBitHandlesLargeTrueColourImages) {
  // More than 4M pixels takes the dense histogram.
  TRasterBitmap b = RandomTrueColour(2100, 2100, 77);
  b.SetPixelFormat(TPixelFormat::Bit8);
  EXPECT_EQ(b.PixelFormat(), TPixelFormat::Bit8);
  std::set<uint32_t> distinct;
  for (const TRGBQuad& q : b.ColorTable())
    distinct.insert(uint32_t(q.Red) << 16 | q.Green << 8 | q.Blue);
  EXPECT_GT(distinct.size(), 200u);
}

TEST(PixelConvert, ToOneBitIsBlackAndWhite) {
  TRasterBitmap b;
  b.Reset(TPixelFormat::Bit24, 3, 1);
  SetPixel(b, 0, 0, MakeTriple(20, 30, 40));
  SetPixel(b, 1, 0, MakeTriple(200, 220, 250));
  SetPixel(b, 2, 0, MakeTriple(255, 0, 0));
  b.SetPixelFormat(TPixelFormat::Bit1);
  EXPECT_EQ(b.ColorTable()[0], (TRGBQuad{0, 0, 0, 0}));
  EXPECT_EQ(b.ColorTable()[1], (TRGBQuad{255, 255, 255, 0}));
  EXPECT_EQ(Pixel(b, 0, 0), MakeTriple(0, 0, 0));
  EXPECT_EQ(Pixel(b, 1, 0), MakeTriple(255, 255, 255));
  EXPECT_EQ(Pixel(b, 2, 0), MakeTriple(0, 0, 0));  // 255^2 vs 2 * 255^2
}

TEST(PixelConvert, ToFourBitUsesTheVgaColours) {
  TRasterBitmap b;
  b.Reset(TPixelFormat::Bit24, 3, 1);
  SetPixel(b, 0, 0, MakeTriple(250, 5, 5));
  SetPixel(b, 1, 0, MakeTriple(190, 190, 200));
  SetPixel(b, 2, 0, MakeTriple(0, 120, 130));
  b.SetPixelFormat(TPixelFormat::Bit4);
  EXPECT_EQ(b.QueryPalette(16)[9], (TPaletteColor{255, 0, 0, 0}));
  EXPECT_EQ(b.QueryPalette(16)[7], (TPaletteColor{192, 192, 192, 0}));
  EXPECT_EQ(Pixel(b, 0, 0), MakeTriple(255, 0, 0));
  EXPECT_EQ(Pixel(b, 1, 0), MakeTriple(192, 192, 192));
  EXPECT_EQ(Pixel(b, 2, 0), MakeTriple(0, 128, 128));
}

TEST(PixelConvert, PaletteToLargerPaletteKeepsIndicesAndColours) {
  const std::pair<TPixelFormat, TPixelFormat> pairs[] = {{TPixelFormat::Bit1, TPixelFormat::Bit4},
                                                         {TPixelFormat::Bit1, TPixelFormat::Bit8},
                                                         {TPixelFormat::Bit4, TPixelFormat::Bit8}};
  for (const auto& [from, to] : pairs) {
    TRasterBitmap b = RandomBitmap(from, 21, 3, 8);
    const TRasterBitmap before = b;
    b.SetPixelFormat(to);
    const int n = 1 << before.BitsPerPixel();
    for (int i = 0; i < n; ++i) EXPECT_EQ(b.ColorTable()[i], before.ColorTable()[i]);
    for (size_t i = n; i < b.ColorTable().size(); ++i) EXPECT_EQ(b.ColorTable()[i], TRGBQuad{});
    EXPECT_EQ(Colours(b), Colours(before));
    for (int x = 0; x < 21; ++x) {
      const int bits = before.BitsPerPixel();
      const int old_index =
          bits == 1 ? (before.Scanline(1)[x / 8] >> (7 - x % 8)) & 1
                    : (x & 1 ? before.Scanline(1)[x / 2] & 15 : before.Scanline(1)[x / 2] >> 4);
      const int new_index = to == TPixelFormat::Bit8
                                ? b.Scanline(1)[x]
                                : (x & 1 ? b.Scanline(1)[x / 2] & 15 : b.Scanline(1)[x / 2] >> 4);
      EXPECT_EQ(new_index, old_index);
    }
  }
}

TEST(PixelConvert, EveryFormatToEveryFormat) {
  for (const TPixelFormat from : kAllFormats)
    for (const TPixelFormat to : kAllFormats) {
      TRasterBitmap b = RandomBitmap(from, 11, 4, 6);
      b.SetPixelFormat(to);
      EXPECT_EQ(b.PixelFormat(), to);
      EXPECT_EQ(b.Width(), 11);
      EXPECT_EQ(b.Height(), 4);
      if (IsPaletteFormat(to) || to == TPixelFormat::Bit15 || to == TPixelFormat::Bit16) continue;
      TRasterBitmap c = RandomBitmap(from, 11, 4, 6);
      EXPECT_EQ(Colours(b), Colours(c)) << int(from) << " -> " << int(to);
    }
}

TEST(PixelConvert, EmptyBitmapsConvert) {
  TRasterBitmap b;
  for (const TPixelFormat f : kAllFormats) {
    b.SetPixelFormat(f);
    EXPECT_EQ(b.PixelFormat(), f);
    EXPECT_TRUE(b.Empty());
  }
  // Rows without pixels have no memory behind them (found by fuzzing).
  for (const TPixelFormat from : kAllFormats) {
    for (const TPixelFormat to : kAllFormats) {
      TRasterBitmap rows_only;
      rows_only.Reset(from, 0, 3);
      rows_only.SetPixelFormat(to);
      EXPECT_EQ(rows_only.Height(), 3);
    }
  }
}

// ------------------------------------------------------------ CopyRect

// Reference copy through a snapshot: what CopyRect must do when the two
// rectangles overlap.
void ReferenceCopy(const TRasterBitmap& src, int sx, int sy, int w, int h, TRasterBitmap& dst,
                   int dx, int dy) {
  const TRasterBitmap snapshot = src;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const int X = sx + x, Y = sy + y, DX = dx + x, DY = dy + y;
      if (X < 0 || Y < 0 || X >= snapshot.Width() || Y >= snapshot.Height()) continue;
      if (DX < 0 || DY < 0 || DX >= dst.Width() || DY >= dst.Height()) continue;
      SetPixel(dst, DX, DY, Pixel(snapshot, X, Y));
    }
}

TEST(PixelConvert, CopyRectWithinOneBitmapIsOverlapSafe) {
  for (const TPixelFormat f : kAllFormats) {
    for (const auto& [dx, dy] :
         std::vector<std::pair<int, int>>{{3, 2}, {-3, -2}, {2, -1}, {-1, 3}, {5, 0}, {0, 0}}) {
      TRasterBitmap a = RandomBitmap(f, 23, 17, 10);
      if (IsPaletteFormat(f))
        for (size_t i = 0; i < a.ColorTable().size(); ++i)
          a.ColorTable()[i] = {uint8_t(i), uint8_t(i * 3), uint8_t(i * 7), 0};
      TRasterBitmap expected = a;
      ReferenceCopy(a, 4, 3, 14, 10, expected, 4 + dx, 3 + dy);
      CopyRect(a, 4, 3, 14, 10, a, 4 + dx, 3 + dy);
      EXPECT_EQ(Colours(a), Colours(expected)) << int(f) << " by " << dx << "," << dy;
    }
  }
}

TEST(PixelConvert, CopyRectClips) {
  const TRasterBitmap src = RandomTrueColour(10, 8, 12);
  for (const auto& r :
       std::vector<std::array<int, 6>>{{-3, -2, 8, 7, 1, 1},
                                       {5, 4, 20, 20, 0, 0},
                                       {0, 0, 10, 8, -4, -5},
                                       {0, 0, 10, 8, 8, 6},
                                       {0, 0, 10, 8, 100, 100},
                                       {0, 0, -5, 8, 0, 0},
                                       {-2147483647, -2147483647, 2147483647, 2147483647, 0, 0},
                                       {3, 3, 2147483647, 2147483647, -2147483647, 1}}) {
    TRasterBitmap dst = RandomTrueColour(9, 7, 13);
    TRasterBitmap expected = dst;
    if (r[2] > 0 && r[3] > 0 && r[2] < 1000)
      ReferenceCopy(src, r[0], r[1], r[2], r[3], expected, r[4], r[5]);
    CopyRect(src, r[0], r[1], r[2], r[3], dst, r[4], r[5]);
    if (r[2] < 1000) {
      EXPECT_EQ(Colours(dst), Colours(expected))
          << r[0] << "," << r[1] << "," << r[4] << "," << r[5];
    }
  }
}

TEST(PixelConvert, CopyRectConvertsFormats) {
  for (const TPixelFormat from : kAllFormats)
    for (const TPixelFormat to : kAllFormats) {
      const TRasterBitmap src = RandomBitmap(from, 12, 6, 20);
      TRasterBitmap dst = RandomBitmap(to, 14, 8, 21);
      TRasterBitmap expected = dst;
      ReferenceCopy(src, 1, 1, 9, 4, expected, 3, 2);
      CopyRect(src, 1, 1, 9, 4, dst, 3, 2);
      EXPECT_EQ(Colours(dst), Colours(expected)) << int(from) << " -> " << int(to);
    }
}

TEST(PixelConvert, CopyRectBetweenPalettesKeepsColoursWhenTheyExist) {
  TRasterBitmap src = RandomBitmap(TPixelFormat::Bit8, 16, 16, 30);
  TRasterBitmap dst;
  dst.Reset(TPixelFormat::Bit8, 16, 16);
  // The destination palette is the source palette reversed.
  for (int i = 0; i < 256; ++i) dst.ColorTable()[i] = src.ColorTable()[255 - i];
  CopyRect(src, 0, 0, 16, 16, dst, 0, 0);
  EXPECT_EQ(Colours(dst), Colours(src));
}

}  // namespace
}  // namespace quorvane
