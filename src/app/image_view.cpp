#include "app/image_view.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "app/picture_rows.h"
#include "app/zoomed_paint.h"

namespace quorvane {

namespace {

// A view pixel covers [x, x + 1): positions inside it name it, also left of
// or above the picture while the mouse is held and dragged there; the
// picture pixel is the one that view pixel shows.
int PictureCoordinate(double position, TViewZoom zoom) {
  const int64_t view = int64_t(std::floor(position));
  return int(std::clamp<int64_t>(ViewToPicture(view, zoom), INT32_MIN, INT32_MAX));
}

}  // namespace

TImageMouse ToImageMouse(const QMouseEvent& event, TViewZoom zoom) {
  TImageMouse mouse;
  mouse.X = PictureCoordinate(event.position().x(), zoom);
  mouse.Y = PictureCoordinate(event.position().y(), zoom);
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

QSize TImageEx::ViewSize() const {
  const QSize picture = PictureSize();
  return {int(ViewExtent(picture.width(), zoom_)), int(ViewExtent(picture.height(), zoom_))};
}

QSize TImageEx::sizeHint() const {
  return ViewSize();
}

void TImageEx::PictureChanged() {
  pyramid_.reset();
  const QSize size = ViewSize();
  if (size != this->size()) resize(size);
  updateGeometry();
  update();
}

void TImageEx::PictureReplaced() {
  const TViewZoom zoom = new_zoom_ ? new_zoom_() : kActualPixels;
  const bool changed = !(zoom == zoom_);
  zoom_ = zoom;
  PictureChanged();
  if (changed) emit ZoomChanged();
}

void TImageEx::SetZoom(TViewZoom zoom) {
  if (zoom == zoom_) return;
  zoom_ = zoom;
  const QSize size = ViewSize();
  if (size != this->size()) resize(size);
  updateGeometry();
  update();
  emit ZoomChanged();
}

QPoint TImageEx::PicturePoint(const QPointF& position) const {
  return {PictureCoordinate(position.x(), zoom_), PictureCoordinate(position.y(), zoom_)};
}

void TImageEx::UpdateRect(const TRect& rect) {
  if (rect.Right <= rect.Left || rect.Bottom <= rect.Top) return;
  if (zoom_ == kActualPixels) {
    update(QRect(QPoint(rect.Left, rect.Top), QPoint(rect.Right - 1, rect.Bottom - 1)));
    return;
  }
  // Zoomed out, the overlays' figures are drawn at a size of their own
  // around the pixels they cover.
  const int64_t reach = zoom_ < kActualPixels ? kFigureReach : 0;
  const auto clip = [](int64_t v, int limit) { return int(std::clamp<int64_t>(v, 0, limit)); };
  const QSize size = this->size();
  const int left = clip(PictureToView(rect.Left, zoom_) - reach, size.width());
  const int top = clip(PictureToView(rect.Top, zoom_) - reach, size.height());
  const int right = clip(PictureToView(rect.Right, zoom_) + reach, size.width());
  const int bottom = clip(PictureToView(rect.Bottom, zoom_) + reach, size.height());
  if (right > left && bottom > top) update(QRect(left, top, right - left, bottom - top));
}

const TRasterBitmap& TImageEx::ZoomedOutSource() const {
  const TRasterBitmap* clean = clean_ ? clean_() : nullptr;
  const bool usable =
      clean && clean->Width() == picture_->Width() && clean->Height() == picture_->Height();
  return usable ? *clean : *picture_;
}

void TImageEx::PreparePyramid() {
  if (!picture_ || picture_->Empty() || pyramid_) return;
  pyramid_ = TPicturePyramid::Build(ZoomedOutSource(), 0);
}

void TImageEx::paintEvent(QPaintEvent* event) {
  if (!picture_ || picture_->Empty()) return;
  QPainter painter(this);
  if (!(zoom_ == kActualPixels)) {
    PaintZoomed(painter, event->region());
    return;
  }
  const QRect whole(QPoint(0, 0), PictureSize());
  for (const QRect& exposed : event->region()) {
    const QRect area = exposed.intersected(whole);
    const QImage image = PictureRect(*picture_, area);
    if (!image.isNull()) painter.drawImage(area.topLeft(), image);
  }
}

void TImageEx::PaintZoomed(QPainter& painter, const QRegion& region) {
  const bool out = zoom_ < kActualPixels;
  int level = 0;
  if (out) {
    PreparePyramid();
    level = pyramid_->LevelFor(zoom_.Factor());
  }
  const TRasterBitmap& source = out ? ZoomedOutSource() : *picture_;
  const QRect whole(QPoint(0, 0), ViewSize());
  for (const QRect& exposed : region) {
    const QRect area = exposed.intersected(whole);
    const QImage image = ZoomedPictureRect(source, out ? &*pyramid_ : nullptr, level, area, zoom_);
    if (!image.isNull()) painter.drawImage(area.topLeft(), image);
  }
  if (out && figures_) PaintFigures(painter, figures_(), zoom_);
}

void TImageEx::mousePressEvent(QMouseEvent* event) {
  emit MouseDown(ToImageMouse(*event, zoom_));
}

void TImageEx::mouseMoveEvent(QMouseEvent* event) {
  emit MouseMove(ToImageMouse(*event, zoom_));
}

void TImageEx::mouseReleaseEvent(QMouseEvent* event) {
  emit MouseUp(ToImageMouse(*event, zoom_));
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
