#include "settings/settings_path.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

TEST(SettingsPath, ConfigurationFolderFirstThenHome) {
  EXPECT_EQ(SettingsFilePath({.ConfigHome = "/cfg", .Home = "/srv/people/ana"}),
            "/cfg/quorvane/quorvane.ini");
  EXPECT_EQ(SettingsFilePath({.Home = "/srv/people/ana"}),
            "/srv/people/ana/.config/quorvane/quorvane.ini");
  // A relative or empty configuration folder is ignored.
  EXPECT_EQ(SettingsFilePath({.ConfigHome = "cfg", .Home = "/srv/people/ana"}),
            "/srv/people/ana/.config/quorvane/quorvane.ini");
  EXPECT_EQ(SettingsFilePath({.ConfigHome = "", .Home = "/srv/people/ana"}),
            "/srv/people/ana/.config/quorvane/quorvane.ini");
  // Without $HOME the account's home folder stands in.
  const std::string fallback = SettingsFilePath({});
  EXPECT_TRUE(fallback.empty() || fallback.ends_with("/.config/quorvane/quorvane.ini")) << fallback;
}

}  // namespace
}  // namespace quorvane
