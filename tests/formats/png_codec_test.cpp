#include "formats/png_codec.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>

#include "raster/error.h"
#include "support/decode_limits.h"
#include "support/test_pictures.h"

namespace quorvane {
namespace {

using test_support::ColorAt;
using test_support::Compare24;

uint32_t BigEndian32(const uint8_t* p) {
  return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

struct TChunk {
  std::string Type;
  std::vector<uint8_t> Data;
};

// Splits a PNG file into its chunks, by the format's own definition.
std::vector<TChunk> Chunks(const std::vector<uint8_t>& png) {
  std::vector<TChunk> chunks;
  size_t at = 8;
  while (at + 12 <= png.size()) {
    const uint32_t length = BigEndian32(&png[at]);
    TChunk c{std::string(reinterpret_cast<const char*>(&png[at + 4]), 4),
             std::vector<uint8_t>(png.begin() + std::ptrdiff_t(at + 8),
                                  png.begin() + std::ptrdiff_t(at + 8 + length))};
    chunks.push_back(std::move(c));
    at += 12 + length;
  }
  return chunks;
}

void PutBigEndian32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (24 - 8 * i));
}

std::string DecodeError(const std::vector<uint8_t>& bytes) {
  TRasterBitmap b;
  try {
    DecodePng(bytes, b, test_support::TestDecode());
  } catch (const EQuorvaneError& e) {
    return e.what();
  }
  return "";
}

TEST(PngCodec, RoundTripIsExact) {
  for (const auto& original : {test_support::Gradient24(37, 5), test_support::Noise24(1, 1)}) {
    TRasterBitmap decoded;
    DecodePng(EncodePng(original), decoded);
    EXPECT_EQ(Compare24(original, decoded).Max, 0);
  }
}

TEST(PngCodec, WritesRgbWithSubFilterLevelSevenAndBoundedChunks) {
  const TRasterBitmap picture = test_support::Noise24(300, 200);  // 180 kB of noise
  const auto png = EncodePng(picture);
  const auto chunks = Chunks(png);
  ASSERT_FALSE(chunks.empty());
  ASSERT_EQ(chunks.front().Type, "IHDR");
  const auto& ihdr = chunks.front().Data;
  EXPECT_EQ(BigEndian32(&ihdr[0]), 300u);
  EXPECT_EQ(BigEndian32(&ihdr[4]), 200u);
  EXPECT_EQ(ihdr[8], 8) << "8 bits per sample";
  EXPECT_EQ(ihdr[9], 2) << "RGB";
  EXPECT_EQ(ihdr[12], 0) << "not interlaced";
  EXPECT_EQ(chunks.back().Type, "IEND");

  std::vector<uint8_t> stream;
  int idat_chunks = 0;
  for (const auto& c : chunks) {
    if (c.Type != "IDAT") continue;
    ++idat_chunks;
    EXPECT_LE(c.Data.size(), 65535u);
    stream.insert(stream.end(), c.Data.begin(), c.Data.end());
  }
  EXPECT_GE(idat_chunks, 3);
  // zlib header: deflate, and the level class of levels 7 to 9.
  ASSERT_GE(stream.size(), 2u);
  EXPECT_EQ(stream[0], 0x78);
  EXPECT_EQ(stream[1] >> 6, 3);

  const size_t row_bytes = 1 + 300 * 3;
  std::vector<uint8_t> raw(row_bytes * 200);
  uLongf raw_size = uLongf(raw.size());
  ASSERT_EQ(uncompress(raw.data(), &raw_size, stream.data(), uLong(stream.size())), Z_OK);
  ASSERT_EQ(raw_size, raw.size());
  for (int r = 0; r < 200; ++r) ASSERT_EQ(raw[r * row_bytes], 1) << "Sub filter on row " << r;
  // The Sub filter of the first pixel is the pixel itself, in red, green, blue order.
  const uint8_t* top_left = picture.Scanline(0);
  EXPECT_EQ(raw[1], top_left[2]);
  EXPECT_EQ(raw[2], top_left[1]);
  EXPECT_EQ(raw[3], top_left[0]);
}

TEST(PngCodec, EveryColourTypeDecodesToItsNaturalFormat) {
  struct TCase {
    const char* File;
    TPixelFormat Format;
  };
  const TCase cases[] = {
      {"png/basn0g01.png", TPixelFormat::Bit1},  {"png/basn0g02.png", TPixelFormat::Bit8},
      {"png/basn0g04.png", TPixelFormat::Bit4},  {"png/basn0g08.png", TPixelFormat::Bit8},
      {"png/basn0g16.png", TPixelFormat::Bit8},  {"png/basn2c08.png", TPixelFormat::Bit24},
      {"png/basn2c16.png", TPixelFormat::Bit24}, {"png/basn3p01.png", TPixelFormat::Bit1},
      {"png/basn3p02.png", TPixelFormat::Bit8},  {"png/basn3p04.png", TPixelFormat::Bit4},
      {"png/basn3p08.png", TPixelFormat::Bit8},  {"png/basn4a08.png", TPixelFormat::Bit32},
      {"png/basn4a16.png", TPixelFormat::Bit32}, {"png/basn6a08.png", TPixelFormat::Bit32},
      {"png/basn6a16.png", TPixelFormat::Bit32},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.File);
    const auto bytes = test_support::CorpusFile(c.File);
    if (!bytes) QUORVANE_CORPUS_ABSENT("png");
    TRasterBitmap b;
    DecodePng(*bytes, b);
    EXPECT_EQ(b.PixelFormat(), c.Format);
    EXPECT_EQ(b.Width(), 32);
    EXPECT_EQ(b.Height(), 32);
  }
}

TEST(PngCodec, GreyLevelsAndSixteenBitSamplesComeOutRight) {
  QUORVANE_CORPUS_OR_SKIP(g04, "png/basn0g04.png");
  QUORVANE_CORPUS_OR_SKIP(g02, "png/basn0g02.png");
  QUORVANE_CORPUS_OR_SKIP(g16, "png/basn0g16.png");
  TRasterBitmap b;
  DecodePng(g04, b);
  // The suite's grey ramp: 4-bit value v shows as v * 17.
  for (int x = 0; x < 32; ++x) {
    const auto c = ColorAt(b, x, 0);
    EXPECT_EQ(c.Red, c.Green);
    EXPECT_EQ(c.Red % 17, 0);
  }
  DecodePng(g02, b);
  EXPECT_EQ(ColorAt(b, 0, 0).Red % 85, 0) << "2-bit levels widen to 0, 85, 170, 255";
  DecodePng(g16, b);
  // 16-bit grey reduced to 8 bits: still grey, and the ramp still spans 0-255.
  int lowest = 255, highest = 0;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      const auto c = ColorAt(b, x, y);
      ASSERT_TRUE(c.Red == c.Green && c.Green == c.Blue);
      lowest = std::min<int>(lowest, c.Red);
      highest = std::max<int>(highest, c.Red);
    }
  EXPECT_EQ(lowest, 0);
  EXPECT_GE(highest, 250);
}

TEST(PngCodec, InterlacedFilesMatchTheirPlainTwins) {
  const std::pair<const char*, const char*> twins[] = {
      {"png/basi0g08.png", "png/basn0g08.png"},
      {"png/basi2c08.png", "png/basn2c08.png"},
      {"png/basi3p08.png", "png/basn3p08.png"},
      {"png/basi6a08.png", "png/basn6a08.png"},
  };
  for (const auto& [interlaced, plain] : twins) {
    SCOPED_TRACE(interlaced);
    const auto a = test_support::CorpusFile(interlaced), b = test_support::CorpusFile(plain);
    if (!a || !b) QUORVANE_CORPUS_ABSENT("png");
    TRasterBitmap x, y;
    DecodePng(*a, x);
    DecodePng(*b, y);
    ASSERT_EQ(x.PixelFormat(), y.PixelFormat());
    for (int r = 0; r < 32; ++r)
      for (int c = 0; c < 32; ++c) ASSERT_EQ(ColorAt(x, c, r), ColorAt(y, c, r)) << c << "," << r;
  }
}

TEST(PngCodec, AbsurdDimensionsAreRefusedBeforeAllocating) {
  auto png = EncodePng(test_support::Gradient24(4, 4));
  // IHDR data starts at 16; patch 1,000,000 x 1,000,000 and fix the CRC.
  PutBigEndian32(png, 16, 1000000);
  PutBigEndian32(png, 20, 1000000);
  PutBigEndian32(png, 29, uint32_t(crc32(0, &png[12], 17)));
  TRasterBitmap kept = test_support::Gradient24(2, 2);
  EXPECT_THROW(DecodePng(png, kept, test_support::TestDecode()), EQuorvaneError);
  EXPECT_EQ(kept.Width(), 2);
  EXPECT_EQ(DecodeError(png),
            "Picture too large: 1000000 x 1000000 pixels at 24 bits per pixel need "
            "3000000000000 bytes, more than the memory cap of 268435456 bytes");
}

TEST(PngCodec, AFileEndingInsideTheImageDataKeepsTheRowsDecoded) {
  // Noise, so the image data spans several IDAT chunks; libpng reads ahead
  // in pieces of 8 KB, so the rows of the first chunk are all it can give
  // when the file ends inside the second.
  const TRasterBitmap original = test_support::Noise24(256, 256);
  const auto png = EncodePng(original);
  const auto chunks = Chunks(png);
  size_t at = 8, idat = 0;
  int seen = 0;
  for (const auto& c : chunks) {
    if (c.Type == "IDAT" && ++seen == 2) break;
    if (c.Type == "IDAT" && seen == 1 && idat == 0) idat = at;
    at += 12 + c.Data.size();
  }
  ASSERT_EQ(seen, 2);
  ASSERT_GT(png.size(), at + 8 + 600);
  const std::vector<uint8_t> cut(png.begin(), png.begin() + std::ptrdiff_t(at + 8 + 600));
  TRasterBitmap partial;
  DecodePng(cut, partial);
  ASSERT_EQ(partial.Width(), 256);
  ASSERT_EQ(partial.Height(), 256);
  EXPECT_EQ(ColorAt(partial, 5, 0), ColorAt(original, 5, 0));
  EXPECT_EQ(ColorAt(partial, 200, 40), ColorAt(original, 200, 40));

  // Cut before any image data: nothing to show.
  const std::vector<uint8_t> header_only(png.begin(), png.begin() + std::ptrdiff_t(idat));
  EXPECT_EQ(DecodeError(header_only), "This \"Portable Network Graphics\" image contains no data.");
}

TEST(PngCodec, DamagedFilesFailWithAMessageAndNeverCrash) {
  EXPECT_EQ(DecodeError({1, 2, 3}), "Invalid PNG file: not a PNG signature");
  if (const auto no_idat = test_support::CorpusFile("png/malformed/xdtn0g01.png")) {
    EXPECT_EQ(DecodeError(*no_idat), "This \"Portable Network Graphics\" image contains no data.");
  }
  const char* malformed[] = {"xc1n0g08.png", "xc9n2c08.png", "xcrn0g04.png",
                             "xcsn0g01.png", "xd0n2c08.png", "xd3n2c08.png",
                             "xd9n2c08.png", "xhdn0g08.png", "xlfn0g04.png",
                             "xs1n0g01.png", "xs2n0g01.png", "broken_data_stream.png"};
  for (const char* name : malformed) {
    SCOPED_TRACE(name);
    const auto bytes = test_support::CorpusFile(std::string("png/malformed/") + name);
    if (!bytes) QUORVANE_CORPUS_ABSENT("png");
    const std::string message = DecodeError(*bytes);
    EXPECT_FALSE(message.empty()) << "a damaged file is refused";
  }
  for (const char* name : {"truncated_image.png", "truncated_end_chunk.png"}) {
    SCOPED_TRACE(name);
    const auto bytes = test_support::CorpusFile(std::string("png/malformed/") + name);
    if (!bytes) QUORVANE_CORPUS_ABSENT("png");
    TRasterBitmap b;
    EXPECT_NO_THROW(DecodePng(*bytes, b)) << "a file that ends early keeps what was decoded";
    EXPECT_GT(b.Width(), 0);
  }
}

}  // namespace
}  // namespace quorvane
