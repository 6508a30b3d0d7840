// The File and Edit commands of the main window: open, save either pane,
// paste into the source, copy either pane or the last cursor position, and
// the two TIFF dialogs. Each reads its controls, runs the document's
// command and shows what comes back; failures end in an error message and
// the window keeps the pictures it holds.
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <memory>
#include <optional>

#include "app/clipboard_pictures.h"
#include "app/geotiff_info_dialog.h"
#include "app/main_window.h"
#include "app/measure_page.h"
#include "app/messages.h"
#include "app/picture_dialogs.h"
#include "app/progress_windows.h"
#include "app/qt_text.h"
#include "app/tiff_options_dialog.h"
#include "document/clipboard.h"
#include "document/open_image.h"
#include "document/save_pane.h"
#include "io/format_registry.h"

namespace quorvane {

namespace {

// File names as the operating system spells them.
std::string LocalPath(const QString& name) {
  return QFile::encodeName(name).toStdString();
}

std::unique_ptr<TRasterBitmap> LoadForPreview(const std::string& path) {
  // The preview's tags are its own; the document's stay those of the file
  // last opened.
  TGeoTiffTags tags;
  return LoadPicture(path, tags);
}

}  // namespace

TFileChoosers DialogFileChoosers() {
  TFileChoosers choosers;
  choosers.OpenName = [](QWidget* parent) {
    TOpenPictureDialog dialog(BuildTypeFilter(), LoadForPreview, parent);
    return dialog.Run();
  };
  choosers.SaveName = [](QWidget* parent) {
    TSavePictureDialog dialog(BuildTypeFilter(), parent);
    return dialog.Run();
  };
  return choosers;
}

void TMainWindow::OpenMnuClick() {
  const QString name = choosers_.OpenName ? choosers_.OpenName(this) : QString();
  if (!name.isEmpty()) OpenImageFile(name);
}

void TMainWindow::OpenImageFile(const QString& file_name) {
  RunCommand(this, [&] {
    TOpenOptions options;
    // Added before the load, so a file that fails to load stays listed.
    options.AddRecentFile = [this](const std::string& path) {
      AddRecentFile(QFile::decodeName(path.c_str()));
    };
    options.Load = LoadOptions();
    ShowSourceTexts(quorvane::OpenImageFile(document_, LocalPath(file_name), options));
    SelectDatumFromFile();
    // The window's own title, which the task bar shows too. Never the
    // application's display name: on X11 Qt appends that to every later
    // title, dialogs' included.
    setWindowTitle(FromStd(document_.Caption));
    ShowSelectionOnResizePage();
    if (dialogs_.GeoTiffInfoDlg) dialogs_.GeoTiffInfoDlg->SetReport(document_.Report);
    ShowBoxReadout();
  });
}

void TMainWindow::SaveSourceAsMnuClick() {
  SavePane(TPaneChoice::Input);
}

void TMainWindow::SaveDestinationAs1Click() {
  if (const auto warning = SaveDestinationWarning(document_)) {
    ShowWarningMessage(this, FromStd(*warning));
    return;
  }
  SavePane(TPaneChoice::Output);
}

void TMainWindow::SavePane(TPaneChoice pane) {
  const QString name = choosers_.SaveName ? choosers_.SaveName(this) : QString();
  if (name.isEmpty()) return;
  const bool saved = RunCommand(this, [&] {
    const std::string path = LocalPath(name);
    TPaneSaveOptions options;
    if (dialogs_.TiffOptionsDlg) {
      options.Compress = dialogs_.TiffOptionsDlg->UsePackbits();
      options.GeoTiff = dialogs_.TiffOptionsDlg->SaveGeoTiff();
    }
    // Shown from before the writer starts until it ends, also by an error,
    // so no progress window stays behind the error message.
    std::optional<TLoadProgress> progress;
    if (SaveReportsProgress(path)) {
      progress.emplace(this);
      options.Progress = progress->Hook();
    }
    if (pane == TPaneChoice::Output) {
      SaveDestination(document_, path, options);
    } else {
      SaveSource(document_, path, options);
    }
  });
  // After a failure the box stays hidden until a command shows it again.
  if (saved) ShowSelectionOnResizePage();
  ShowBoxReadout();
}

void TMainWindow::PasteMnuClick() {
  RunCommand(this, [&] {
    // Hidden also when the clipboard turns out to hold no picture.
    document_.HideBox();
    const TRasterBitmap pasted = PictureFromClipboard();
    ShowSourceTexts(PasteSource(document_, &pasted));
    ShowSelectionOnResizePage();
    ShowBoxReadout();
  });
}

void TMainWindow::CopyInputMnuClick() {
  RunCommand(this, [&] {
    PutPictureOnClipboard(CopySource(document_));
    ShowSelectionOnResizePage();
    ShowBoxReadout();
  });
}

// Before the first resize there is nothing to copy: the user is told so, as
// when saving, and the clipboard keeps what it held.
void TMainWindow::CopyOutputMnuClick() {
  if (const auto warning = SaveDestinationWarning(document_)) {
    ShowWarningMessage(this, FromStd(*warning));
    return;
  }
  RunCommand(this, [&] { PutPictureOnClipboard(CopyDestination(document_)); });
}

void TMainWindow::CopyCoordinatesMnuClick() {
  if (!LastReadout()) return;
  QGuiApplication::clipboard()->setText(FromStd(CoordinatesLine(*LastReadout())));
}

}  // namespace quorvane
