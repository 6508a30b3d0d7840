// The extended TIFF reader on input that is cut short, damaged or hostile:
// what was decoded is kept, everything else gives a clear message and leaves
// the caller's picture alone; nothing is allocated for what a header merely
// claims; files are read with ordinary reads that fail cleanly.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "any_tiff_test_support.h"
#include "support/tiff_test_builder.h"

namespace quorvane {
namespace {

using test_support::AnyMessage;
using test_support::DecodeAny;
using test_support::TTempDir;
using test_support::TTiffRecipe;

double Pattern(uint32_t x, uint32_t y, int s) {
  return double((x * 13 + y * 7 + uint32_t(s) * 101) % 251 + 1);  // never 0
}

TTiffRecipe DirectoryFirst(uint16_t compression, bool tiled) {
  TTiffRecipe recipe;
  recipe.Width = 64;
  recipe.Height = 64;
  recipe.TileWidth = recipe.TileHeight = tiled ? 16 : 0;
  recipe.RowsPerStrip = 16;
  recipe.Compression = compression;
  recipe.DirectoryFirst = true;
  return recipe;
}

// Where chunk `index` begins in the file, as libtiff reads it.
uint64_t ChunkOffset(const std::filesystem::path& path, uint32_t index) {
  TIFF* tif = TIFFOpen(path.c_str(), "r");
  EXPECT_NE(tif, nullptr);
  const uint64_t offset = TIFFGetStrileOffset(tif, index);
  TIFFClose(tif);
  return offset;
}

bool SameRows(const TRasterBitmap& a, const TRasterBitmap& b, int from, int to, int width) {
  for (int y = from; y < to; ++y)
    if (std::memcmp(a.Scanline(y), b.Scanline(y), size_t(width)) != 0) return false;
  return true;
}

bool ZeroRows(const TRasterBitmap& a, int from, int to, int x_from = 0) {
  for (int y = from; y < to; ++y)
    for (int x = x_from; x < a.Width(); ++x)
      if (a.Scanline(y)[x] != 0) return false;
  return true;
}

TEST(AnyTiffSafety, AFileCutShortKeepsTheChunksBeforeTheCut) {
  TTempDir dir;
  for (uint16_t compression : {COMPRESSION_NONE, COMPRESSION_ADOBE_DEFLATE, COMPRESSION_LZW}) {
    for (bool tiled : {false, true}) {
      SCOPED_TRACE(std::to_string(compression) + (tiled ? " tiled" : " striped"));
      const auto path = dir / "cut.tif";
      const auto bytes =
          test_support::WriteTiffWithLibtiff(path, DirectoryFirst(compression, tiled), Pattern);
      const TRasterBitmap full = DecodeAny(bytes).Picture;
      // Cut a little into chunk 9 (tiles: the second of the third row;
      // strips: 9 of 4 would not exist, so cut into strip 2 instead).
      const uint32_t chunk = tiled ? 9 : 2;
      const uint64_t cut = ChunkOffset(path, chunk) + 3;
      const std::vector<uint8_t> damaged(bytes.begin(), bytes.begin() + long(cut));
      const test_support::TAnyDecoded decoded = DecodeAny(damaged);
      const TRasterBitmap& picture = decoded.Picture;
      ASSERT_EQ(picture.Height(), 64);
      EXPECT_TRUE(SameRows(picture, full, 0, 32, tiled ? 16 : 64)) << "the chunks before the cut";
      EXPECT_TRUE(ZeroRows(picture, 48, 64)) << "the chunks past the end of the file";
    }
  }
}

// A picture stored as one huge strip is read row by row, and a file cut
// inside it keeps the rows decoded before the cut.
TEST(AnyTiffSafety, OneHugeStripCutShortKeepsItsFirstRows) {
  TTempDir dir;
  TTiffRecipe recipe;
  recipe.Width = 4096;
  recipe.Height = 3000;  // 36 MB of RGB in one strip, more than is buffered whole
  recipe.Samples = 3;
  recipe.Photometric = PHOTOMETRIC_RGB;
  recipe.Compression = COMPRESSION_ADOBE_DEFLATE;
  recipe.DirectoryFirst = true;
  const auto bytes = test_support::WriteTiff(dir, "strip.tif", recipe, Pattern);
  const TRasterBitmap full = DecodeAny(bytes).Picture;
  EXPECT_EQ(test_support::ColorAt(full, 4000, 2999).Red, Pattern(4000, 2999, 0));
  const std::vector<uint8_t> damaged(bytes.begin(), bytes.begin() + long(bytes.size() / 2));
  std::string message;
  try {
    const TRasterBitmap cut = DecodeAny(damaged).Picture;
    EXPECT_TRUE(SameRows(cut, full, 0, 100, 4096 * 3));
    EXPECT_TRUE(ZeroRows(cut, 2990, 3000));
  } catch (const EQuorvaneError& e) {
    message = e.what();
  }
  EXPECT_EQ(message, "");
}

TEST(AnyTiffSafety, DamagedDataGivesAClearMessageAndKeepsThePreviousPicture) {
  TTempDir dir;
  const auto path = dir / "damaged.tif";
  auto bytes = test_support::WriteTiffWithLibtiff(
      path, DirectoryFirst(COMPRESSION_ADOBE_DEFLATE, true), Pattern);
  // Scribble over the middle of tile 5's compressed data.
  const uint64_t at = ChunkOffset(path, 5);
  for (uint64_t i = at; i < at + 12; ++i) bytes[i] ^= 0x5A;
  TRasterBitmap picture;
  picture.Reset(TPixelFormat::Bit24, 3, 2);
  TGeoTiffTags tags;
  tags.AsciiParams = "before";
  TAnyTiffOptions options;
  options.MaxPictureBytes = test_support::kRoomyCap;
  try {
    DecodeAnyTiffBytes(bytes, picture, tags, options);
    ADD_FAILURE() << "no error";
  } catch (const EQuorvaneError& e) {
    EXPECT_TRUE(std::string(e.what()).starts_with("Cannot Read TIF File: ")) << e.what();
  }
  EXPECT_EQ(picture.Width(), 3);
  EXPECT_EQ(picture.PixelFormat(), TPixelFormat::Bit24);
  EXPECT_EQ(tags.AsciiParams, "before");
}

TEST(AnyTiffSafety, WhatIsNoTiffIsRefusedWithLibtiffsWords) {
  const std::vector<uint8_t> gif = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0};
  EXPECT_TRUE(AnyMessage(gif).starts_with("Invalid TIF File: ")) << AnyMessage(gif);
  EXPECT_TRUE(AnyMessage({}).starts_with("Invalid TIF File")) << AnyMessage({});
  const std::vector<uint8_t> header_only = {'I', 'I', 42, 0, 8, 0, 0, 0};
  EXPECT_TRUE(AnyMessage(header_only).starts_with("Invalid TIF File")) << AnyMessage(header_only);
}

// Width and height are only promises: a few bytes asking for a huge picture
// are refused by the cap, or by their chunk count, before anything is
// allocated.
TEST(AnyTiffSafety, HugeClaimsAreRefusedBeforeAllocating) {
  auto claim = [](uint32_t side) {
    test_support::TTiffBuilder tiles(false);
    tiles.Long(256, {side}).Long(257, {side}).Short(258, {8}).Short(259, {1});
    tiles.Short(262, {1}).Long(322, {16}).Long(323, {16}).Long(324, {8}).Long(325, {256});
    return tiles.Build();
  };
  EXPECT_EQ(AnyMessage(claim(1u << 18), 1 << 20),
            "Picture too large: 262144 x 262144 pixels at 8 bits per pixel need 68719476736 "
            "bytes, more than the memory cap of 1048576 bytes");
  // With a cap that would let the picture through, the tile count gives the
  // claim away: 2^28 tiles cannot be listed in a few hundred bytes.
  EXPECT_EQ(AnyMessage(claim(1u << 18), uint64_t(1) << 62),
            "Invalid TIF File: 268435456 tiles cannot fit in the file");
  // libtiff itself refuses counts beyond 32 bits.
  EXPECT_TRUE(AnyMessage(claim(1u << 30)).starts_with("Invalid TIF File: "))
      << AnyMessage(claim(1u << 30));
}

TEST(AnyTiffSafety, UnsupportedSamplesAreNamed) {
  TTempDir dir;
  TTiffRecipe complex;
  complex.Bits = 32;
  complex.SampleFormat = SAMPLEFORMAT_COMPLEXINT;
  const auto bytes = test_support::WriteTiff(dir, "complex.tif", complex,
                                             [](uint32_t, uint32_t, int) { return 1.0; });
  EXPECT_EQ(AnyMessage(bytes), "Unsupported Sample Format = 5");
  TTiffRecipe palette16;
  palette16.Bits = 16;
  palette16.Photometric = PHOTOMETRIC_PALETTE;
  palette16.ColorMap.assign(3 * 65536, 0);
  const auto palette_bytes = test_support::WriteTiff(dir, "palette16.tif", palette16,
                                                     [](uint32_t, uint32_t, int) { return 1.0; });
  EXPECT_EQ(AnyMessage(palette_bytes), "Unsupported Palette Bits/Sample: 16");
}

TEST(AnyTiffSafety, FilesAreReadLikeMemoryAndFailCleanlyWhenTheyShrink) {
  TTempDir dir;
  const auto path = dir / "file.tif";
  const auto bytes = test_support::WriteTiffWithLibtiff(
      path, DirectoryFirst(COMPRESSION_ADOBE_DEFLATE, true), Pattern);
  TRasterBitmap from_file;
  TGeoTiffTags tags;
  TAnyTiffOptions options;
  options.MaxPictureBytes = test_support::kRoomyCap;
  DecodeAnyTiffFile(path.string(), from_file, tags, options);
  const TRasterBitmap from_memory = DecodeAny(bytes).Picture;
  EXPECT_TRUE(SameRows(from_file, from_memory, 0, 64, 64));

  // Cut the file after it was opened: the reads come up short and say so.
  TFileTiffSource source(path.string());
  std::filesystem::resize_file(path, bytes.size() / 2);
  TRasterBitmap picture;
  try {
    DecodeAnyTiff(source, picture, tags, options);
    ADD_FAILURE() << "no error";
  } catch (const EQuorvaneError& e) {
    EXPECT_TRUE(std::string(e.what()).starts_with("Cannot Read TIF File: ")) << e.what();
  }
  EXPECT_TRUE(picture.Empty());

  try {
    DecodeAnyTiffFile((dir / "absent.tif").string(), picture, tags, options);
    ADD_FAILURE() << "no error";
  } catch (const EQuorvaneError& e) {
    EXPECT_TRUE(std::string(e.what()).starts_with("Cannot open file")) << e.what();
  }
}

TEST(AnyTiffSafety, ProgressCountsRowsAndItsHookIsClearedAfterwards) {
  TTempDir dir;
  const auto bytes =
      test_support::WriteTiff(dir, "progress.tif", DirectoryFirst(COMPRESSION_NONE, true), Pattern);
  TStageReporter reporter;
  int starting = 0, running = 0, ending = 0, last = -1;
  reporter.SetHook(
      [&](TProgressStage stage, uint8_t percent, bool, const TRect&, std::string_view) {
        starting += stage == TProgressStage::Starting;
        running += stage == TProgressStage::Running;
        ending += stage == TProgressStage::Ending;
        last = percent;
      });
  TRasterBitmap picture;
  TGeoTiffTags tags;
  TAnyTiffOptions options;
  options.MaxPictureBytes = test_support::kRoomyCap;
  options.Progress = &reporter;
  DecodeAnyTiffBytes(bytes, picture, tags, options);
  EXPECT_EQ(starting, 1);
  EXPECT_EQ(running, 64);
  EXPECT_EQ(ending, 1);
  EXPECT_EQ(last, 100);
  EXPECT_FALSE(reporter.HasHook());
}

// The working copy of a stretched picture is kept only when it fits beside
// the picture under the cap; otherwise the chunks are read twice, with the
// same result.
TEST(AnyTiffSafety, StretchWithoutRoomForAWorkingCopyGivesTheSamePicture) {
  TTempDir dir;
  TTiffRecipe recipe = DirectoryFirst(COMPRESSION_ADOBE_DEFLATE, true);
  recipe.Bits = 32;
  recipe.SampleFormat = SAMPLEFORMAT_IEEEFP;
  recipe.NoData = "5";
  const auto bytes = test_support::WriteTiff(
      dir, "dem.tif", recipe,
      [](uint32_t x, uint32_t y, int) { return x == y ? 5.0 : x * 0.75 - y * 1.5; });
  const TRasterBitmap kept = DecodeAny(bytes).Picture;
  const TRasterBitmap twice = DecodeAny(bytes, 64 * 64 + 100).Picture;  // the picture alone
  EXPECT_TRUE(SameRows(kept, twice, 0, 64, 64));
  EXPECT_EQ(kept.Scanline(7)[7], 0);
  EXPECT_EQ(kept.Scanline(63)[0], 0) << "the minimum";
  EXPECT_EQ(kept.Scanline(0)[63], 255) << "the maximum";
}

// A row far longer than the picture it shows is refused before any buffer
// for it is taken (a real file of 65535 samples per pixel once cost seconds
// of zeroing and gigabytes of memory), and so are sample counts no image
// uses.
TEST(AnyTiffSafety, RowsOutOfProportionToThePictureAreRefused) {
  for (const uint16_t samples : {1000, 65535}) {
    test_support::TTiffBuilder f(false);
    const uint32_t data = f.AddData({0x78, 0x9C, 0x03, 0x00, 0x00, 0x00, 0x00, 0x01});
    // One row of 65535 pixels: a picture of 64 KB over a row of 64 MB or 4 GB.
    f.Long(256, {65535}).Long(257, {1}).Short(258, {8}).Short(259, {8}).Short(262, {1});
    f.Long(273, {data}).Short(277, {samples}).Long(278, {1}).Long(279, {8});
    const std::string message = AnyMessage(f.Build());
    if (samples == 1000) {
      EXPECT_TRUE(message.starts_with("Image Too Large: a strip of")) << message;
    } else {
      EXPECT_EQ(message, "Unsupported Samples/Pixel: 65535");
    }
  }
}

// Found by fuzzing: an elevation model spanning less than 255 times the
// smallest normal double.
TEST(AnyTiffSafety, ARangeTooNarrowForAScaleStillStretches) {
  TTempDir dir;
  TTiffRecipe recipe;
  recipe.Width = 3;
  recipe.Height = 2;
  recipe.Bits = 64;
  recipe.SampleFormat = SAMPLEFORMAT_IEEEFP;
  const auto bytes = test_support::WriteTiff(
      dir, "tiny.tif", recipe,
      [](uint32_t x, uint32_t y, int) { return x == y ? 1.8187371284868433e-307 : 0.0; });
  const TRasterBitmap picture = DecodeAny(bytes).Picture;
  EXPECT_EQ(picture.Scanline(1)[1], 255);
  EXPECT_EQ(picture.Scanline(1)[0], 0);
}

// Found by fuzzing: a GeoTIFF tag of a field type no TIFF defines.
TEST(AnyTiffSafety, GeoTiffTagsOfUnknownTypesAreIgnored) {
  test_support::TTiffBuilder f(false);
  const uint32_t pixels = f.AddData(std::vector<uint8_t>(16, 7));
  f.Long(256, {4}).Long(257, {4}).Short(258, {8}).Short(259, {1}).Short(262, {1});
  f.Long(273, {pixels}).Long(278, {4}).Long(279, {16});
  f.Entry(33550, 1036, 3, std::vector<uint8_t>(24, 1));
  const test_support::TAnyDecoded decoded = DecodeAny(f.Build());
  EXPECT_EQ(decoded.Picture.Width(), 4);
  EXPECT_EQ(decoded.Tags.PixelScale[0], 0);
}

}  // namespace
}  // namespace quorvane
