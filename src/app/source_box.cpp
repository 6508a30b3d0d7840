#include "app/source_box.h"

#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <algorithm>
#include <cstdint>

#include "app/image_view.h"
#include "app/qt_text.h"

namespace quorvane {

namespace {

Qt::CursorShape CursorShape(TBoxCursor cursor) {
  switch (cursor) {
    case TBoxCursor::SizeNWSE:
      return Qt::SizeFDiagCursor;
    case TBoxCursor::SizeNESW:
      return Qt::SizeBDiagCursor;
    case TBoxCursor::SizeAll:
      return Qt::SizeAllCursor;
    case TBoxCursor::SizeWE:
      return Qt::SizeHorCursor;
    case TBoxCursor::SizeNS:
      return Qt::SizeVerCursor;
    case TBoxCursor::Arrow:
      break;
  }
  return Qt::ArrowCursor;
}

void ScrollBy(QScrollBar* bar, int delta) {
  if (delta != 0) bar->setValue(bar->value() + delta);
}

}  // namespace

TSourceBox::TSourceBox(TImageEx* view, QScrollArea* scroll_box, QLabel* box_dis)
    : view_(view), scroll_box_(scroll_box), box_dis_(box_dis) {}

void TSourceBox::SetPicture(TRasterBitmap* picture) {
  surface_ = {.Kind = TSurfaceKind::ImageControl,
              .Picture = picture,
              .ClientRect = {0, 0, picture->Width(), picture->Height()}};
  Repaint(box_.SetDrawingSurface(&surface_).Surface);
}

TSelectionHooks TSourceBox::Hooks() {
  return {.HideBox = [this] { HideBox(); }, .SetBox = [this](const TRect& box) { SetBox(box); }};
}

void TSourceBox::ShowBox() {
  Repaint(box_.ShowBox());
}

void TSourceBox::HideBox() {
  const TChangedRects erased = box_.HideBox();
  if (OnErased)
    for (const TRect& rect : erased) OnErased(rect);
  Repaint(erased);
}

void TSourceBox::SetBox(const TRect& box) {
  Repaint(box_.SetBox(box.Left, box.Top, box.Right, box.Bottom));
}

void TSourceBox::BoxMouseDown(int x, int y) {
  Follow(box_.BoxMouseDown(x, y));
}

// While dragging, a corner held beyond the visible part of the picture
// scrolls the picture towards it. The box reckons in picture pixels, so the
// visible part is given in them and the scroll it asks for goes back into
// view pixels.
void TSourceBox::BoxMouseMove(int x, int y) {
  const QWidget* client = scroll_box_->viewport();
  const TViewZoom zoom = view_->Zoom();
  const auto picture = [&](int v) { return int(ViewToPicture(v, zoom)); };
  const TScrollView view{.SurfacePosition = {picture(view_->x()), picture(view_->y())},
                         .ClientWidth = picture(client->width()),
                         .ClientHeight = picture(client->height())};
  TBoxEvent event = box_.BoxMouseMove(x, y, view);
  const auto on_view = [&](int p) {
    return int(std::clamp<int64_t>(PictureToView(p, zoom), INT32_MIN, INT32_MAX));
  };
  event.Scroll = {on_view(event.Scroll.X), on_view(event.Scroll.Y)};
  Follow(event);
}

void TSourceBox::BoxMouseUp() {
  Follow(box_.BoxMouseUp());
}

void TSourceBox::ShowBoxReadout() {
  box_dis_->setText(FromStd(box_.Readout()));
}

void TSourceBox::Repaint(const TChangedRects& changed) {
  for (const TRect& rect : changed) view_->UpdateRect(rect);
}

void TSourceBox::Follow(const TBoxEvent& event) {
  Repaint(event.Changed);
  const Qt::CursorShape shape = CursorShape(event.Cursor);
  if (view_->cursor().shape() != shape) view_->setCursor(shape);
  ScrollBy(scroll_box_->horizontalScrollBar(), event.Scroll.X);
  ScrollBy(scroll_box_->verticalScrollBar(), event.Scroll.Y);
}

}  // namespace quorvane
