// Files of a few hundred bytes whose headers claim far more than they hold
// (made by make_hostile_files.py beside this file), run through quorvane-cli
// as a user would: each ends as it should, and within memory that has to do
// with the picture, not with the claim. Where we may (as root), outputs go to
// a copy of /dev/null made in the test's folder, so nothing large reaches the
// disk and a save that wrongly replaced a device would replace only the copy.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/cli_runner.h"

namespace quorvane {
namespace {

namespace fs = std::filesystem;

#if defined(__SANITIZE_ADDRESS__)
// The sanitizers' own memory says nothing about ours.
constexpr bool kMeasured = false;
#else
constexpr bool kMeasured = true;
#endif

std::string Hostile(const std::string& name) {
  return std::string(QUORVANE_SOURCE_DIR) + "/tests/hostile/" + name;
}

class HostileInputs : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("quorvane-hostile-" + std::to_string(::getpid()));
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }
  // A name with the extension `ext`: a null device when one can be made,
  // else a plain file.
  std::string Null(const std::string& ext) {
    const fs::path path = folder_ / ("null" + ext);
    if (!fs::exists(fs::symlink_status(path))) ::mknod(path.c_str(), S_IFCHR | 0666, makedev(1, 3));
    return path.string();
  }
  fs::path folder_;
};

struct TCase {
  const char* Input;
  std::vector<std::string> Options;
  const char* Ext;  // the output's extension; null for `info`
  int Exit;
  const char* Error;  // the start of stderr
  long MostMb;        // peak resident memory; before these fixes, up to gigabytes
};

TEST_F(HostileInputs, EndAsTheyShouldWithinMemoryOfThePicture) {
  const TCase cases[] = {
      // 4.2 GB before: a row of 65535 x 65535 samples.
      {"samples65535.tif", {"--any-tiff"}, ".bmp", 1, "Unsupported Samples/Pixel: 65535", 32},
      // 5.5 GB before.
      {"samples8081_f64.tif", {"--any-tiff"}, ".bmp", 1, "Unsupported Samples/Pixel: 8081", 32},
      // A blank 64 MB picture saved: 250 to 450 MB before (copies of it and
      // the whole file in memory).
      {"blank8000.tif", {}, ".png", 0, "", 32},
      {"blank8000.tif", {"--packbits"}, ".tif", 0, "", 32},
      {"blank8000.tif", {}, ".jpg", 0, "", 32},
      // 900 MB and 440 MB pictures as Windows bitmaps, never touched.
      {"blank30000.tif", {}, ".bmp", 0, "", 32},
      {"tall.gif", {}, ".bmp", 0, "", 32},
      // libpng's default limit of a million pixels a side refused it.
      {"wide1100000.tif", {}, ".png", 0, "", 32},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::string(c.Input) + " -> " + c.Ext);
    std::vector<std::string> args{"convert", Hostile(c.Input), Null(c.Ext)};
    args.insert(args.end(), c.Options.begin(), c.Options.end());
    const test_support::TMeasuredRun run = test_support::RunCliMeasured(args);
    EXPECT_EQ(run.ExitCode, c.Exit) << run.Err;
    EXPECT_TRUE(run.Err.starts_with(c.Error)) << run.Err;
    if (kMeasured) EXPECT_LE(run.PeakResidentKb, c.MostMb * 1024);
  }
  // A device is written into, never replaced.
  for (const auto& entry : fs::directory_iterator(folder_))
    if (::geteuid() == 0) EXPECT_TRUE(entry.is_character_file()) << entry.path();
}

TEST_F(HostileInputs, APictureWiderThanAMillionPixelsSavesAndReadsBackAsPng) {
  const std::string png = (folder_ / "wide.png").string();
  ASSERT_EQ(test_support::RunCli({"convert", Hostile("wide1100000.tif"), png}).ExitCode, 0);
  const test_support::TCliResult info = test_support::RunCli({"info", png, "--json"});
  ASSERT_EQ(info.ExitCode, 0) << info.Err;
  EXPECT_EQ(test_support::ParseJson(info.Out)["width"], 1100000);
}

// A second ImageWidth of a field type TIFF does not define (2304) is skipped,
// as libtiff skips it: the picture is 1 x 1, not 10 x 1.
TEST_F(HostileInputs, AnEntryOfAnUnknownFieldTypeIsSkipped) {
  const test_support::TCliResult info =
      test_support::RunCli({"info", Hostile("unknown_field_type.tif"), "--json"});
  ASSERT_EQ(info.ExitCode, 0) << info.Err;
  EXPECT_EQ(test_support::ParseJson(info.Out)["width"], 1);
}

// Running out of memory is said in words, with the bytes that were wanted,
// not as "std::bad_alloc".
TEST_F(HostileInputs, RunningOutOfMemorySaysSo) {
  if (!kMeasured) GTEST_SKIP() << "an address-space limit does not suit the sanitizers";
  const test_support::TMeasuredRun run = test_support::RunCliMeasured(
      {"convert", Hostile("tall.gif"), Null(".bmp")}, uint64_t(256) << 20);
  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_EQ(run.Err, "Not enough memory to hold the picture (439681528 bytes)\n");
}

}  // namespace
}  // namespace quorvane
