#include "settings/settings_path.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

namespace quorvane {

namespace {

std::optional<std::string> Variable(const char* name) {
  const char* value = std::getenv(name);
  if (!value) return std::nullopt;
  return std::string(value);
}

// The home folder of the account, for sessions started without $HOME.
std::optional<std::string> AccountHome() {
  long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(size > 0 ? size_t(size) : 16384);
  passwd entry{};
  passwd* found = nullptr;
  if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found ||
      !found->pw_dir)
    return std::nullopt;
  return std::string(found->pw_dir);
}

bool Absolute(const std::optional<std::string>& folder) {
  return folder && !folder->empty() && std::filesystem::path(*folder).is_absolute();
}

}  // namespace

TSettingsEnvironment CurrentSettingsEnvironment() {
  return {.ConfigHome = Variable("XDG_CONFIG_HOME"), .Home = Variable("HOME")};
}

std::string SettingsFilePath(const TSettingsEnvironment& environment) {
  namespace fs = std::filesystem;
  // A relative configuration folder is to be ignored, as if it were unset.
  fs::path config;
  if (Absolute(environment.ConfigHome)) {
    config = *environment.ConfigHome;
  } else {
    std::optional<std::string> home = environment.Home;
    if (!Absolute(home)) home = AccountHome();
    if (!Absolute(home)) return {};
    config = fs::path(*home) / ".config";
  }
  return (config / kSettingsFolderName / kSettingsFileName).string();
}

std::string SettingsFilePath() {
  return SettingsFilePath(CurrentSettingsEnvironment());
}

}  // namespace quorvane
