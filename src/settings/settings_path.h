#pragma once
// Where the program keeps its settings file: "quorvane.ini" in the folder
// "quorvane" of the user's configuration folder.
#include <optional>
#include <string>

namespace quorvane {

constexpr const char* kSettingsFileName = "quorvane.ini";
constexpr const char* kSettingsFolderName = "quorvane";

// The environment the path is computed from, so tests need not change the
// process's own.
struct TSettingsEnvironment {
  std::optional<std::string> ConfigHome;  // $XDG_CONFIG_HOME
  std::optional<std::string> Home;        // $HOME
};
TSettingsEnvironment CurrentSettingsEnvironment();

// $XDG_CONFIG_HOME/quorvane/quorvane.ini when that variable holds an
// absolute path, else $HOME/.config/quorvane/quorvane.ini, else the home
// folder of the user's account. Empty when no folder is known: the program
// then runs without a settings file.
std::string SettingsFilePath(const TSettingsEnvironment& environment);
std::string SettingsFilePath();

}  // namespace quorvane
