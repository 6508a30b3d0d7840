#include "app/main_window.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMimeData>
#include <QSlider>
#include <QSplitter>
#include <QTabWidget>

#include "app/geotiff_info_dialog.h"
#include "app/measure_page.h"
#include "app/messages.h"
#include "app/number_format.h"
#include "app/qt_text.h"
#include "app/source_box.h"
#include "app/tiff_options_dialog.h"
#include "app/tools_page.h"
#include "document/band_choice.h"
#include "document/readouts.h"
#include "document/tone_page.h"
#include "geo/datums.h"
#include "imaging/startup_picture.h"

namespace quorvane {

namespace {

// The first local file among dropped items, or an empty text.
QString DroppedFile(const QMimeData* data) {
  if (!data || !data->hasUrls()) return {};
  for (const QUrl& url : data->urls())
    if (url.isLocalFile()) return url.toLocalFile();
  return {};
}

void Repaint(TImageEx* view, const TRect& rect) {
  view->UpdateRect(rect);
}

}  // namespace

TMainWindow::TMainWindow(QWidget* parent) : QMainWindow(parent), document_(MakeStartupPicture()) {
  BuildLayout();
  ConnectPanes();
  BuildControllers();
  BuildZoom();
  FormCreate();
  SetUpRecentFiles();
  ConnectMenu();
}

void TMainWindow::FormCreate() {
  document_.Selection.HideBox = [this] { HideSelection(); };
  document_.Selection.SetBox = [this](const TRect& rect) { SetSelection(rect); };
  source_.InputImage->SetPicture(&document_.Source.Picture);
  destination_.OutputImage->SetPicture(&document_.Destination.Picture);
  SourceChanged();
  page_control_->setCurrentIndex(int(TPage::Resize));
  ShowSelection();
  measure_page_->FillDatumList(DatumListEntries());
  ShowBoxReadout();
  ReadAnyTiff();
  ReadDatumFromFile();
}

TPage TMainWindow::ActivePage() const {
  return TPage(page_control_->currentIndex());
}

void TMainWindow::SourceChanged() {
  ShowSourceTexts(document_.SourceChanged());
}

void TMainWindow::ShowSourceTexts(const TSourceTexts& texts) {
  source_.DimenDis->setText(FromStd(texts.SourceSize));
  ShowNewSize(texts.NewSize);
  source_.InputImage->PictureReplaced();
  ShowBoxReadout();
  menu_.BandsMnu->setEnabled(CanChooseBands(document_));
}

void TMainWindow::ShowSourceSize() {
  source_.DimenDis->setText(FromStd(SourceSizeText(document_.Source.Picture)));
}

void TMainWindow::ShowBoxReadout() {
  source_.BoxDis->setText(FromStd(BoxReadoutText(SelectionRect())));
}

void TMainWindow::ShowSelectionOnResizePage() {
  if (ActivePage() == TPage::Resize) ShowSelection();
}

bool TMainWindow::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) FormActivate();
  return QMainWindow::event(event);
}

void TMainWindow::FormActivate() {
  if (!first_activation_) return;
  // Cleared before the open, so a file that fails is reported once only.
  first_activation_ = false;
  const QFileInfo file(command_line_file_);
  if (command_line_file_.isEmpty() || !file.exists() || file.isDir()) return;
  // After the activation has been handled, so an error message has a
  // finished window to sit on.
  QMetaObject::invokeMethod(
      this, [this, name = command_line_file_] { OpenImageFile(name); }, Qt::QueuedConnection);
}

// Every overlay goes, then the new page's own comes back: the selection box
// on Resize, both measuring polylines on Measure, none on Tools.
void TMainWindow::PageControlChange(int index) {
  Q_UNUSED(index);
  document_.MeasurePageActive = ActivePage() == TPage::Measure;
  // The box puts back the pixels under it itself.
  HideSelection();
  Repaint(source_.InputImage, document_.Source.RestoreSnapshot());
  Repaint(destination_.OutputImage, document_.Destination.RestoreSnapshot());
  ActiveController().PageShown();
  ShowBoxReadout();
}

void TMainWindow::Splitter1Moved(int pos, int index) {
  Q_UNUSED(index);
  if (pos <= kToolPaneCap) return;
  const QList<int> sizes = splitter1_->sizes();
  splitter1_->setSizes({kToolPaneCap, sizes.value(0) + sizes.value(1) - kToolPaneCap});
}

void TMainWindow::ResetPanelsMnuClick() {
  const QList<int> widths = splitter1_->sizes();
  splitter1_->setSizes({kToolPaneCap, widths.value(0) + widths.value(1) - kToolPaneCap});
  const int source_height = panel2_->height() / 2;
  const int rest = panel2_->height() - splitter2_->handleWidth() - source_height;
  splitter2_->setSizes({source_height, rest});
}

void TMainWindow::TiffInfoMnuClick() {
  if (dialogs_.GeoTiffInfoDlg) dialogs_.GeoTiffInfoDlg->exec();
}

void TMainWindow::iffOptions1Click() {
  if (dialogs_.TiffOptionsDlg) dialogs_.TiffOptionsDlg->exec();
}

void TMainWindow::ExitMnuClick() {
  close();
}

void TMainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (!DroppedFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void TMainWindow::dropEvent(QDropEvent* event) {
  const QString file = DroppedFile(event->mimeData());
  if (file.isEmpty()) return;
  event->acceptProposedAction();
  OpenImageFile(file);
}

}  // namespace quorvane
