#include "app/progress_windows.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QThread>
#include <QVBoxLayout>
#include <QWindow>
#include <algorithm>

namespace quorvane {

namespace {

// No frame from the window manager: several window managers give every
// framed window its title-bar buttons whatever the window asks for, and cut
// the caption short to make room for them. The window draws its own border
// and shows its caption above the bar instead; the window title stays the
// caption too.
constexpr Qt::WindowFlags kProgressWindowFlags = Qt::Dialog | Qt::FramelessWindowHint;

QProgressBar* AddBar(QDialog* dialog, const char* name, int width) {
  auto* border = new QFrame(dialog);
  border->setFrameStyle(QFrame::Panel | QFrame::Raised);
  border->setLineWidth(2);
  auto* caption = new QLabel(dialog->windowTitle(), border);
  caption->setObjectName("CaptionDis");
  QFont bold = caption->font();
  bold.setBold(true);
  caption->setFont(bold);
  QObject::connect(dialog, &QWidget::windowTitleChanged, caption, &QLabel::setText);
  auto* bar = new QProgressBar(border);
  bar->setObjectName(name);
  bar->setRange(0, 100);
  bar->setValue(0);
  bar->setFixedSize(width, 16);
  bar->setTextVisible(false);
  auto* inside = new QVBoxLayout(border);
  inside->setContentsMargins(8, 6, 8, 8);
  inside->addWidget(caption);
  inside->addWidget(bar);
  auto* layout = new QVBoxLayout(dialog);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(border);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  return bar;
}

// How long a progress window may take to appear before the work starts
// anyway.
constexpr int kExposeWaitMs = 1000;

// A window just shown is mapped by the window system (and framed by its
// window manager) some time later, and what is painted before it is
// exposed never reaches the screen. So the window's events are handled
// (but no user input, so no second command can start) until it is exposed,
// and then the whole window is painted, before the work begins.
void ShowAtOnce(QDialog* dialog) {
  dialog->show();
  QElapsedTimer waited;
  waited.start();
  const QWindow* window = dialog->windowHandle();
  while (window && !window->isExposed() && waited.elapsed() < kExposeWaitMs) {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    if (!window->isExposed()) QThread::msleep(2);
  }
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  dialog->repaint();
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
  ShowAtOnce(this);
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
  ShowAtOnce(window_);
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
