// The Options menu's "Open Any TIFF": whether TIFFs the program's own reader
// refuses open through the extended reader. The choice outlives the run in
// the settings file.
#include "app/main_window.h"
#include "document/option_settings.h"
#include "document/settings_path.h"

namespace quorvane {

void TMainWindow::ConnectAnyTiff() {
  menu_.AnyTiffMnu->setChecked(ReadAnyTiffSetting(SettingsFilePath()));
  connect(menu_.AnyTiffMnu, &QAction::toggled, this, &TMainWindow::AnyTiffMnuClick);
}

void TMainWindow::AnyTiffMnuClick(bool checked) {
  SaveAnyTiffSetting(SettingsFilePath(), checked);
}

TLoadOptions TMainWindow::LoadOptions() const {
  return {.AnyTiff = menu_.AnyTiffMnu->isChecked()};
}

}  // namespace quorvane
