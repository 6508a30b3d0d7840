#pragma once
// The request to open any TIFF, remembered between runs in the settings file
// ("[Options]", "AnyTiff=1"). Off unless the file says 1.
#include <string>

namespace quorvane {

inline constexpr const char* kOptionsSection = "Options";
inline constexpr const char* kAnyTiffKey = "AnyTiff";

// False when the file, the section or the key is missing or unreadable.
bool ReadAnyTiffSetting(const std::string& settings_path);
// Writes the choice, keeping every other line of the file; a file that
// cannot be written is ignored, as the recent-files list ignores it.
void SaveAnyTiffSetting(const std::string& settings_path, bool on);

}  // namespace quorvane
