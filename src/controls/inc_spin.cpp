#include "controls/inc_spin.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QVBoxLayout>

namespace quorvane {

namespace {

QToolButton* ArrowButton(QWidget* parent, Qt::ArrowType arrow, const char* name,
                         const QString& accessible_name) {
  auto* button = new QToolButton(parent);
  button->setObjectName(name);
  button->setArrowType(arrow);
  button->setAccessibleName(accessible_name);
  // The value's own field keeps the keyboard focus while the arrows are used.
  button->setFocusPolicy(Qt::NoFocus);
  button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  return button;
}

}  // namespace

TIncSpin::TIncSpin(const TIncSpinOptions& options, QWidget* parent)
    : QWidget(parent), repeat_(options.Timing) {
  up_ = ArrowButton(this, Qt::UpArrow, "UpButton", "Up");
  down_ = ArrowButton(this, Qt::DownArrow, "DownButton", "Down");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(up_);
  layout->addWidget(down_);
  setFocusPolicy(Qt::TabFocus);
  for (QToolButton* button : {up_, down_}) {
    connect(button, &QToolButton::pressed, this, [this, button] { Pressed(button); });
    connect(button, &QToolButton::released, this, &TIncSpin::Released);
  }
  connect(&repeat_, &TAutoRepeat::Repeat, this, &TIncSpin::RepeatHeld);
}

QSize TIncSpin::sizeHint() const {
  return {16, 22};
}

// The click comes with the press. A button held by the mouse goes up when
// the pointer slides off it and down again when it comes back; that is the
// same press going on, not a new one.
void TIncSpin::Pressed(QToolButton* button) {
  if (held_ == button) return;
  held_ = button;
  Click(button);
  repeat_.Start();
}

void TIncSpin::Released() {
  if (QGuiApplication::mouseButtons() & Qt::LeftButton) return;  // only slid off
  Release();
}

void TIncSpin::Release() {
  held_ = nullptr;
  repeat_.Stop();
}

// While the pointer has slid off the held button the repeats pause; they go
// on when it comes back, as long as the button is still held.
void TIncSpin::RepeatHeld() {
  if (!(QGuiApplication::mouseButtons() & Qt::LeftButton)) {
    Release();  // let go somewhere the button never heard of
  } else if (held_ && held_->isDown()) {
    Click(held_);
  }
}

void TIncSpin::Click(const QToolButton* button) {
  if (button == up_) {
    emit UpClick();
  } else {
    emit DownClick();
  }
}

void TIncSpin::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Up) {
    emit UpClick();
  } else if (event->key() == Qt::Key_Down) {
    emit DownClick();
  } else {
    QWidget::keyPressEvent(event);
  }
}

// A button that disappears or is disabled while held never sees its
// release; the repeats must not outlive it.
void TIncSpin::hideEvent(QHideEvent* event) {
  Release();
  QWidget::hideEvent(event);
}

void TIncSpin::changeEvent(QEvent* event) {
  if (event->type() == QEvent::EnabledChange && !isEnabled()) Release();
  QWidget::changeEvent(event);
}

}  // namespace quorvane
