// Runs quorvane-cli convert as a user would and checks exit status, messages
// and the files it leaves.
#include <gtest/gtest.h>

#include <map>

#include "formats/jpeg_codec.h"
#include "formats/png_codec.h"
#include "geo/geotiff_georef.h"
#include "io/format_registry.h"
#include "support/cli_runner.h"
#include "support/test_pictures.h"

namespace quorvane {
namespace {

using test_support::ReadFileBytes;
using test_support::TTempDir;

struct TRun {
  int Status = -1;
  std::string Stderr;
  std::string Stdout;
};

// stderr goes to a file, so it is not a terminal and no progress bar shows.
TRun RunCli(const TTempDir&, const std::vector<std::string>& args) {
  const test_support::TCliResult result = test_support::RunCli(args);
  return {result.ExitCode, result.Err, result.Out};
}

TEST(ConvertCommand, ConvertsSilentlyWhenStderrIsNoTerminal) {
  TTempDir dir;
  const TRasterBitmap original = test_support::Gradient24(40, 30);
  test_support::WriteFileBytes(dir / "in.png", EncodePng(original));
  const TRun run = RunCli(dir, {"convert", (dir / "in.png").string(), (dir / "out.jpg").string()});
  EXPECT_EQ(run.Status, 0) << run.Stderr;
  EXPECT_EQ(run.Stderr, "") << "no progress bar into a file";
  TRasterBitmap back;
  DecodeJpeg(ReadFileBytes(dir / "out.jpg"), back);
  EXPECT_LT(test_support::Compare24(original, back).Mean, 3.0);
}

TEST(ConvertCommand, AFailureLeavesTheTargetUntouchedAndSaysWhy) {
  TTempDir dir;
  const std::vector<uint8_t> previous = {1, 2, 3};
  test_support::WriteFileBytes(dir / "out.png", previous);
  test_support::WriteFileBytes(dir / "bad.jpg", {0xFF, 0xD8, 0xFF, 0xE0, 0, 2});
  TRun run = RunCli(dir, {"convert", (dir / "bad.jpg").string(), (dir / "out.png").string()});
  EXPECT_EQ(run.Status, 1);
  EXPECT_EQ(run.Stderr.rfind("JPEG error #", 0), 0u) << run.Stderr;
  EXPECT_EQ(ReadFileBytes(dir / "out.png"), previous);

  run = RunCli(dir, {"convert", (dir / "none.png").string(), (dir / "out.png").string()});
  EXPECT_EQ(run.Status, 1);
  EXPECT_NE(run.Stderr.find("none.png"), std::string::npos) << run.Stderr;

  run = RunCli(dir, {"convert", (dir / "in.xyz").string(), (dir / "out.png").string()});
  EXPECT_EQ(run.Status, 1);
  EXPECT_EQ(run.Stderr, "Unknown picture file extension (.xyz)\n");

  test_support::WriteFileBytes(dir / "in.png", EncodePng(test_support::Gradient24(4, 4)));
  run = RunCli(dir, {"convert", (dir / "in.png").string(), (dir / "no" / "out.png").string()});
  EXPECT_EQ(run.Status, 1);
  EXPECT_FALSE(run.Stderr.empty());
  EXPECT_EQ(ReadFileBytes(dir / "out.png"), previous);
}

TEST(ConvertCommand, TiffOptionsReachTheWriter) {
  TTempDir dir;
  test_support::WriteFileBytes(dir / "in.png", EncodePng(test_support::Gradient24(8, 8)));
  auto directory = [](const std::vector<uint8_t>& b) {
    const uint32_t ifd = uint32_t(b[4] | b[5] << 8 | b[6] << 16 | b[7] << 24);
    const int n = b[ifd] | b[ifd + 1] << 8;
    std::map<int, uint32_t> values;
    for (int i = 0; i < n; ++i) {
      const size_t e = ifd + 2 + 12 * size_t(i);
      values[b[e] | b[e + 1] << 8] = uint32_t(b[e + 8] | b[e + 9] << 8 | b[e + 10] << 16);
    }
    return values;
  };
  ASSERT_EQ(RunCli(dir, {"convert", (dir / "in.png").string(), (dir / "a.tif").string()}).Status,
            0);
  auto a = directory(ReadFileBytes(dir / "a.tif"));
  EXPECT_EQ(a.at(259), 1u) << "uncompressed by default";
  EXPECT_EQ(a.count(34735), 1u) << "GeoTIFF tags by default";
  ASSERT_EQ(RunCli(dir, {"convert", (dir / "in.png").string(), (dir / "b.tif").string(),
                         "--packbits", "--no-geotiff"})
                .Status,
            0);
  auto b = directory(ReadFileBytes(dir / "b.tif"));
  EXPECT_EQ(b.at(259), 32773u);
  EXPECT_EQ(b.count(34735), 0u);
  EXPECT_EQ(b.size(), 15u);
}

}  // namespace
}  // namespace quorvane
