#include "about/startup_arguments.h"

#include <gtest/gtest.h>

#include <set>

#include "about/about_texts.h"

namespace quorvane {
namespace {

struct TCase {
  const char* Situation;
  std::vector<std::string> Arguments;
  TStartupArguments Expected;
};

// Existing files in these cases: "a.tif", "-dash.tif" and "-h".
const TCase kCases[] = {
    {"no argument", {}, {}},
    {"an existing file", {"a.tif"}, {"a.tif"}},
    {"further arguments are ignored", {"a.tif", "--foo", "b.tif"}, {"a.tif"}},
    {"a missing first file opens nothing", {"missing.tif", "a.tif"}, {}},
    {"names starting with a dash", {"-dash.tif"}, {"-dash.tif"}},
    {"an existing file named like an option", {"-h"}, {"-h"}},
    {"unknown options before the file", {"--foo", "-x", "a.tif"}, {"a.tif"}},
    {"help", {"--help", "a.tif"}, {"a.tif", true}},
    {"version after the file", {"a.tif", "-v"}, {"a.tif", false, true}},
    {"the own option", {"--screenshot", "s.png", "a.tif"}, {"a.tif", false, false, "s.png"}},
    {"the own option after the file",
     {"a.tif", "--screenshot=s.png"},
     {"a.tif", false, false, "s.png"}},
};

TEST(StartupArguments, TheFirstArgumentOpensWhenItExistsAndTheRestIsIgnored) {
  const std::set<std::string> existing = {"a.tif", "-dash.tif", "-h"};
  for (const TCase& c : kCases) {
    const TStartupArguments parsed = ParseStartupArguments(
        c.Arguments, [&](const std::string& name) { return existing.count(name) > 0; });
    EXPECT_EQ(parsed.File, c.Expected.File) << c.Situation;
    EXPECT_EQ(parsed.Help, c.Expected.Help) << c.Situation;
    EXPECT_EQ(parsed.Version, c.Expected.Version) << c.Situation;
    EXPECT_EQ(parsed.Screenshot, c.Expected.Screenshot) << c.Situation;
  }
  EXPECT_EQ(StartupVersionText("/no/such/program"),
            "Quorvane " + AboutVersionText(TodayDate()) + "\n");
}

}  // namespace
}  // namespace quorvane
