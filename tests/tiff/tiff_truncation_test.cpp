// Files cut short, before and while they are read: what the file holds is
// decoded, the rest of the picture stays zero, and nothing ends the process.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "raster/file_io.h"
#include "support/test_pictures.h"
#include "tiff/tiff_reader.h"
#include "tiff_test_builder.h"
#include "tiff_test_support.h"

namespace quorvane {
namespace {

using test::LoadMessage;
using test::LoadTiffBytes;
using test::TTiffBuilder;

// An 8-bit grey TIFF of `width` x `height` in strips of `rows_per_strip`
// rows whose offsets are those of the complete file, of which only the
// first `rows_present` rows are written. Row r holds the byte r % 251.
std::vector<uint8_t> CutGreyTiff(uint32_t width, uint32_t height, uint32_t rows_per_strip,
                                 uint32_t rows_present) {
  const uint32_t strips = (height + rows_per_strip - 1) / rows_per_strip;
  TTiffBuilder f(false, 9);
  std::vector<uint32_t> offsets, counts;
  const uint32_t data_start = 8 + 2 + 9 * 12 + 4 + strips * 8;
  for (uint32_t s = 0; s < strips; ++s) {
    offsets.push_back(data_start + s * rows_per_strip * width);
    counts.push_back(std::min(rows_per_strip, height - s * rows_per_strip) * width);
  }
  f.Long(256, {width}).Long(257, {height}).Short(258, {8}).Short(259, {1}).Short(262, {1});
  f.Long(273, offsets).Long(278, {rows_per_strip}).Long(279, counts).Short(277, {1});
  std::vector<uint8_t> file = f.Build();
  if (file.size() > data_start) throw std::logic_error("layout differs from the builder's");
  file.resize(data_start, 0);
  file.reserve(data_start + size_t(rows_present) * width);
  for (uint32_t r = 0; r < rows_present; ++r) file.insert(file.end(), width, uint8_t(r % 251));
  return file;
}

TEST(TiffTruncation, AHugeUncompressedPictureCutShortLoadsTheRowsItHolds) {
  // 10000 x 10000 bytes, cut after 3000 rows (30 MB of the 100 MB).
  const std::vector<uint8_t> file = CutGreyTiff(10000, 10000, 100, 3000);
  TRasterBitmap b;
  ASSERT_EQ(LoadMessage(file, b), "");
  ASSERT_EQ(b.Width(), 10000);
  ASSERT_EQ(b.Height(), 10000);
  EXPECT_EQ(b.Scanline(0)[0], 0);
  EXPECT_EQ(b.Scanline(1)[9999], 1);
  EXPECT_EQ(b.Scanline(2999)[5000], 2999 % 251);
  EXPECT_EQ(b.Scanline(3000)[0], 0);
  EXPECT_EQ(b.Scanline(9999)[9999], 0);
}

TEST(TiffTruncation, NoStripsWithAnUnsupportedCompressionLoadTheBlankPicture) {
  // Nothing is decoded, so the compression never matters.
  TTiffBuilder f(false);
  f.Long(256, {4}).Long(257, {2}).Short(258, {8}).Short(259, {7}).Short(262, {1});
  TRasterBitmap b;
  ASSERT_EQ(LoadMessage(f.Build(), b), "");
  EXPECT_EQ(b.Width(), 4);
  EXPECT_EQ(b.Height(), 2);
  EXPECT_EQ(b.PixelFormat(), TPixelFormat::Bit8);
  EXPECT_EQ(test::Pixels(b), std::vector<uint8_t>(8, 0));
}

// A file truncated by another program while it is being loaded must not end
// the process (a memory-mapped file raises SIGBUS there). The load runs in a
// child process; the parent cuts the file at staggered moments.
TEST(TiffTruncation, AFileCutWhileItLoadsNeverKillsTheProcess) {
  testing::TTempDir dir;
  const std::string path = (dir / "shrinking.tif").string();
  const std::vector<uint8_t> file = CutGreyTiff(8000, 8000, 8000, 8000);
  for (int delay_us : {0, 100, 300, 700, 1500, 3000, 6000, 12000}) {
    SCOPED_TRACE(delay_us);
    WriteFileAtomically(path, file);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      try {
        TRasterBitmap b;
        TGeoTiffTags tags;
        LoadTiffFile(path, b, tags);
      } catch (...) {
      }
      ::_exit(0);
    }
    ::usleep(useconds_t(delay_us));
    ASSERT_EQ(::truncate(path.c_str(), 4096), 0);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_FALSE(WIFSIGNALED(status)) << "killed by signal " << WTERMSIG(status);
  }
}

}  // namespace
}  // namespace quorvane
