#pragma once
// The dialogs that live for the whole run, created once at start-up after
// the main window and shown again and again, so their controls keep their
// states between openings.
class QWidget;

namespace quorvane {

class TProgressDlg;
class TGeoTiffInfoDlg;
class TTiffOptionsDlg;

struct TDialogs {
  TProgressDlg* ProgressDlg = nullptr;
  TGeoTiffInfoDlg* GeoTiffInfoDlg = nullptr;
  TTiffOptionsDlg* TiffOptionsDlg = nullptr;
};

// Creates the dialogs in start-up order, owned by `owner` (the main window).
TDialogs CreateDialogs(QWidget* owner);

}  // namespace quorvane
