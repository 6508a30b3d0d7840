// quorvane-cli's own options before any command: --help and --version.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "cli/commands.h"
#include "support/cli_runner.h"
#include "support/file_dates.h"
#include "support/test_pictures.h"

namespace quorvane::testing {
namespace {

namespace fs = std::filesystem;

TEST(CliOptions, HelpListsEveryCommandOnStdout) {
  for (const char* option : {"--help", "-h"}) {
    const TCliResult r = RunCli({option});
    EXPECT_EQ(r.ExitCode, 0) << option;
    EXPECT_EQ(r.Err, "");
    for (const auto& command : cli::Commands())
      EXPECT_NE(r.Out.find(command.Usage), std::string::npos) << command.Name;
    EXPECT_NE(r.Out.find("--version"), std::string::npos);
  }
}

// The version is the date of the window program beside the tool, whose
// About box shows it, or the tool's own date where it stands alone.
TEST(CliOptions, VersionFollowsTheWindowProgramBesideIt) {
  const TTempDir dir;
  const fs::path cli = dir / "quorvane-cli";
  fs::copy_file(QUORVANE_CLI_PATH, cli);
  ASSERT_TRUE(SetFileDate(cli, 2002, 4, 6));
  TCliResult r = RunProgram(cli.string(), {"--version"});
  EXPECT_EQ(r.ExitCode, 0);
  EXPECT_EQ(r.Out, "Quorvane Version 1.02.4.6.7\n");

  std::ofstream(dir / "quorvane") << "window";
  ASSERT_TRUE(SetFileDate(dir / "quorvane", 2001, 3, 5));
  r = RunProgram(cli.string(), {"--version"});
  EXPECT_EQ(r.Out, "Quorvane Version 1.01.3.5.7\n");
}

}  // namespace
}  // namespace quorvane::testing
