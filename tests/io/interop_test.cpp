// Other programs read the files our writers make: Debian's netpbm tools
// (pcxtoppm, ilbmtoppm, tgatoppm) convert them to PPM, which must hold our
// pixels exactly. Skipped when the tools are not installed.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "formats/iff.h"
#include "formats/pcx.h"
#include "formats/picture_compare.h"
#include "io/format_registry.h"
#include "raster/file_io.h"
#include "support/outside_tools.h"

namespace quorvane {
namespace {

namespace fs = std::filesystem;
using test_support::TRgbImage;

// A binary PPM with maxval 255.
bool ReadPpm(const std::string& path, TRgbImage& out) {
  std::ifstream in(path, std::ios::binary);
  std::string magic;
  int maxval = 0;
  in >> magic >> out.Width >> out.Height >> maxval;
  if (!in || magic != "P6" || maxval != 255) return false;
  in.get();
  out.Rgb.resize(size_t(out.Width) * out.Height * 3);
  in.read(reinterpret_cast<char*>(out.Rgb.data()), std::streamsize(out.Rgb.size()));
  return bool(in);
}

class NetpbmInterop : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ =
        fs::temp_directory_path() /
        ("quorvane_interop_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Runs `tool input > out.ppm` and reads the result.
  TRgbImage Convert(const std::string& tool, const fs::path& input) {
    const fs::path ppm = dir_ / "out.ppm";
    const std::string command =
        tool + " '" + input.string() + "' > '" + ppm.string() + "' 2>/dev/null";
    TRgbImage image;
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    EXPECT_TRUE(ReadPpm(ppm.string(), image)) << command;
    return image;
  }

  fs::path dir_;
};

TEST_F(NetpbmInterop, PcxtoppmReadsOurPcxFiles) {
  QUORVANE_TOOL_OR_SKIP("pcxtoppm");
  for (int width : {1, 37, 130}) {  // odd widths: BytesPerLine is not rounded up
    SCOPED_TRACE(width);
    TRasterBitmap b;
    b.Reset(TPixelFormat::Bit24, width, 7);
    for (int y = 0; y < 7; ++y)
      for (int i = 0; i < width * 3; ++i)
        b.Scanline(y)[i] = uint8_t(i < 90 ? 0xC7 : (i * 31 + y * 17) ^ (i / 9));
    const fs::path file = dir_ / "ours.pcx";
    WriteFileAtomically(file.string(), EncodePcx(b));
    EXPECT_EQ(test_support::MaxDifference(Convert("pcxtoppm", file), test_support::ToRgb(b)), 0);
  }
}

TEST_F(NetpbmInterop, IlbmtoppmReadsOurPbmFiles) {
  QUORVANE_TOOL_OR_SKIP("ilbmtoppm");
  TRasterBitmap b;
  b.Reset(TPixelFormat::Bit8, 39, 6);  // an odd width: rows are not padded
  for (int i = 0; i < 256; ++i)
    b.ColorTable()[i] = {uint8_t(i * 3), uint8_t(255 - i), uint8_t(i * 11), 0};
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 39; ++x) b.Scanline(y)[x] = uint8_t(x < 20 ? 7 : x * 13 + y);
  // The expected colours, straight from the palette.
  TRgbImage expected;
  expected.Width = 39;
  expected.Height = 6;
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 39; ++x) {
      const TRGBQuad c = b.ColorTable()[b.Scanline(y)[x]];
      expected.Rgb.insert(expected.Rgb.end(), {c.Red, c.Green, c.Blue});
    }
  for (bool compress : {false, true}) {
    SCOPED_TRACE(compress);
    const fs::path file = dir_ / "ours.lbm";
    WriteFileAtomically(file.string(), EncodeLbm(b, {.Compress = compress}));
    EXPECT_EQ(test_support::MaxDifference(Convert("ilbmtoppm", file), expected), 0);
  }
}

// A picture saved under a .tga name, whatever its pixel format, is a TGA
// file that another reader opens with our colours.
TEST_F(NetpbmInterop, TgatoppmReadsWhatASaveUnderATgaNameWrites) {
  QUORVANE_TOOL_OR_SKIP("tgatoppm");
  for (TPixelFormat format : {TPixelFormat::Bit24, TPixelFormat::Bit8, TPixelFormat::Bit32}) {
    SCOPED_TRACE(int(format));
    TRasterBitmap b;
    b.Reset(TPixelFormat::Bit24, 21, 5);
    for (int y = 0; y < 5; ++y)
      for (int i = 0; i < 21 * 3; ++i) b.Scanline(y)[i] = uint8_t(i * 37 + y * 101);
    b.SetPixelFormat(format);
    const fs::path file = dir_ / "ours.tga";
    SaveBitmapFile(b, file.string(), {});
    TRasterBitmap colours = b;  // the palette picture's colours
    colours.SetPixelFormat(TPixelFormat::Bit24);
    EXPECT_EQ(test_support::MaxDifference(Convert("tgatoppm", file), test_support::ToRgb(colours)),
              0);
  }
}

}  // namespace
}  // namespace quorvane
