#pragma once
// The dialogs that live for the whole run, created once at start-up after
// the main window and shown again and again, so their controls keep their
// states between openings.
#include <QString>

class QWidget;

namespace quorvane {

class TAboutBox;
class TBandsDlg;
class TGeoTiffInfoDlg;
class THelpWindow;
class TPreciseSizeDlg;
class TPrintDlg;
class TProgressDlg;
class TScaleDlg;
class TTiffOptionsDlg;

struct TDialogs {
  TProgressDlg* ProgressDlg = nullptr;
  TPreciseSizeDlg* PreciseSizeDlg = nullptr;
  TPrintDlg* PrintDlg = nullptr;
  TGeoTiffInfoDlg* GeoTiffInfoDlg = nullptr;
  TAboutBox* AboutBox = nullptr;
  TScaleDlg* ScaleDlg = nullptr;
  TTiffOptionsDlg* TiffOptionsDlg = nullptr;
  TBandsDlg* BandsDlg = nullptr;
  // The help window the Help menu and the dialogs' Help buttons open.
  THelpWindow* HelpWindow = nullptr;
};

// Creates the dialogs in start-up order, owned by `owner` (the main window);
// the help shows the pages in `help_folder` (DefaultHelpFolder() when empty).
TDialogs CreateDialogs(QWidget* owner, const QString& help_folder = {});

}  // namespace quorvane
