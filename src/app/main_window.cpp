#include "app/main_window.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QMimeData>
#include <QSplitter>
#include <QTabWidget>

#include "app/geotiff_info_dialog.h"
#include "app/measure_page.h"
#include "app/tiff_options_dialog.h"
#include "app/tools_page.h"
#include "app/window_texts.h"
#include "geo/datums.h"
#include "imaging/startup_picture.h"

namespace quorvane {

namespace {

QString FromStd(const std::string& text) {
  return QString::fromStdString(text);
}

// The tone panels follow the user's locale; a separator beyond one byte
// falls back to the point.
char DecimalSeparator() {
  const QString point = QLocale().decimalPoint();
  const char latin1 = point.size() == 1 ? point.at(0).toLatin1() : 0;
  return latin1 != 0 ? latin1 : '.';
}

// The first local file among dropped items, or an empty text.
QString DroppedFile(const QMimeData* data) {
  if (!data || !data->hasUrls()) return {};
  for (const QUrl& url : data->urls())
    if (url.isLocalFile()) return url.toLocalFile();
  return {};
}

}  // namespace

TMainWindow::TMainWindow(QWidget* parent) : QMainWindow(parent) {
  BuildLayout();
  ConnectMenu();
  ConnectPanes();
  FormCreate();
}

void TMainWindow::FormCreate() {
  source_picture_ = MakeStartupPicture();
  source_.InputImage->SetPicture(&source_picture_);
  destination_.OutputImage->SetPicture(&destination_picture_);
  SourceChanged();
  page_control_->setCurrentIndex(int(TPage::Resize));
  measure_page_->FillDatumList(quorvane::FillDatumList());
  ShowBoxReadout();
}

TPage TMainWindow::ActivePage() const {
  return TPage(page_control_->currentIndex());
}

void TMainWindow::SourceChanged() {
  ShowSourceSize();
  ShowBoxReadout();
}

void TMainWindow::OpenImageFile(const QString& file_name) {
  // Loading belongs to the window's state layer; nothing to do here yet.
  Q_UNUSED(file_name);
}

void TMainWindow::ShowSourceSize() {
  source_.DimenDis->setText(FromStd(SourceSizeText(source_picture_)));
}

void TMainWindow::ShowBoxReadout() {
  source_.BoxDis->setText(FromStd(BoxReadoutText({})));
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

void TMainWindow::PageControlChange(int index) {
  Q_UNUSED(index);
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

void TMainWindow::InputImageMouseDown(const TImageMouse& mouse) {
  Q_UNUSED(mouse);
  ShowBoxReadout();
}

void TMainWindow::InputImageMouseMove(const TImageMouse& mouse) {
  source_.Mouse1Dis->setText(FromStd(MouseReadoutText(mouse.X, mouse.Y)));
  ShowBoxReadout();
}

void TMainWindow::InputImageMouseUp(const TImageMouse& mouse) {
  Q_UNUSED(mouse);
  ShowBoxReadout();
}

void TMainWindow::OutputImageMouseDown(const TImageMouse& mouse) {
  Q_UNUSED(mouse);
}

void TMainWindow::OutputImageMouseMove(const TImageMouse& mouse) {
  destination_.Mouse2Dis->setText(FromStd(MouseReadoutText(mouse.X, mouse.Y)));
}

void TMainWindow::OutputImageMouseUp(const TImageMouse& mouse) {
  Q_UNUSED(mouse);
}

void TMainWindow::ResetMeasureBtnClick() {}

void TMainWindow::LengthRadioClick() {}

void TMainWindow::BrightnessBarChange() {
  const TToneValues values = tools_page_->ReadToneSliders();
  tools_page_->ShowToneValues(quorvane::ShowToneValues(values, DecimalSeparator()));
}

void TMainWindow::ResetBCGBtnClick() {
  tools_page_->CentreTrackBars();
  BrightnessBarChange();
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
