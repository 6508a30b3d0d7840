#include "settings/option_settings.h"

#include <exception>

#include "settings/ini_file.h"

namespace quorvane {

bool ReadOptionSetting(const std::string& settings_path, const char* key) {
  if (settings_path.empty()) return false;
  try {
    return TIniFile::Load(settings_path).Read(kOptionsSection, key).value_or("0") == "1";
  } catch (const std::exception&) {
    return false;
  }
}

void SaveOptionSetting(const std::string& settings_path, const char* key, bool on) {
  if (settings_path.empty()) return;
  try {
    TIniFile ini = TIniFile::Load(settings_path);
    ini.Write(kOptionsSection, key, on ? "1" : "0");
    ini.Save(settings_path);
  } catch (const std::exception&) {
    // A setting that cannot be kept is no reason to stop the user.
  }
}

}  // namespace quorvane
