#include "document/any_tiff_setting.h"

#include <exception>

#include "document/ini_file.h"

namespace quorvane {

bool ReadAnyTiffSetting(const std::string& settings_path) {
  if (settings_path.empty()) return false;
  try {
    return TIniFile::Load(settings_path).Read(kOptionsSection, kAnyTiffKey).value_or("0") == "1";
  } catch (const std::exception&) {
    return false;
  }
}

void SaveAnyTiffSetting(const std::string& settings_path, bool on) {
  if (settings_path.empty()) return;
  try {
    TIniFile ini = TIniFile::Load(settings_path);
    ini.Write(kOptionsSection, kAnyTiffKey, on ? "1" : "0");
    ini.Save(settings_path);
  } catch (const std::exception&) {
    // A setting that cannot be kept is no reason to stop the user.
  }
}

}  // namespace quorvane
