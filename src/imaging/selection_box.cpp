#include "imaging/selection_box.h"

#include <algorithm>

#include "imaging/canvas.h"
#include "imaging/selection_figure.h"

namespace quorvane {

namespace {

bool Drawable(const TDrawingSurface* surface) {
  return surface && surface->Picture &&
         (surface->Kind == TSurfaceKind::ImageControl || surface->Kind == TSurfaceKind::PaintBox);
}

// Strips of this many rows keep the rows of a step in the processor's
// caches while the old bands go back, the new ones are saved and the box is
// drawn over them.
constexpr int kStripRows = 256;

// The rows of both, as Top and Bottom; either may be empty.
TRect RowUnion(const TRect& a, const TRect& b) {
  if (a.Bottom <= a.Top) return b;
  if (b.Bottom <= b.Top) return a;
  return {0, std::min(a.Top, b.Top), 0, std::max(a.Bottom, b.Bottom)};
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
  return backgrounds_[current_].Restore(*surface_->Picture);
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

// In every strip the old bands go back before the new ones are saved, so
// the saved pixels never hold a trace of the box itself, and the box is
// drawn only over pixels already saved.
TChangedRects TSelectionBox::Draw() {
  TRasterBitmap& picture = *surface_->Picture;
  TBoxBackground& previous = backgrounds_[current_];
  TBoxBackground& next = backgrounds_[1 - current_];
  TChangedRects changed;
  if (previous.Restorable(picture)) {
    changed = previous.Areas();
  } else {
    previous.Forget();
  }
  changed.Add(next.Plan(picture, selection_));
  const TRect rows = RowUnion(previous.Saved() ? previous.Rows() : TRect{}, next.Rows());
  TCanvas canvas(picture);
  for (int top = rows.Top; top < rows.Bottom;) {
    const int bottom = top + std::min(kStripRows, rows.Bottom - top);
    if (previous.Saved()) previous.RestoreRows(picture, top, bottom);
    next.SaveRows(picture, top, bottom);
    canvas.SetClipRect({0, top, picture.Width(), bottom});
    DrawBoxFigure(canvas, selection_, {.Handles = user_sizeable_});
    top = bottom;
  }
  previous.Forget();
  current_ = 1 - current_;
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
