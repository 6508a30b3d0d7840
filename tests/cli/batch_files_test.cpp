// Several inputs with --output-dir: every output is what the single form
// writes for it, a failing file is named with its message while the others
// go on, and the status tells whether any failed.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "io/format_registry.h"
#include "support/cli_runner.h"
#include "support/test_pictures.h"

namespace quorvane {
namespace {

namespace fs = std::filesystem;

struct TBatchCase {
  std::vector<std::string> Command;  // command and its own options
  const char* Format;                // --format, or null for the input's own
};

TEST(BatchFiles, WritesWhatTheSingleFormWritesAndReportsFailures) {
  test_support::TTempDir dir;
  const std::string a = (dir / "a.tif").string(), b = (dir / "b.tif").string();
  SaveBitmapFile(test_support::NoisePicture(TPixelFormat::Bit8, 30, 20), a, {});
  SaveBitmapFile(test_support::Gradient24(25, 40), b, {});
  const std::string junk = (dir / "junk.tif").string();
  test_support::WriteFileBytes(junk, {'n', 'o'});
  const TBatchCase cases[] = {
      {{"convert"}, "png"},
      {{"convert", "--packbits"}, nullptr},
      {{"crop", "--rect", "2,3,17,19"}, ".jpg"},
      {{"tone", "--gamma", "70"}, nullptr},
      {{"resize", "--percent", "60", "--filter", "mitchell"}, "tif"},
  };
  for (const TBatchCase& c : cases) {
    SCOPED_TRACE(c.Command[0]);
    const fs::path out = dir / ("out-" + c.Command[0]);
    fs::remove_all(out);
    std::vector<std::string> args{c.Command[0], a,    junk, b, "--output-dir",
                                  out.string(), "-j", "2"};
    args.insert(args.end(), c.Command.begin() + 1, c.Command.end());
    if (c.Format) args.insert(args.end(), {"--format", c.Format});
    const test_support::TCliResult batch = test_support::RunCli(args);
    EXPECT_EQ(batch.ExitCode, 1);
    EXPECT_NE(batch.Err.find(junk + ": Invalid TIF File"), std::string::npos) << batch.Err;
    const std::string ext =
        c.Format ? (c.Format[0] == '.' ? "" : ".") + std::string(c.Format) : ".tif";
    for (const std::string& in : {a, b}) {
      const fs::path single = dir / ("single" + ext);
      std::vector<std::string> one{c.Command[0], in, single.string()};
      one.insert(one.end(), c.Command.begin() + 1, c.Command.end());
      ASSERT_EQ(test_support::RunCli(one).ExitCode, 0);
      EXPECT_EQ(test_support::ReadFileBytes(out / (fs::path(in).stem().string() + ext)),
                test_support::ReadFileBytes(single));
    }
    EXPECT_FALSE(fs::exists(out / ("junk" + ext)));
    // Without the failing file every file succeeds.
    args.erase(args.begin() + 2);
    EXPECT_EQ(test_support::RunCli(args).ExitCode, 0);
  }
}

}  // namespace
}  // namespace quorvane
