// Pixel decoding: every depth in both byte orders and all three compressions,
// the conversions to the bitmap's layout, and the LZW edge cases.
#include <gtest/gtest.h>

#include <random>

#include "support/tiff_test_builder.h"
#include "tiff/tiff_reader.h"
#include "tiff_test_support.h"

namespace quorvane {
namespace {

using test_support::LoadMessage;
using test_support::LoadTiffBytes;
using test_support::MakeTiff;
using test_support::Pixels;
using test_support::TTestImage;
using test_support::TTiffBuilder;

struct TDepth {
  const char* name;
  uint16_t bits_per_sample, samples, photometric;
  TPixelFormat format;
};

const TDepth kDepths[] = {
    {"bilevel", 1, 1, 1, TPixelFormat::Bit1},  {"grey4", 4, 1, 1, TPixelFormat::Bit4},
    {"grey8", 8, 1, 1, TPixelFormat::Bit8},    {"white8", 8, 1, 0, TPixelFormat::Bit8},
    {"grey16", 16, 1, 1, TPixelFormat::Bit15}, {"rgb", 8, 3, 2, TPixelFormat::Bit24},
    {"rgba", 8, 4, 2, TPixelFormat::Bit32},    {"cmyk", 8, 4, 5, TPixelFormat::Bit32},
};

// Smooth ramps with some noise, so LZW meets repeats, new strings and runs.
std::vector<uint8_t> PictureRows(size_t row_bytes, uint32_t height, uint32_t seed) {
  std::mt19937 random(seed);
  std::vector<uint8_t> rows(row_bytes * height);
  for (uint32_t y = 0; y < height; ++y)
    for (size_t x = 0; x < row_bytes; ++x)
      rows[y * row_bytes + x] = uint8_t((x / 3 + y * 2) + (random() % 4 == 0 ? random() % 8 : 0));
  // A flat stretch for PackBits runs longer than 128 bytes.
  for (size_t x = 0; x < std::min<size_t>(row_bytes, 300); ++x) rows[x] = 77;
  return rows;
}

// 16-bit samples are read in the file's byte order: write the same
// values for both orders.
std::vector<uint8_t> InFileOrder(std::vector<uint8_t> rows, const TDepth& d, bool big_endian) {
  if (d.bits_per_sample == 16 && big_endian)
    for (size_t i = 0; i + 1 < rows.size(); i += 2) std::swap(rows[i], rows[i + 1]);
  return rows;
}

// Little and big endian, raw, LZW (with and without predictor where it
// applies) and PackBits, in one strip and in strips of 7 rows, all decode to
// the same bitmap.
TEST(TiffDecode, EveryDepthDecodesAlikeInEveryByteOrderAndCompression) {
  for (const TDepth& d : kDepths) {
    const uint32_t width = 150, height = 40;
    const size_t row_bytes = (size_t(width) * d.bits_per_sample * d.samples + 7) / 8;
    const std::vector<uint8_t> picture = PictureRows(row_bytes, height, 5);
    std::vector<uint8_t> reference;
    for (bool big : {false, true}) {
      for (uint16_t compression : {1, 5, 32773}) {
        for (uint32_t rows_per_strip : {0u, 7u}) {
          for (bool predictor : {false, true}) {
            const uint32_t bits = d.bits_per_sample * d.samples;
            if (predictor && (compression != 5 || (bits != 8 && bits != 24 && bits != 32)))
              continue;
            TTestImage s;
            s.big_endian = big;
            s.width = width;
            s.height = height;
            s.bits_per_sample = d.bits_per_sample;
            s.samples_per_pixel = d.samples;
            s.photometric = d.photometric;
            s.compression = compression;
            s.rows_per_strip = rows_per_strip;
            s.rows = InFileOrder(picture, d, big);
            if (predictor) {
              s.predictor = 2;
              const size_t step = bits / 8;
              for (uint32_t y = 0; y < height; ++y)
                for (size_t x = row_bytes; x-- > step;)
                  s.rows[y * row_bytes + x] -= s.rows[y * row_bytes + x - step];
            }
            TRasterBitmap bitmap;
            LoadTiffBytes(MakeTiff(s), bitmap);
            const std::string where = std::string(d.name) + (big ? " MM" : " II") +
                                      " compression " + std::to_string(compression) +
                                      " rows/strip " + std::to_string(rows_per_strip) +
                                      (predictor ? " predictor" : "");
            ASSERT_EQ(bitmap.PixelFormat(), d.format) << where;
            ASSERT_EQ(bitmap.Width(), int(width));
            ASSERT_EQ(bitmap.Height(), int(height));
            if (reference.empty()) reference = Pixels(bitmap);
            EXPECT_EQ(Pixels(bitmap), reference) << where;
          }
        }
      }
    }
  }
}

TTestImage OnePixelRow(uint16_t bits, uint16_t samples, uint16_t photometric,
                       std::vector<uint8_t> rows, bool big = false) {
  TTestImage s;
  s.big_endian = big;
  s.bits_per_sample = bits;
  s.samples_per_pixel = samples;
  s.photometric = photometric;
  s.width = uint32_t(rows.size() * 8 / (bits * samples));
  s.height = 1;
  s.rows = std::move(rows);
  return s;
}

TEST(TiffDecode, RowsAreConvertedToTheBitmapLayout) {
  TRasterBitmap b;
  LoadTiffBytes(MakeTiff(OnePixelRow(8, 3, 2, {1, 2, 3, 4, 5, 6})), b);
  EXPECT_EQ(Pixels(b), (std::vector<uint8_t>{3, 2, 1, 6, 5, 4}));
  LoadTiffBytes(MakeTiff(OnePixelRow(8, 4, 2, {1, 2, 3, 9, 4, 5, 6, 8})), b);
  EXPECT_EQ(Pixels(b), (std::vector<uint8_t>{3, 2, 1, 9, 6, 5, 4, 8}));
  LoadTiffBytes(MakeTiff(OnePixelRow(8, 1, 0, {0, 10, 255})), b);
  EXPECT_EQ(Pixels(b), (std::vector<uint8_t>{255, 245, 0}));
  // CMYK: (0,0,0,0) white, (0,255,255,0) red, (0,0,0,255) black, sums clip.
  LoadTiffBytes(
      MakeTiff(OnePixelRow(8, 4, 5, {0, 0, 0, 0, 0, 255, 255, 0, 0, 0, 0, 255, 100, 50, 200, 100})),
      b);
  EXPECT_EQ(Pixels(b), (std::vector<uint8_t>{255, 255, 255, 0, 0, 0, 255, 0, 0, 0, 0, 255,  //
                                             0, 105, 55, 100}));
  // 16-bit grey keeps its top five bits in each channel.
  for (bool big : {false, true}) {
    std::vector<uint8_t> samples = {0xFF, 0xFF, 0x00, 0x08, 0xFF, 0x07};
    if (big) samples = {0xFF, 0xFF, 0x08, 0x00, 0x07, 0xFF};
    LoadTiffBytes(MakeTiff(OnePixelRow(16, 1, 1, samples, big)), b);
    EXPECT_EQ(Pixels(b), (std::vector<uint8_t>{0xFF, 0x7F, 0x21, 0x04, 0, 0}));
  }
}

TEST(TiffDecode, WhiteIsZeroWithPredictorMatchesWithout) {
  TTestImage plain = OnePixelRow(8, 1, 0, {10, 20, 25, 5, 250});
  plain.compression = 5;
  TTestImage predicted = plain;
  predicted.predictor = 2;
  predicted.rows = {10, 10, 5, 236, 245};
  TRasterBitmap a, b;
  LoadTiffBytes(MakeTiff(plain), a);
  LoadTiffBytes(MakeTiff(predicted), b);
  EXPECT_EQ(Pixels(a), Pixels(b));
  EXPECT_EQ(Pixels(a)[0], 245);
}

TEST(TiffDecode, StripsOfSixteenRowsOverFortyRows) {
  TTestImage s = OnePixelRow(8, 3, 2, std::vector<uint8_t>(6, 0));
  s.height = 40;
  s.rows_per_strip = 16;
  s.rows.clear();
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 6; ++x) s.rows.push_back(uint8_t(y));
  TRasterBitmap b;
  LoadTiffBytes(MakeTiff(s), b);
  for (int y = 0; y < 40; ++y) EXPECT_EQ(b.Scanline(y)[0], y);
}

TEST(TiffDecode, PackBitsRunOf128FillsA128ByteRow) {
  TTiffBuilder f(false);
  const uint32_t strip = f.AddData({0x81, 42});
  f.Short(256, {128}).Short(257, {1}).Short(258, {8}).Short(259, {32773}).Long(273, {strip});
  TRasterBitmap b;
  LoadTiffBytes(f.Build(), b);
  EXPECT_EQ(Pixels(b), std::vector<uint8_t>(128, 42));
}

TEST(TiffDecode, UnsupportedDepthsAndCompressions) {
  EXPECT_EQ(LoadMessage(MakeTiff(OnePixelRow(2, 1, 1, {0x1B}))),
            "Unsupported Format: Could not create Bitmap.");
  TTestImage no_bits = OnePixelRow(8, 1, 1, {1, 2});
  no_bits.bits_per_sample = 0;
  EXPECT_EQ(LoadMessage(MakeTiff(no_bits)), "Unsupported Format: Could not create Bitmap.");
  TTestImage s = OnePixelRow(8, 1, 1, {1, 2});
  s.compression = 7;
  EXPECT_EQ(LoadMessage(MakeTiff(s)), "Unsupported Compression = 7");
  s.compression = 4;
  EXPECT_EQ(LoadMessage(MakeTiff(s)), "Unsupported Compression = 4");
  s.compression = 1;
  s.width = 0;
  EXPECT_EQ(LoadMessage(MakeTiff(s)), "Width or Height is Zero");
  s.width = 2;
  s.height = 0;
  s.rows.clear();
  EXPECT_EQ(LoadMessage(MakeTiff(s)), "Width or Height is Zero");
}

// The header reader refuses what the load refuses, with the same message.
TEST(TiffDecode, TilesSeparatePlanesAndOldLzwAreRefused) {
  auto expect_refused = [](const std::vector<uint8_t>& file, const std::string& message) {
    EXPECT_EQ(LoadMessage(file), message);
    EXPECT_EQ(test_support::HeaderMessage(file), message);
  };
  TTiffBuilder tiled = test_support::BuilderFor(OnePixelRow(8, 1, 1, {1, 2}));
  tiled.Long(322, {16}).Long(323, {16}).Long(324, {8});
  expect_refused(tiled.Build(), "Unsupported Tiled TIF File");
  TTiffBuilder planar = test_support::BuilderFor(OnePixelRow(8, 3, 2, {1, 2, 3}));
  planar.Short(284, {2});
  expect_refused(planar.Build(), "Unsupported Planar Configuration = 2");
  TTiffBuilder old_lzw(true);
  const uint32_t strip = old_lzw.AddData({0x00, 0x01, 0x10, 0x20});
  old_lzw.Short(256, {2}).Short(257, {1}).Short(258, {8}).Short(259, {5}).Long(273, {strip});
  expect_refused(old_lzw.Build(), "Unsupported LZW Bit Order (written before TIFF 5.0)");
}

// Writes codes most significant bit first.
struct TBitWriter {
  std::vector<uint8_t> bytes;
  uint64_t acc = 0;
  int held = 0;
  void Put(uint32_t code, int width) {
    acc = acc << width | code;
    held += width;
    while (held >= 8) {
      bytes.push_back(uint8_t(acc >> (held - 8)));
      held -= 8;
    }
  }
  std::vector<uint8_t> Finish() {
    if (held > 0) bytes.push_back(uint8_t(acc << (8 - held)));
    held = 0;
    return bytes;
  }
};

// Literal codes after a Clear until the next free code is `next`, with the
// widths a decoder uses. Returns the width the next code is read with.
int PutLiteralsUntil(TBitWriter& w, uint32_t next_wanted) {
  w.Put(256, 9);
  uint32_t next = 258;
  int width = 9;
  bool first = true;
  while (next < next_wanted) {
    w.Put(7, width);
    if (!first) ++next;
    first = false;
    if (next >= (1u << width) - 1) ++width;
  }
  return width;
}

std::vector<uint8_t> LzwFile(const std::vector<uint8_t>& strip_bytes, uint32_t strip_at,
                             uint32_t width, uint32_t height) {
  TTiffBuilder f(false);
  const uint32_t filler = strip_at - 8;
  f.AddData(std::vector<uint8_t>(filler, 0));
  const uint32_t strip = f.AddData(strip_bytes, false);
  EXPECT_EQ(strip, strip_at);
  f.Long(256, {width}).Long(257, {height}).Short(258, {8}).Short(259, {5}).Long(273, {strip});
  return f.Build();
}

TEST(TiffLzw, CodeBeyondTheNextNamesCodeNextAndBytePosition) {
  TBitWriter w;
  // 343 codes after the Clear bring the next code to 600: 9 + 254 * 9 + 89 *
  // 10 bits, then code 700 ends at bit 3195, in byte 400 of the strip.
  const int width = PutLiteralsUntil(w, 600);
  ASSERT_EQ(width, 10);
  w.Put(700, width);
  const std::vector<uint8_t> strip = w.Finish();
  TRasterBitmap b;
  b.Reset(TPixelFormat::Bit24, 2, 2);
  EXPECT_EQ(LoadMessage(LzwFile(strip, 4311, 1000, 1), b), "Invalid LZW Code: 700>600 @:4711");
  EXPECT_EQ(b.PixelFormat(), TPixelFormat::Bit24) << "a failed load keeps the picture";
  EXPECT_EQ(b.Width(), 2);
}

// Without a Clear the width grows past 12 bits; code 4096 then stands for the
// previous string and its first byte without touching the 4096-entry table,
// and anything higher is an invalid code.
TEST(TiffLzw, ThirteenBitCodesAfterAFullTable) {
  TBitWriter w;
  const int width = PutLiteralsUntil(w, 4096);
  ASSERT_EQ(width, 13);
  w.Put(4096, 13);
  w.Put(4096, 13);
  w.Put(257, 13);
  TRasterBitmap b;
  EXPECT_EQ(LoadMessage(LzwFile(w.Finish(), 8, 5000, 1), b), "");
  const std::vector<uint8_t> p = Pixels(b);
  // 3839 literals, then two and three bytes.
  EXPECT_EQ(std::count(p.begin(), p.begin() + 3844, 7), 3844);
  EXPECT_EQ(p[3844], 0);

  TBitWriter bad;
  PutLiteralsUntil(bad, 4096);
  bad.Put(5000, 13);
  const std::string message = LoadMessage(LzwFile(bad.Finish(), 8, 5000, 1));
  EXPECT_EQ(message.rfind("Invalid LZW Code: 5000>4096 @:", 0), 0u) << message;
}

// Repeating code 4096 makes each string one byte longer than the last; past
// 4096 bytes no table entry could stand for it.
TEST(TiffLzw, EndlesslyGrowingThirteenBitStringIsInvalid) {
  TBitWriter w;
  PutLiteralsUntil(w, 4096);
  for (int i = 0; i < 5000; ++i) w.Put(4096, 13);
  const std::string message = LoadMessage(LzwFile(w.Finish(), 8, 20000, 1000));
  EXPECT_EQ(message.rfind("Invalid LZW Code: 4096>4096 @:", 0), 0u) << message;
}

TEST(TiffLzw, OutputBeyondTheStripIsDropped) {
  // "aaaa..." of 300 bytes compresses into codes whose last one overshoots a
  // strip of 2 rows of 100 bytes.
  const std::vector<uint8_t> strip = test_support::LzwEncode(std::vector<uint8_t>(300, 9));
  TRasterBitmap b;
  LoadTiffBytes(LzwFile(strip, 8, 100, 2), b);
  EXPECT_EQ(Pixels(b), std::vector<uint8_t>(200, 9));
}

TEST(TiffLzw, DataEndingEarlyLeavesZerosAndTheNextStripStillDecodes) {
  TTiffBuilder f(false);
  std::vector<uint8_t> cut = test_support::LzwEncode(std::vector<uint8_t>(8, 5));
  cut.pop_back();  // lose the end code's last bits
  cut.pop_back();
  const uint32_t first = f.AddData(cut);
  const uint32_t second = f.AddData(test_support::LzwEncode(std::vector<uint8_t>(8, 6)));
  f.Short(256, {4}).Short(257, {4}).Short(258, {8}).Short(259, {5}).Short(262, {0});
  f.Long(273, {first, second}).Short(278, {2});
  TRasterBitmap b;
  LoadTiffBytes(f.Build(), b);
  const std::vector<uint8_t> p = Pixels(b);
  EXPECT_EQ(p[0], 250);
  EXPECT_EQ(p[7], 255) << "undecoded bytes are zeros, inverted like the rest";
  EXPECT_EQ(std::vector<uint8_t>(p.begin() + 8, p.end()), std::vector<uint8_t>(8, 249));
}

// Rows an LZW strip never reached hold zeros, finished like decoded ones.
TEST(TiffLzw, RowsThatGotNoDataAreFinishedZeros) {
  struct TCase {
    uint16_t samples, photometric;
    std::vector<uint8_t> pixel;
  };
  for (const TCase& c : {TCase{1, 0, {255}}, TCase{1, 1, {0}}, TCase{4, 5, {255, 255, 255, 0}},
                         TCase{3, 2, {0, 0, 0}}}) {
    TTiffBuilder f(true);
    const uint32_t strip = f.AddData(test_support::LzwEncode({}));
    f.Short(256, {3}).Short(257, {3}).Short(258, {8}).Short(259, {5});
    f.Short(262, {c.photometric}).Short(277, {c.samples}).Long(273, {strip});
    TRasterBitmap b;
    LoadTiffBytes(f.Build(), b);
    std::vector<uint8_t> expected;
    for (int i = 0; i < 9; ++i) expected.insert(expected.end(), c.pixel.begin(), c.pixel.end());
    EXPECT_EQ(Pixels(b), expected) << "photometric " << c.photometric;
  }
}

TEST(TiffStrips, ShortRawStripKeepsWhatArrived) {
  TTestImage s = OnePixelRow(8, 3, 2, std::vector<uint8_t>(12, 0));
  s.height = 3;
  s.rows.clear();
  for (int i = 0; i < 36; ++i) s.rows.push_back(uint8_t(i));
  TTiffBuilder f(false, 6);
  const uint32_t strip = f.AddData(s.rows);
  f.Short(256, {4}).Short(257, {3}).Short(258, {8}).Short(262, {2}).Short(277, {3});
  f.Long(273, {strip});
  std::vector<uint8_t> file = f.Build();
  // Cut the file inside row 1, with one whole pixel and one byte of the next
  // arriving.
  file.resize(strip + 12 + 4);
  TRasterBitmap b;
  LoadTiffBytes(file, b);
  ASSERT_EQ(b.Height(), 3);
  const std::vector<uint8_t> p = Pixels(b);
  EXPECT_EQ(std::vector<uint8_t>(p.begin(), p.begin() + 3), (std::vector<uint8_t>{2, 1, 0}));
  EXPECT_EQ(std::vector<uint8_t>(p.begin() + 12, p.begin() + 16),
            (std::vector<uint8_t>{14, 13, 12, 15}));
  EXPECT_EQ(std::vector<uint8_t>(p.begin() + 16, p.end()), std::vector<uint8_t>(20, 0));
}

TEST(TiffStrips, PackBitsRowOfTheWrongLengthEndsTheImage) {
  TTiffBuilder f(false);
  // Row 0 fine; row 1 overshoots by one byte; row 2 never decoded.
  const uint32_t strip = f.AddData({0xFD, 1, 0xFC, 2, 0xFD, 3});
  f.Short(256, {4}).Short(257, {3}).Short(258, {8}).Short(259, {32773}).Long(273, {strip});
  TRasterBitmap b;
  LoadTiffBytes(f.Build(), b);
  EXPECT_EQ(Pixels(b), (std::vector<uint8_t>{1, 1, 1, 1, 2, 2, 2, 2, 0, 0, 0, 0}));
}

// Only a file of a kind this reader does not know is handed to the extended
// reader; a damaged file or one beyond the memory cap keeps its message.
TEST(TiffDecode, FailuresSayWhetherAnotherReaderMayTry) {
  TTestImage compression = OnePixelRow(8, 1, 1, {1, 2});
  compression.compression = 7;
  TTestImage empty = OnePixelRow(8, 1, 1, {1, 2});
  empty.width = 0;
  TTiffBuilder huge(false);
  huge.Long(256, {65535}).Long(257, {65535}).Short(258, {8}).Short(277, {4});
  huge.Long(273, {huge.AddData({1, 2, 3, 4})});
  const std::vector<uint8_t> big_tiff = {'I', 'I', 43, 0, 8, 0, 0, 0, 16, 0, 0, 0, 0, 0, 0, 0};
  const struct {
    const char* name;
    std::vector<uint8_t> file;
    TErrorKind kind;
  } cases[] = {
      {"BigTIFF header", big_tiff, TErrorKind::Unsupported},
      {"compression 7", MakeTiff(compression), TErrorKind::Unsupported},
      {"2 bits per pixel", MakeTiff(OnePixelRow(2, 1, 1, {0x1B})), TErrorKind::Unsupported},
      {"zero width", MakeTiff(empty), TErrorKind::Corrupt},
      {"LZW code 511 after Clear", LzwFile({0x80, 0x7F, 0xC0}, 4311, 1000, 1), TErrorKind::Corrupt},
      {"beyond the cap", huge.Build(), TErrorKind::TooLarge},
  };
  for (const auto& c : cases) EXPECT_EQ(test_support::LoadFailureKind(c.file), c.kind) << c.name;
}

}  // namespace
}  // namespace quorvane
