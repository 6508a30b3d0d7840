#include "app/image_view.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <cmath>

#include "app/picture_rows.h"

namespace quorvane {

TImageMouse ToImageMouse(const QMouseEvent& event) {
  TImageMouse mouse;
  // A pixel covers [x, x + 1): positions inside it name it, also left of or
  // above the picture while the mouse is held and dragged there.
  mouse.X = int(std::floor(event.position().x()));
  mouse.Y = int(std::floor(event.position().y()));
  const Qt::MouseButtons buttons = event.buttons();
  const Qt::KeyboardModifiers keys = event.modifiers();
  mouse.Shift.Left = buttons.testFlag(Qt::LeftButton);
  mouse.Shift.Right = buttons.testFlag(Qt::RightButton);
  mouse.Shift.Middle = buttons.testFlag(Qt::MiddleButton);
  mouse.Shift.Ctrl = keys.testFlag(Qt::ControlModifier);
  mouse.Shift.Shift = keys.testFlag(Qt::ShiftModifier);
  mouse.Shift.Alt = keys.testFlag(Qt::AltModifier);
  mouse.Button = event.button();
  return mouse;
}

TImageEx::TImageEx(QWidget* parent) : QWidget(parent) {
  // Every exposed pixel is painted from the picture, so Qt need not clear
  // the background first; moves without a button report too.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  resize(0, 0);
}

void TImageEx::SetPicture(const TRasterBitmap* picture) {
  picture_ = picture;
  PictureChanged();
}

QSize TImageEx::PictureSize() const {
  if (!picture_ || picture_->Empty()) return {0, 0};
  return {picture_->Width(), picture_->Height()};
}

QSize TImageEx::sizeHint() const {
  return PictureSize();
}

void TImageEx::PictureChanged() {
  const QSize size = PictureSize();
  if (size != this->size()) resize(size);
  updateGeometry();
  update();
}

void TImageEx::UpdateRect(const TRect& rect) {
  if (rect.Right <= rect.Left || rect.Bottom <= rect.Top) return;
  update(QRect(QPoint(rect.Left, rect.Top), QPoint(rect.Right - 1, rect.Bottom - 1)));
}

void TImageEx::paintEvent(QPaintEvent* event) {
  if (!picture_ || picture_->Empty()) return;
  QPainter painter(this);
  const QRect whole(QPoint(0, 0), PictureSize());
  for (const QRect& exposed : event->region()) {
    const QRect area = exposed.intersected(whole);
    const QImage image = PictureRect(*picture_, area);
    if (!image.isNull()) painter.drawImage(area.topLeft(), image);
  }
}

void TImageEx::mousePressEvent(QMouseEvent* event) {
  emit MouseDown(ToImageMouse(*event));
}

void TImageEx::mouseMoveEvent(QMouseEvent* event) {
  emit MouseMove(ToImageMouse(*event));
}

void TImageEx::mouseReleaseEvent(QMouseEvent* event) {
  emit MouseUp(ToImageMouse(*event));
}

void TImageEx::enterEvent(QEnterEvent* event) {
  QWidget::enterEvent(event);
  emit MouseEnter();
}

void TImageEx::leaveEvent(QEvent* event) {
  QWidget::leaveEvent(event);
  emit MouseLeave();
}

}  // namespace quorvane
