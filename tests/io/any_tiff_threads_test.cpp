// The extended TIFF reader with its chunks spread over threads (through the
// program's own band runner) gives the picture one thread gives, reports
// progress on the calling thread only, and passes a worker's failure on.
#include <gtest/gtest.h>

#include <cstring>
#include <thread>

#include "anytiff/any_tiff_test_support.h"
#include "imaging/parallel_bands.h"

namespace quorvane {
namespace {

using test_support::TTempDir;
using test_support::TTiffRecipe;

TRasterBitmap Decode(const std::vector<uint8_t>& bytes, int threads, uint64_t cap,
                     TStageReporter* progress = nullptr) {
  TRasterBitmap picture;
  TGeoTiffTags tags;
  TAnyTiffOptions options;
  options.MaxPictureBytes = cap;
  options.Parallel = ParallelBands;
  options.Threads = threads;
  options.Progress = progress;
  DecodeAnyTiffBytes(bytes, picture, tags, options);
  return picture;
}

bool SamePictures(const TRasterBitmap& a, const TRasterBitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height() || a.PixelFormat() != b.PixelFormat())
    return false;
  const size_t row = (size_t(a.Width()) * a.BitsPerPixel() + 7) / 8;
  for (int y = 0; y < a.Height(); ++y)
    if (std::memcmp(a.Scanline(y), b.Scanline(y), row) != 0) return false;
  return a.ColorTable().size() == b.ColorTable().size() &&
         std::equal(a.ColorTable().begin(), a.ColorTable().end(), b.ColorTable().begin());
}

double Sample(uint32_t x, uint32_t y, int s) {
  return double((x * 29 + y * 13 + uint32_t(s) * 71) % 256);
}

TEST(AnyTiffThreads, EveryConversionGivesThePictureOneThreadGives) {
  TTempDir dir;
  struct TCase {
    const char* name;
    uint16_t bits, samples, format, photometric, planar;
    uint32_t tile;
  };
  const TCase cases[] = {
      {"rgb tiles", 8, 3, SAMPLEFORMAT_UINT, PHOTOMETRIC_RGB, PLANARCONFIG_CONTIG, 16},
      {"rgb strips", 8, 3, SAMPLEFORMAT_UINT, PHOTOMETRIC_RGB, PLANARCONFIG_CONTIG, 0},
      {"planes", 8, 3, SAMPLEFORMAT_UINT, PHOTOMETRIC_RGB, PLANARCONFIG_SEPARATE, 16},
      {"bilevel", 1, 1, SAMPLEFORMAT_UINT, PHOTOMETRIC_MINISBLACK, PLANARCONFIG_CONTIG, 16},
      {"float", 32, 1, SAMPLEFORMAT_IEEEFP, PHOTOMETRIC_MINISBLACK, PLANARCONFIG_CONTIG, 16},
      {"int16 bands", 16, 3, SAMPLEFORMAT_INT, PHOTOMETRIC_MINISBLACK, PLANARCONFIG_CONTIG, 0},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    TTiffRecipe recipe;
    recipe.Width = 75;
    recipe.Height = 61;
    recipe.Bits = c.bits;
    recipe.Samples = c.samples;
    recipe.SampleFormat = c.format;
    recipe.Photometric = c.photometric;
    recipe.Planar = c.planar;
    recipe.TileWidth = recipe.TileHeight = c.tile;
    recipe.RowsPerStrip = 4;
    recipe.Compression = COMPRESSION_ADOBE_DEFLATE;
    const auto bytes =
        test_support::WriteTiff(dir, "t.tif", recipe, [&](uint32_t x, uint32_t y, int s) {
          return c.bits == 1 ? double((x + y) % 3 == 0)
                             : Sample(x, y, s) - (c.format == 2 ? 100 : 0);
        });
    const TRasterBitmap one = Decode(bytes, 1, test_support::kRoomyCap);
    for (int threads : {2, 3}) {
      EXPECT_TRUE(SamePictures(one, Decode(bytes, threads, test_support::kRoomyCap))) << threads;
      // A cap that leaves no room for a working copy: stretches read twice.
      const uint64_t tight = uint64_t(one.Stride()) * uint64_t(one.Height()) + 16;
      EXPECT_TRUE(SamePictures(one, Decode(bytes, threads, tight))) << threads << " tight";
    }
  }
}

TEST(AnyTiffThreads, ProgressComesFromTheCallingThreadOnly) {
  TTempDir dir;
  TTiffRecipe recipe;
  recipe.Width = 64;
  recipe.Height = 100;
  recipe.TileWidth = recipe.TileHeight = 16;
  const auto bytes = test_support::WriteTiff(dir, "p.tif", recipe, Sample);
  TStageReporter reporter;
  const std::thread::id caller = std::this_thread::get_id();
  int running = 0;
  bool elsewhere = false;
  reporter.SetHook([&](TProgressStage stage, uint8_t, bool, const TRect&, std::string_view) {
    elsewhere |= std::this_thread::get_id() != caller;
    running += stage == TProgressStage::Running;
  });
  Decode(bytes, 3, test_support::kRoomyCap, &reporter);
  EXPECT_EQ(running, 100);
  EXPECT_FALSE(elsewhere);
}

TEST(AnyTiffThreads, AWorkersFailureEndsTheDecode) {
  TTempDir dir;
  TTiffRecipe recipe;
  recipe.Width = 64;
  recipe.Height = 128;
  recipe.TileWidth = recipe.TileHeight = 16;
  recipe.Compression = COMPRESSION_ADOBE_DEFLATE;
  recipe.DirectoryFirst = true;
  const auto path = dir / "bad.tif";
  auto bytes = test_support::WriteTiffWithLibtiff(path, recipe, Sample);
  TIFF* tif = TIFFOpen(path.c_str(), "r");
  const uint64_t at = TIFFGetStrileOffset(tif, 30);
  TIFFClose(tif);
  for (uint64_t i = at; i < at + 12; ++i) bytes[i] ^= 0x5A;
  TRasterBitmap picture;
  TGeoTiffTags tags;
  TAnyTiffOptions options;
  options.MaxPictureBytes = test_support::kRoomyCap;
  options.Parallel = ParallelBands;
  options.Threads = 3;
  try {
    DecodeAnyTiffBytes(bytes, picture, tags, options);
    ADD_FAILURE() << "no error";
  } catch (const EQuorvaneError& e) {
    EXPECT_TRUE(std::string(e.what()).starts_with("Cannot Read TIF File")) << e.what();
  }
  EXPECT_TRUE(picture.Empty());
}

}  // namespace
}  // namespace quorvane
