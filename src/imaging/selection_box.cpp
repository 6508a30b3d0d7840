#include "imaging/selection_box.h"

#include "imaging/canvas.h"
#include "imaging/selection_figure.h"

namespace quorvane {

namespace {

bool Drawable(const TDrawingSurface* surface) {
  return surface && surface->Picture &&
         (surface->Kind == TSurfaceKind::ImageControl || surface->Kind == TSurfaceKind::PaintBox);
}

}  // namespace

TSurfaceChange TSelectionBox::SetDrawingSurface(const TDrawingSurface* surface) {
  TSurfaceChange change;
  if (!Drawable(surface)) {
    change.Warning = kRefusedSurfaceWarning;
    return change;
  }
  if (surface_ && surface_->Picture == surface->Picture && surface_->Kind == surface->Kind)
    return change;
  const bool was_showing = showing_;
  change.PreviousSurface = HideBox();
  surface_ = *surface;
  if (was_showing) change.Surface = ShowBox();
  return change;
}

TChangedRects TSelectionBox::ShowBox() {
  showing_ = true;
  return surface_ ? Draw() : TChangedRects{};
}

TChangedRects TSelectionBox::HideBox() {
  if (!surface_) return {};
  showing_ = false;
  return background_.Restore(*surface_->Picture);
}

TChangedRects TSelectionBox::SetBox(int left, int top, int right, int bottom) {
  selection_ = {left, top, right, bottom};
  anchor_ = RectCentre(selection_);
  return surface_ && showing_ ? Draw() : TChangedRects{};
}

bool TSelectionBox::SetScale(double x, double y) {
  if (!(x > 0 && y > 0) || (x == scale_.X && y == scale_.Y)) return false;
  scale_ = {x, y};
  return true;
}

// The old bands go back before the new ones are saved, so the saved pixels
// never contain a trace of the box itself.
TChangedRects TSelectionBox::Draw() {
  TRasterBitmap& picture = *surface_->Picture;
  TChangedRects changed = background_.Restore(picture);
  changed.Add(background_.Save(picture, selection_));
  TCanvas canvas(picture);
  DrawBoxFigure(canvas, selection_, {.Handles = user_sizeable_});
  return changed;
}

TBoxEvent TSelectionBox::BoxMouseDown(int x, int y) {
  if (!showing_) return Event();
  const TPoint point = ToPicture(x, y);
  hit_zone_ = HitTest(point);
  if (user_sizeable_) SetCursor(CursorForZone(hit_zone_));
  // Moves are measured from the press itself: a press need not follow a
  // move to the same place (after a page switch by keyboard, say), and the
  // last hover position would make the box jump.
  last_point_ = point;
  TChangedRects changed;
  if (hit_zone_ == TBoxZone::Outside) {
    if (user_sizeable_) changed = SetBox(point.X, point.Y, point.X, point.Y);
    anchor_ = point;
  }
  dragging_ = true;
  return Event(changed);
}

TBoxEvent TSelectionBox::BoxMouseMove(int x, int y, const std::optional<TScrollView>& scroll_box) {
  if (!showing_) return Event();
  const TPoint point = ToPicture(x, y);
  TChangedRects changed;
  TPoint scroll;
  if (dragging_) {
    if (scroll_box && surface_) scroll = ScrollDelta(point, *scroll_box);
    if (user_sizeable_) changed = DragTo(point);
  } else {
    if (user_sizeable_) {
      hit_zone_ = HitTest(point);
      SetCursor(CursorForZone(hit_zone_));
    }
    if (user_moveable_ && surface_ && hit_zone_ == TBoxZone::Inside) SetCursor(TBoxCursor::SizeAll);
  }
  last_point_ = point;
  return Event(changed, scroll);
}

// A release ends the drag even while the box is hidden: the button is up
// either way, and a drag left standing would make the next plain pointer
// move over the shown box drag it.
TBoxEvent TSelectionBox::BoxMouseUp() {
  dragging_ = false;
  return Event();
}

TChangedRects TSelectionBox::DragTo(TPoint point) {
  if (hit_zone_ == TBoxZone::Inside) {
    if (!user_moveable_) return {};
    const TRect moved =
        OffsetBox(selection_, int64_t{point.X} - last_point_.X, int64_t{point.Y} - last_point_.Y);
    return SetBox(moved.Left, moved.Top, moved.Right, moved.Bottom);
  }
  TRect box = center_mode_ ? ResizeCentred(anchor_, point, SurfaceAspect())
                           : ResizeByZone(selection_, hit_zone_, point);
  NormaliseBox(box, hit_zone_);
  SetCursor(CursorForZone(hit_zone_));
  return SetBox(box.Left, box.Top, box.Right, box.Bottom);
}

TPoint TSelectionBox::ToPicture(int x, int y) const {
  return {RoundToInt(x / scale_.X), RoundToInt(y / scale_.Y)};
}

double TSelectionBox::SurfaceAspect() const {
  const TRect client = surface_ ? surface_->ClientRect : TRect{};
  return double(int64_t{client.Right} - client.Left) / double(int64_t{client.Bottom} - client.Top);
}

// The pointer shape belongs to the surface; without one there is none to set.
void TSelectionBox::SetCursor(TBoxCursor cursor) {
  if (surface_) cursor_ = cursor;
}

TBoxEvent TSelectionBox::Event(TChangedRects changed, TPoint scroll) const {
  return {changed, cursor_, scroll};
}

std::string TSelectionBox::Readout() const {
  const TRect& b = selection_;
  return "X1: " + std::to_string(b.Left) + " Y1: " + std::to_string(b.Top) +
         "  X2: " + std::to_string(b.Right) + " Y2: " + std::to_string(b.Bottom) +
         "  W: " + std::to_string(int64_t{b.Right} - b.Left) +
         " H: " + std::to_string(int64_t{b.Bottom} - b.Top);
}

}  // namespace quorvane
