#include "document/startup_arguments.h"

#include <gtest/gtest.h>

#include <set>

#include "document/about_texts.h"

namespace quorvane {
namespace {

using TArgs = std::vector<std::string>;

struct TCase {
  const char* Situation;
  TArgs Arguments;
  std::optional<std::string> File;
  bool Help = false;
  bool Version = false;
  std::optional<std::string> Screenshot;
};

// Existing files in these cases: "a.tif", "-dash.tif", "-h".
const TCase kCases[] = {
    {"no argument", {}, {}},
    {"an existing file", {"a.tif"}, "a.tif"},
    {"further arguments are ignored", {"a.tif", "--foo", "b.tif"}, "a.tif"},
    {"a missing first file opens nothing", {"missing.tif", "a.tif"}, {}},
    {"a name starting with a dash", {"-dash.tif"}, "-dash.tif"},
    {"unknown options before the file", {"--foo", "-x", "a.tif"}, "a.tif"},
    {"an existing file named like an option", {"-h"}, "-h"},
    {"help", {"--help", "a.tif"}, "a.tif", true},
    {"help after the file", {"a.tif", "-h"}, "a.tif", true},
    {"version", {"--version"}, {}, false, true},
    {"the screenshot option and its file",
     {"--screenshot", "shot.png", "a.tif"},
     "a.tif",
     false,
     false,
     "shot.png"},
    {"the screenshot option after the file",
     {"a.tif", "--screenshot=shot.png"},
     "a.tif",
     false,
     false,
     "shot.png"},
};

TEST(StartupArguments, FirstExistingFileOwnOptionsAndNothingElse) {
  const std::set<std::string> existing = {"a.tif", "-dash.tif", "-h"};
  const auto exists = [&](const std::string& name) { return existing.count(name) > 0; };
  for (const TCase& c : kCases) {
    SCOPED_TRACE(c.Situation);
    const TStartupArguments parsed = ParseStartupArguments(c.Arguments, exists);
    EXPECT_EQ(parsed.File, c.File);
    EXPECT_EQ(parsed.Help, c.Help);
    EXPECT_EQ(parsed.Version, c.Version);
    EXPECT_EQ(parsed.Screenshot, c.Screenshot);
  }
}

TEST(StartupArguments, VersionIsTheAboutBoxs) {
  EXPECT_EQ(StartupVersionText("/no/such/program"),
            "Quorvane " + AboutVersionText(TodayDate()) + "\n");
  EXPECT_NE(StartupUsageText("quorvane").find("Usage: quorvane [FILE]"), std::string::npos);
}

}  // namespace
}  // namespace quorvane
