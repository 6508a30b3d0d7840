// The Options menu's "Datum From File": after an open, the Datum list selects
// the datum of the file's coordinate system when it is one of the list's.
// The choice outlives the run in the settings file.
#include "app/main_window.h"
#include "app/measure_page.h"
#include "document/measure_page.h"
#include "settings/option_settings.h"
#include "settings/settings_path.h"

namespace quorvane {

void TMainWindow::ReadDatumFromFile() {
  menu_.DatumFromFileMnu->setChecked(ReadOptionSetting(SettingsFilePath(), kDatumFromFileKey));
}

void TMainWindow::DatumFromFileMnuClick(bool checked) {
  SaveOptionSetting(SettingsFilePath(), kDatumFromFileKey, checked);
}

void TMainWindow::SelectDatumFromFile() {
  if (!menu_.DatumFromFileMnu->isChecked()) return;
  if (const std::optional<TDatumChoice> datum = SourceDatum(document_))
    measure_page_->SetDatum(*datum);
}

}  // namespace quorvane
