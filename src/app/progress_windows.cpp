#include "app/progress_windows.h"

#include <QCoreApplication>
#include <QProgressBar>
#include <QVBoxLayout>
#include <algorithm>

namespace quorvane {

namespace {

constexpr Qt::WindowFlags kProgressWindowFlags =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;

QProgressBar* AddBar(QDialog* dialog, const char* name, int width) {
  auto* bar = new QProgressBar(dialog);
  bar->setObjectName(name);
  bar->setRange(0, 100);
  bar->setValue(0);
  bar->setFixedSize(width, 16);
  bar->setTextVisible(false);
  auto* layout = new QVBoxLayout(dialog);
  layout->setContentsMargins(8, 8, 8, 8);
  layout->addWidget(bar);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  return bar;
}

// A window that was just shown has not been mapped by the window system
// yet; letting it handle that (but no user input, so no second command can
// start) makes the window and its bar appear before the work begins.
void ShowAtOnce(QDialog* dialog, QProgressBar* bar) {
  bar->repaint();
  dialog->show();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  bar->repaint();
}

}  // namespace

TProgressDlg::TProgressDlg(QWidget* parent) : QDialog(parent, kProgressWindowFlags) {
  setObjectName("ProgressDlg");
  setWindowTitle("Resizing Image");
  setModal(false);
  bar_ = AddBar(this, "ProgressBar1", 150);
}

void TProgressDlg::ShowProgress(const QString& caption) {
  setWindowTitle(caption);
  bar_->setValue(0);
  ShowAtOnce(this, bar_);
}

void TProgressDlg::SetProgress(int percent) {
  // Reports beyond the end (more steps than announced) keep the bar full.
  bar_->setValue(std::clamp(percent, 0, 100));
  bar_->repaint();
}

TProgressProc TProgressDlg::Proc() {
  return [this](int percent) { SetProgress(percent); };
}

TProgressScope::TProgressScope(TProgressDlg& dialog, const QString& caption) : dialog_(dialog) {
  dialog_.ShowProgress(caption);
}

TProgressScope::~TProgressScope() {
  dialog_.hide();
}

TBitmapProgress::TBitmapProgress(QWidget* parent) : QDialog(parent, kProgressWindowFlags) {
  setObjectName("BitmapProgress");
  setWindowTitle("Loading Image");
  setModal(false);
  bar_ = AddBar(this, "ProgressBar", 153);
}

void TBitmapProgress::LoadProgressHandler(TProgressStage stage, int percent) {
  switch (stage) {
    case TProgressStage::Starting:
      bar_->setValue(0);
      break;
    case TProgressStage::Running:
      bar_->setValue(std::clamp(percent, 0, 100));
      break;
    case TProgressStage::Ending:
      break;
  }
  bar_->repaint();
}

TLoadProgress::TLoadProgress(QWidget* parent) : window_(new TBitmapProgress(parent)) {
  window_->setWindowTitle("Loading Bitmap");
  window_->Bar()->setValue(0);
  ShowAtOnce(window_, window_->Bar());
}

TLoadProgress::~TLoadProgress() {
  if (!window_) return;
  window_->hide();
  delete window_.data();
}

TProgressEvent TLoadProgress::Hook() {
  QPointer<TBitmapProgress> window = window_;
  return [window](TProgressStage stage, uint8_t percent, bool, const TRect&, std::string_view) {
    if (window) window->LoadProgressHandler(stage, percent);
  };
}

}  // namespace quorvane
