// Files cut short, before and while they are read: what the file holds is
// decoded, the rest of the picture stays zero, and nothing ends the process.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "raster/file_io.h"
#include "support/test_pictures.h"
#include "support/tiff_test_builder.h"
#include "tiff/tiff_reader.h"
#include "tiff_test_support.h"

namespace quorvane {
namespace {

using test_support::LoadMessage;
using test_support::LoadTiffBytes;
using test_support::TTiffBuilder;

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
  EXPECT_EQ(test_support::Pixels(b), std::vector<uint8_t>(8, 0));
}

TEST(TiffTruncation, TilesWithAnUnsupportedCompressionNameTheCompression) {
  // Tiles are not strips: their compression is refused as before, ahead of
  // the tiling itself.
  TTiffBuilder f(false);
  f.Long(256, {4}).Long(257, {2}).Short(258, {8}).Short(259, {7}).Short(262, {1});
  f.Long(322, {16}).Long(324, {8});
  TRasterBitmap b;
  EXPECT_EQ(LoadMessage(f.Build(), b), "Unsupported Compression = 7");
  EXPECT_EQ(test_support::HeaderMessage(f.Build()), "Unsupported Compression = 7");
}

// Another program cuts the file after its size was taken and before it is
// read (where a memory-mapped file would raise SIGBUS): the read keeps what
// is left, at every cut, and the picture keeps the rows that arrived.
TEST(TiffTruncation, AFileCutAfterItsSizeWasTakenLoadsWhatIsLeft) {
  test_support::TTempDir dir;
  const std::string path = (dir / "shrinking.tif").string();
  // Over a megabyte, so the read goes into mapped memory as large files do.
  const uint32_t width = 1200, height = 1000;
  const std::vector<uint8_t> file = CutGreyTiff(width, height, 100, height);
  const size_t data_start = file.size() - size_t(width) * height;
  for (uint32_t rows_left : {0u, 1u, 299u, 999u}) {
    SCOPED_TRACE(rows_left);
    WriteFileAtomically(path, file);
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    const size_t cut = data_start + size_t(rows_left) * width;
    ASSERT_EQ(::truncate(path.c_str(), off_t(cut)), 0);
    const TFileBytes bytes = ReadOpenFile(fd, file.size(), path);
    ::close(fd);
    ASSERT_EQ(bytes.Bytes().size(), cut);
    TRasterBitmap b;
    ASSERT_EQ(LoadMessage({bytes.Bytes().begin(), bytes.Bytes().end()}, b), "");
    ASSERT_EQ(b.Height(), int(height));
    for (uint32_t r : {0u, rows_left / 2, rows_left, height - 1})
      EXPECT_EQ(b.Scanline(int(r))[width - 1], r < rows_left ? r % 251 : 0) << "row " << r;
  }
}

}  // namespace
}  // namespace quorvane
