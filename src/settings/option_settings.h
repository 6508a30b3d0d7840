#pragma once
// The Options menu's check items, remembered between runs in the settings
// file's "[Options]" section as "Key=1": the request to open any TIFF
// ("AnyTiff"), to select the datum of a file's system on open
// ("DatumFromFile") and to show large new pictures fitted ("FitLarge").
// Each is off unless the file says 1.
#include <string>

namespace quorvane {

inline constexpr const char* kOptionsSection = "Options";
inline constexpr const char* kAnyTiffKey = "AnyTiff";
inline constexpr const char* kDatumFromFileKey = "DatumFromFile";
inline constexpr const char* kFitLargeKey = "FitLarge";

// False when the file, the section or the key is missing or unreadable.
bool ReadOptionSetting(const std::string& settings_path, const char* key);
// Writes the choice, keeping every other line of the file; a file that
// cannot be written is ignored, as the recent-files list ignores it.
void SaveOptionSetting(const std::string& settings_path, const char* key, bool on);

inline bool ReadAnyTiffSetting(const std::string& settings_path) {
  return ReadOptionSetting(settings_path, kAnyTiffKey);
}
inline void SaveAnyTiffSetting(const std::string& settings_path, bool on) {
  SaveOptionSetting(settings_path, kAnyTiffKey, on);
}

}  // namespace quorvane
