// The Options menu's "Open Any TIFF": whether TIFFs the program's own reader
// refuses open through the extended reader. The choice outlives the run in
// the settings file.
#include "app/bands_dialog.h"
#include "app/main_window.h"
#include "app/messages.h"
#include "document/band_choice.h"
#include "settings/option_settings.h"
#include "settings/settings_path.h"

namespace quorvane {

void TMainWindow::ReadAnyTiff() {
  menu_.AnyTiffMnu->setChecked(ReadAnyTiffSetting(SettingsFilePath()));
}

// The choice re-reads the source's samples; the georeference, the tags and
// their report stay those of the file.
void TMainWindow::BandsMnuClick() {
  if (!dialogs_.BandsDlg || !CanChooseBands(document_)) return;
  const std::optional<TAnyTiffDisplay> choice =
      dialogs_.BandsDlg->Execute(BandRowTexts(document_), ShownChoice(document_));
  if (!choice) return;
  RunCommand(this, [&] {
    ShowSourceTexts(ApplyBandChoice(document_, *choice));
    ShowSelectionOnResizePage();
  });
}

void TMainWindow::AnyTiffMnuClick(bool checked) {
  SaveAnyTiffSetting(SettingsFilePath(), checked);
}

TLoadOptions TMainWindow::LoadOptions() const {
  return {.AnyTiff = menu_.AnyTiffMnu->isChecked()};
}

}  // namespace quorvane
