#include "formats/iff.h"
#include "raster/byte_stream.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "formats/sample_files.h"
#include "raster/error.h"
#include "support/decode_limits.h"

namespace quorvane {
namespace {

using samples::Append;
using samples::Bmhd;
using samples::Bytes;
using samples::Cmap;
using samples::IffChunk;
using samples::IffForm;

TRasterBitmap Read(const Bytes& file) {
  TByteStream stream(file);
  TRasterBitmap bitmap;
  DecodeLbm(stream.Bytes(), bitmap);
  return bitmap;
}

TTriple PixelAt(const TRasterBitmap& b, int x, int y) {
  const uint8_t* p = b.Scanline(y) + x * 3;
  return {p[0], p[1], p[2]};
}
// The colour Cmap() gives index i.
TTriple CmapColour(int i) {
  return MakeTriple(uint8_t(i * 40), uint8_t(255 - i * 30), uint8_t(i * 7));
}

TEST(IffRead, IlbmPlaneRowsAreWholeWordsAndPlaneZeroIsTheLowBit) {
  // 300 pixels wide: plane rows of 38 bytes. Two planes; pixel x has index
  // (x % 4) through the bit patterns 0101... and 0011...
  const int width = 300;
  Bytes body;
  for (int plane = 0; plane < 2; ++plane) {
    Bytes row(38, plane == 0 ? 0x55 : 0x33);
    Append(body, row);
  }
  const TRasterBitmap b =
      Read(IffForm("ILBM", {IffChunk("BMHD", Bmhd(width, 1, 2, 0)), IffChunk("CMAP", Cmap(4)),
                            IffChunk("BODY", body)}));
  ASSERT_EQ(b.PixelFormat(), TPixelFormat::Bit24);
  ASSERT_EQ(b.Width(), width);
  for (int x : {0, 1, 2, 3, 298, 299}) EXPECT_EQ(PixelAt(b, x, 0), CmapColour(x % 4)) << x;
}

TEST(IffRead, ByteRun1RowsAndAnOddUnknownChunkBeforeTheHeader) {
  // PBM 4 x 2, compressed: row 0 = run of three 5s then literal 6;
  // row 1 = no-op, literal 1 2, run of four 3s cut to two.
  const Bytes body = {0xFE, 5, 0x00, 6, 0x80, 0x01, 1, 2, 0xFD, 3};
  const TRasterBitmap b =
      Read(IffForm("PBM ", {IffChunk("ANNO", {'s', 'e', 'v', 'e', 'n', '!', '!'}),
                            IffChunk("BMHD", Bmhd(4, 2, 8, 1)), IffChunk("CMAP", Cmap(8)),
                            IffChunk("BODY", body)}));
  EXPECT_EQ(PixelAt(b, 0, 0), CmapColour(5));
  EXPECT_EQ(PixelAt(b, 2, 0), CmapColour(5));
  EXPECT_EQ(PixelAt(b, 3, 0), CmapColour(6));
  EXPECT_EQ(PixelAt(b, 0, 1), CmapColour(1));
  EXPECT_EQ(PixelAt(b, 1, 1), CmapColour(2));
  EXPECT_EQ(PixelAt(b, 3, 1), CmapColour(3));
}

TEST(IffRead, LiteralRunPastTheRowIsConsumedWhole) {
  // PBM 2 x 2: a literal of three bytes for a two-byte row; its third byte
  // is dropped, and row 1 starts at the next control byte.
  const Bytes body = {0x02, 1, 2, 7, 0xFF, 4};
  const TRasterBitmap b =
      Read(IffForm("PBM ", {IffChunk("BMHD", Bmhd(2, 2, 8, 1)), IffChunk("CMAP", Cmap(8)),
                            IffChunk("BODY", body)}));
  EXPECT_EQ(PixelAt(b, 1, 0), CmapColour(2));
  EXPECT_EQ(PixelAt(b, 0, 1), CmapColour(4));
}

TEST(IffRead, MaskPlaneIsSkipped) {
  // ILBM 8 x 2, one colour plane and a mask plane (masking 1) per row.
  const Bytes body = {0xF0, 0, 0xFF, 0xFF, 0x0F, 0, 0xFF, 0xFF};
  const TRasterBitmap b =
      Read(IffForm("ILBM", {IffChunk("BMHD", Bmhd(8, 2, 1, 0, 1)), IffChunk("CMAP", Cmap(2)),
                            IffChunk("BODY", body)}));
  EXPECT_EQ(PixelAt(b, 0, 0), CmapColour(1));
  EXPECT_EQ(PixelAt(b, 7, 0), CmapColour(0));
  EXPECT_EQ(PixelAt(b, 0, 1), CmapColour(0));
  EXPECT_EQ(PixelAt(b, 7, 1), CmapColour(1));
}

TEST(IffRead, IndexPastTheColourTableIsBlack) {
  const TRasterBitmap b =
      Read(IffForm("PBM ", {IffChunk("BMHD", Bmhd(2, 1, 8, 0)), IffChunk("CMAP", Cmap(3)),
                            IffChunk("BODY", {2, 3})}));
  EXPECT_EQ(PixelAt(b, 0, 0), CmapColour(2));
  EXPECT_EQ(PixelAt(b, 1, 0), (TTriple{0, 0, 0}));
}

// An ILBM of `planes` planes, CAMG `modes` and 32 CMAP colours whose rows
// hold `rows` of colour indices (plane k holds bit k, pixel 0 in the top bit).
TRasterBitmap ReadIlbm(int planes, uint32_t modes, const std::vector<std::vector<int>>& rows) {
  Bytes body;
  for (const std::vector<int>& row : rows)
    for (int k = 0; k < planes; ++k) {
      Bytes plane((row.size() + 15) / 16 * 2, 0);
      for (size_t x = 0; x < row.size(); ++x)
        if (row[x] >> k & 1) plane[x / 8] |= uint8_t(0x80 >> (x % 8));
      Append(body, plane);
    }
  const Bytes camg = {uint8_t(modes >> 24), uint8_t(modes >> 16), uint8_t(modes >> 8),
                      uint8_t(modes)};
  return Read(IffForm(
      "ILBM",
      {IffChunk("BMHD", Bmhd(uint16_t(rows[0].size()), uint16_t(rows.size()), uint8_t(planes), 0)),
       IffChunk("CAMG", camg), IffChunk("CMAP", Cmap(32)), IffChunk("BODY", body)}));
}

// Hold-and-modify: the top two bits pick a colour (00) or keep the pixel
// before and set its blue (01), red (10) or green (11) to the value bits
// scaled to 0..255 (HAM8: 32 of 63 gives 129); each row starts from colour
// 0. Extra half-brite: indices 32 to 63 are colours 0 to 31 halved.
TEST(IffRead, HoldAndModifyAndExtraHalfBriteGiveTheirColours) {
  const TTriple c0 = CmapColour(0), c2 = CmapColour(2);  // c2: red 80, green 195, blue 14
  const TRasterBitmap ham6 = ReadIlbm(6, 0x800, {{0x02, 0x1F, 0x20, 0x38}, {0x2F, 0x01}});
  EXPECT_EQ(PixelAt(ham6, 0, 0), c2);
  EXPECT_EQ(PixelAt(ham6, 1, 0), MakeTriple(80, 195, 255));
  EXPECT_EQ(PixelAt(ham6, 2, 0), MakeTriple(0, 195, 255));
  EXPECT_EQ(PixelAt(ham6, 3, 0), MakeTriple(0, 136, 255));
  EXPECT_EQ(PixelAt(ham6, 0, 1), MakeTriple(255, c0.Green, c0.Blue));
  EXPECT_EQ(PixelAt(ham6, 1, 1), CmapColour(1));
  const TRasterBitmap ham8 = ReadIlbm(8, 0x800, {{0x02, 0xA0}});
  EXPECT_EQ(PixelAt(ham8, 1, 0), MakeTriple(129, 195, 14));
  EXPECT_EQ(PixelAt(ReadIlbm(6, 0x80, {{33}}), 0, 0), MakeTriple(20, 112, 3));
  // Other plane counts have no defined hold-and-modify: refused, never
  // shown in wrong colours.
  try {
    ReadIlbm(5, 0x800, {{0}});
    ADD_FAILURE() << "read";
  } catch (const EQuorvaneError& e) {
    EXPECT_STREQ(e.what(),
                 "Unsupported ILBM: hold-and-modify with 5 bit planes (6 or 8 are supported)");
  }
}

TEST(IffRead, SizesPastTheDataAreCutAndDecodedRowsKept) {
  // The BODY claims 1000 bytes and holds one row of three.
  Bytes file = IffForm("PBM ", {IffChunk("BMHD", Bmhd(3, 2, 8, 0)), IffChunk("CMAP", Cmap(8))});
  Append(file, {'B', 'O', 'D', 'Y', 0, 0, 3, 0xE8, 1, 2, 3});
  const TRasterBitmap b = Read(file);
  ASSERT_EQ(b.Height(), 2);
  EXPECT_EQ(PixelAt(b, 2, 0), CmapColour(3));
  EXPECT_EQ(PixelAt(b, 2, 1), (TTriple{0, 0, 0}));
}

TEST(IffRead, ZeroWidthPictureLoadsEmpty) {
  // Found by fuzzing: a zero-width ILBM used to pass a null row to memset.
  const Bytes file = {0x46, 0x4f, 0x52, 0x4d, 0x00, 0x00, 0x00, 0x84, 0x49, 0x4c, 0x42, 0x4d, 0x42,
                      0x4d, 0x48, 0x44, 0x00, 0x00, 0x00, 0x14, 0x00, 0x00, 0x00, 0x0d, 0x00, 0x03,
                      0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00, 0x0a, 0x0b, 0x00, 0x0d, 0x00,
                      0x03, 0x41, 0x4e, 0x4e, 0x4f, 0x00, 0x00, 0x00, 0x03, 0x68, 0x69, 0x29, 0x00,
                      0x43, 0x4d, 0x41, 0x50, 0x00, 0x00, 0x00, 0x30, 0x00, 0xff, 0x00, 0x28, 0xe1,
                      0x07, 0x50, 0xc3, 0x0e, 0x78, 0xa5, 0x15, 0xa0, 0x87, 0x1c, 0xc8, 0x69, 0x23,
                      0xf0, 0x4b, 0x2a, 0x18, 0x2d, 0x31, 0x40, 0x0f, 0x38, 0x68, 0xf1, 0x3f, 0x90,
                      0xd3, 0x46, 0xb8, 0xb5, 0x4d, 0xe0, 0x97, 0x54, 0x08, 0x79, 0x5b, 0x30, 0x5b,
                      0x62, 0x58, 0x3d, 0x69, 0x42, 0x4f, 0x44, 0x59, 0x00, 0x00, 0x00, 0x18, 0x5a,
                      0xc3, 0x5b, 0xc2, 0x5c, 0xc1, 0x5d, 0xc0, 0x5b, 0xc3, 0x5c, 0xc2, 0x5d, 0xc1,
                      0x5e, 0xc0, 0x5c, 0xc3, 0x5d, 0xc2, 0x5e, 0xc1, 0x5f, 0xc0};
  const TRasterBitmap b = Read(file);
  EXPECT_EQ(b.Width(), 0);
  EXPECT_EQ(b.Height(), 13);
}

TEST(IffRead, FailuresCarryTheirMessagesAndKeepTheCallersPicture) {
  TRasterBitmap kept;
  kept.Reset(TPixelFormat::Bit8, 4, 4);
  auto expect_failure = [&](const Bytes& file, const std::string& message) {
    TByteStream stream(file);
    try {
      DecodeLbm(stream.Bytes(), kept, test_support::TestDecode());
      ADD_FAILURE() << "no exception for " << message;
    } catch (const EQuorvaneError& e) {
      EXPECT_EQ(e.what(), message);
    }
    EXPECT_EQ(kept.PixelFormat(), TPixelFormat::Bit8);
    EXPECT_EQ(kept.Width(), 4);
  };
  expect_failure({'F', 'O', 'R', '4', 0, 0, 0, 4, 'I', 'L', 'B', 'M'},
                 "file did not start with \"FORM\".");
  expect_failure(IffForm("ACBM", {}), "Unknown Form Type.");
  expect_failure(IffForm("ILBM", {IffChunk("CMAP", Cmap(2)), IffChunk("BODY", {1, 2})}),
                 "\"BMHD\" is missing.");
  expect_failure(
      IffForm("ILBM", {IffChunk("BMHD", Bmhd(2, 1, 24, 0)), IffChunk("BODY", Bytes(12))}),
      "Unsupported ILBM: 24 bit planes (at most 8 are supported)");
  expect_failure(
      IffForm("PBM ", {IffChunk("BMHD", Bmhd(65535, 65535, 8, 1)), IffChunk("BODY", {0x81, 0})}),
      "Picture too large: 65535 x 65535 pixels at 24 bits per pixel need 12884705280 bytes, "
      "more than the memory cap of 268435456 bytes");
}

TEST(IffRead, ReportsEachChunkToItsProgressHook) {
  std::vector<int> seen;
  TStageReporter reporter;
  reporter.SetHook([&](TProgressStage stage, uint8_t percent, bool, const TRect&,
                       std::string_view) { seen.push_back(int(stage) * 1000 + percent); });
  const Bytes file = IffForm("PBM ", {IffChunk("BMHD", Bmhd(1, 1, 8, 0)), IffChunk("CMAP", Cmap(2)),
                                      IffChunk("BODY", {1})});
  TByteStream stream(file);
  TRasterBitmap b;
  DecodeLbm(stream.Bytes(), b, {.Progress = &reporter});
  EXPECT_EQ(seen, (std::vector<int>{0, 1025, 1050, 1075, 2075}));

  // The writer reports its three chunks the same way.
  seen.clear();
  TRasterBitmap indexed;
  indexed.Reset(TPixelFormat::Bit8, 2, 2);
  TByteStream out(EncodeLbm(indexed, {.Compress = true}, &reporter));
  EXPECT_EQ(seen, (std::vector<int>{0, 1025, 1050, 1075, 2075}));
}

TRasterBitmap Indexed(int width, int height) {
  TRasterBitmap b;
  b.Reset(TPixelFormat::Bit8, width, height);
  for (int i = 0; i < 256; ++i)
    b.ColorTable()[i] = {uint8_t(i), uint8_t(i / 2), uint8_t(255 - i), 0};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) b.Scanline(y)[x] = uint8_t(x < 3 ? 9 : x * 5 + y);
  return b;
}

TEST(IffWrite, ThreeByOnePlainIs827Bytes) {
  TByteStream out(EncodeLbm(Indexed(3, 1), {.Compress = false}));
  const Bytes& f = out.Bytes();
  ASSERT_EQ(f.size(), 827u);
  Bytes head = {'F', 'O', 'R', 'M', 0, 0, 3, 0x33, 'P', 'B', 'M', ' ', 'B', 'M', 'H', 'D',
                0,   0,   0,   20,  0, 3, 0, 1,    0,   0,   0,   0,   8,   0,   0,   0,
                0,   255, 1,   1,   0, 3, 0, 1,    'C', 'M', 'A', 'P', 0,   0,   3,   0};
  EXPECT_EQ(Bytes(f.begin(), f.begin() + head.size()), head);
  EXPECT_EQ(Bytes(f.begin() + 48 + 9 * 3, f.begin() + 48 + 9 * 3 + 3), (Bytes{255 - 9, 4, 9}));
  EXPECT_EQ(Bytes(f.end() - 11, f.end()), (Bytes{'B', 'O', 'D', 'Y', 0, 0, 0, 3, 9, 9, 9}));
}

TEST(IffWrite, CompressedRowsHaveEvenLengthAndReadBack) {
  const TRasterBitmap b = Indexed(7, 3);
  TByteStream out(EncodeLbm(b, {.Compress = true}));
  const Bytes& f = out.Bytes();
  EXPECT_EQ(f[30], 1);  // BMHD compression
  // Row 0 = 9 9 9 15 20 25 30: a run of three, a literal of four, and a pad.
  const size_t body = 12 + 28 + 776 + 8;
  EXPECT_EQ(Bytes(f.begin() + body, f.begin() + body + 8),
            (Bytes{0xFE, 9, 3, 15, 20, 25, 30, 0x80}));
  out.Seek(0);
  TRasterBitmap back;
  DecodeLbm(out.Bytes(), back);
  ASSERT_EQ(back.Width(), 7);
  ASSERT_EQ(back.Height(), 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 7; ++x) {
      const TRGBQuad c = b.ColorTable()[b.Scanline(y)[x]];
      EXPECT_EQ(PixelAt(back, x, y), (TTriple{c.Blue, c.Green, c.Red})) << x << "," << y;
    }
}

}  // namespace
}  // namespace quorvane

namespace quorvane {
namespace {

TEST(IffWrite, TrueColourPictureWithFewColoursReadsBackExactly) {
  // The writer converts a copy to 8 bits; a picture of at most 256 colours
  // keeps every one of them.
  TRasterBitmap b;
  b.Reset(TPixelFormat::Bit24, 5, 3);
  const uint8_t colours[4][3] = {{1, 2, 3}, {250, 128, 7}, {0, 0, 0}, {90, 200, 255}};
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) std::copy_n(colours[(x + y) % 4], 3, b.Scanline(y) + x * 3);
  for (bool compress : {false, true}) {
    TByteStream out(EncodeLbm(b, {.Compress = compress}));
    out.Seek(0);
    TRasterBitmap back;
    DecodeLbm(out.Bytes(), back);
    ASSERT_EQ(back.Width(), 5);
    for (int y = 0; y < 3; ++y)
      EXPECT_TRUE(std::equal(b.Scanline(y), b.Scanline(y) + 15, back.Scanline(y))) << y;
  }
  EXPECT_EQ(b.PixelFormat(), TPixelFormat::Bit24);  // the caller's bitmap is untouched
}

TEST(IffWrite, EmptyPictureIsWrittenWithoutPixelConversion) {
  // Found by fuzzing: a PBM whose short BMHD gives 0 x 1 pixels read fine,
  // and writing it back handed a row of no pixels to the pixel-format
  // conversion, which passed a null pointer to memcpy.
  const Bytes file = {0x46, 0x4f, 0x52, 0x4d, 0x00, 0x00, 0x27, 0x92, 0x50, 0x42, 0x4d, 0x20,
                      0x42, 0x4d, 0x48, 0x44, 0x00, 0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 0x01,
                      0x42, 0x4f, 0x44, 0x59, 0x00, 0x28, 0xe1, 0x07, 0x50, 0x00};
  const TRasterBitmap b = Read(file);
  EXPECT_EQ(b.Width(), 0);
  EXPECT_EQ(b.Height(), 1);
  TByteStream out(EncodeLbm(b, {.Compress = true}));
  out.Seek(0);
  TRasterBitmap back;
  DecodeLbm(out.Bytes(), back);
  EXPECT_EQ(back.Width(), 0);
  EXPECT_EQ(back.Height(), 1);
}

}  // namespace
}  // namespace quorvane
