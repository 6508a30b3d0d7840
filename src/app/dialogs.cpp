#include "app/dialogs.h"

#include "app/about_box.h"
#include "app/bands_dialog.h"
#include "app/geotiff_info_dialog.h"
#include "app/help_window.h"
#include "app/precise_size_dialog.h"
#include "app/print_dialog.h"
#include "app/progress_windows.h"
#include "app/scale_dialog.h"
#include "app/tiff_options_dialog.h"

namespace quorvane {

TDialogs CreateDialogs(QWidget* owner, const QString& help_folder) {
  TDialogs dialogs;
  // First, so that every dialog's Help button has a window to open.
  dialogs.HelpWindow =
      new THelpWindow(help_folder.isEmpty() ? DefaultHelpFolder() : help_folder, owner);
  THelpWindow* help = dialogs.HelpWindow;
  const auto show_help = [help](int context) { help->ShowHelpContext(context); };
  dialogs.ProgressDlg = new TProgressDlg(owner);
  dialogs.PrintDlg = new TPrintDlg({.Progress = dialogs.ProgressDlg, .ShowHelp = show_help}, owner);
  dialogs.PreciseSizeDlg = new TPreciseSizeDlg(owner);
  QObject::connect(dialogs.PreciseSizeDlg, &TPreciseSizeDlg::HelpRequested, help,
                   [help](qint64 context) { help->ShowHelpContext(int(context)); });
  dialogs.GeoTiffInfoDlg = new TGeoTiffInfoDlg(owner);
  QObject::connect(dialogs.GeoTiffInfoDlg, &TGeoTiffInfoDlg::HelpRequested, help,
                   &THelpWindow::ShowHelpContext);
  dialogs.AboutBox = new TAboutBox(owner);
  dialogs.ScaleDlg = new TScaleDlg(owner);
  dialogs.TiffOptionsDlg = new TTiffOptionsDlg(owner);
  dialogs.BandsDlg = new TBandsDlg(owner);
  return dialogs;
}

}  // namespace quorvane
