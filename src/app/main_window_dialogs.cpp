// The main window's scale dialog, printing, recent files, help and about:
// menu handlers that open the dialogs living for the whole run and hand them
// the panes they work on.
#include <QFileInfo>

#include "about/help_commands.h"
#include "app/about_box.h"
#include "app/help_window.h"
#include "app/main_window.h"
#include "app/measure_controller.h"
#include "app/messages.h"
#include "app/print_dialog.h"
#include "app/recent_files_menu.h"
#include "app/scale_dialog.h"
#include "settings/settings_path.h"

namespace quorvane {

void TMainWindow::SetUpRecentFiles() {
  reopen_menu_ = new TRecentFilesMenu(menu_.ReopenMnu, SettingsFilePath(), this);
  reopen_menu_->OnMenuClick = [this](const QString& path) { ReopenMenuMenuClick(path); };
  reopen_menu_->LoadHistory();
}

void TMainWindow::SetScaleCoords1Click() {
  if (!dialogs_.ScaleDlg) return;
  if (dialogs_.ScaleDlg->OpenScaleDialog(document_.Source, document_.Destination))
    measure_->ShowGeoReadouts();
}

// The pictures as saving takes them: never the selection box, which is a
// tool; the measuring polyline on the Measure page is part of the picture.
void TMainWindow::PrintMnuClick() {
  if (!dialogs_.PrintDlg) return;
  RunCommand(this, [&] {
    const TOutputPicture source = document_.OutputPicture(document_.Source);
    const TOutputPicture destination = document_.OutputPicture(document_.Destination);
    dialogs_.PrintDlg->Execute(source.Get(), destination.Get());
  });
}

void TMainWindow::ContentsMnuClick() {
  if (dialogs_.HelpWindow) dialogs_.HelpWindow->Request(ContentsMnuRequest());
}

void TMainWindow::SearchHelpMnuClick() {
  if (dialogs_.HelpWindow) dialogs_.HelpWindow->Request(SearchHelpMnuRequest());
}

void TMainWindow::HowtoUseMnuClick() {
  if (dialogs_.HelpWindow) dialogs_.HelpWindow->Request(HowtoUseMnuRequest());
}

void TMainWindow::ShowHelpContext(int context) {
  if (dialogs_.HelpWindow) dialogs_.HelpWindow->ShowHelpContext(context);
}

void TMainWindow::AboutMnuClick() {
  if (dialogs_.AboutBox) dialogs_.AboutBox->exec();
}

void TMainWindow::ReopenMenuMenuClick(const QString& path) {
  OpenImageFile(path);
}

void TMainWindow::AddRecentFile(const QString& path) {
  // Kept absolute, so the entry still names the file after a restart in
  // another folder.
  if (reopen_menu_) reopen_menu_->AddFile(QFileInfo(path).absoluteFilePath());
}

}  // namespace quorvane
