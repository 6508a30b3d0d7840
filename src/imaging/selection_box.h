#pragma once
// The rubber-band selection box: a rectangle with corner handles drawn
// straight into the pixels of the picture it selects on, which the user
// draws anew, resizes by its handles and edges, and moves with the pointer.
//
// The box owns no widget. The window forwards the picture's pointer events
// and reads back, from each call, the rectangles of the picture that changed
// (to repaint only those), the pointer shape to show and how far to scroll.
// The pixels under the box are kept in four bands and put back exactly when
// it is erased, so a command that hides the box first sees no trace of it.
#include <array>
#include <optional>
#include <string>

#include "imaging/changed_rects.h"
#include "imaging/points.h"
#include "imaging/selection_background.h"
#include "imaging/selection_drag.h"
#include "imaging/selection_geometry.h"
#include "raster/bitmap.h"
#include "raster/rect.h"

namespace quorvane {

// What kind of control a surface is. The box draws on image controls and
// paint boxes only.
enum class TSurfaceKind : uint8_t { ImageControl, PaintBox, Form, Other };

// A control to draw on: its kind, the pixels it shows (the picture of an
// image control; what a paint box paints) and its client area. The pixels
// must outlive the box's use of them. A paint box's drawing would be clipped
// to the box inflated by kHandleReach, which holds everything the box draws,
// so both kinds are drawn the same way.
struct TDrawingSurface {
  TSurfaceKind Kind = TSurfaceKind::Other;
  TRasterBitmap* Picture = nullptr;
  TRect ClientRect;
};

inline constexpr const char* kRefusedSurfaceWarning = "Must be TImage, TPaintBox or TForm";

// The outcome of assigning a drawing surface.
struct TSurfaceChange {
  // kRefusedSurfaceWarning when the surface was refused (the window shows
  // it as a warning); empty otherwise.
  std::string Warning;
  // Erased from the previous surface's picture, drawn on the new one's.
  TChangedRects PreviousSurface;
  TChangedRects Surface;
};

// The outcome of one pointer event.
struct TBoxEvent {
  TChangedRects Changed;                  // of the surface's picture
  TBoxCursor Cursor = TBoxCursor::Arrow;  // the surface's pointer shape now
  TPoint Scroll;                          // to add to the scroll position
};

class TSelectionBox {
 public:
  // Dragging inside the box moves it.
  bool UserMoveable() const { return user_moveable_; }
  void SetUserMoveable(bool value) { user_moveable_ = value; }
  // The user may draw a new box and drag its handles and edges; the handles
  // are drawn only then. Without it the box does not react to dragging.
  bool UserSizeable() const { return user_sizeable_; }
  void SetUserSizeable(bool value) { user_sizeable_ = value; }
  // Resizing keeps the box centred on its anchor with the proportions of
  // the surface's client area.
  bool CenterMode() const { return center_mode_; }
  void SetCenterMode(bool value) { center_mode_ = value; }

  // Takes `surface` to draw on, moving a shown box there. The surface it
  // already has changes nothing. No surface, a kind other than an image
  // control or paint box, or a surface without pixels is refused with a
  // warning and the previous surface stays.
  TSurfaceChange SetDrawingSurface(const TDrawingSurface* surface);
  const TDrawingSurface* DrawingSurface() const { return surface_ ? &*surface_ : nullptr; }

  // Shows the box and draws it when there is a surface.
  TChangedRects ShowBox();
  // Puts back the pixels under the box and stops showing it (without a
  // surface, nothing happens).
  TChangedRects HideBox();
  // Takes the rectangle as given (not normalised), centres the anchor on it
  // and redraws it when shown. SetBox(0, 0, 0, 0) empties the selection.
  TChangedRects SetBox(int left, int top, int right, int bottom);
  // The display scale pointer coordinates are divided by. Taken only when
  // both are above zero and differ from the present scale.
  bool SetScale(double x, double y);

  // The zone of a point in picture pixels on the present box.
  TBoxZone HitTest(TPoint point) const { return quorvane::HitTest(selection_, point); }

  // The pointer events, X and Y in surface pixels; presses and moves do
  // nothing unless the box is shown, a release always ends the drag. `scroll_box` is where the
  // surface sits in the scroll area the window keeps it in, when there is one.
  TBoxEvent BoxMouseDown(int x, int y);
  TBoxEvent BoxMouseMove(int x, int y, const std::optional<TScrollView>& scroll_box = {});
  TBoxEvent BoxMouseUp();

  // Always normalised after a drag; it may reach beyond the picture.
  const TRect& Selection() const { return selection_; }
  bool Showing() const { return showing_; }
  bool Dragging() const { return dragging_; }
  TBoxZone HitZone() const { return hit_zone_; }
  TPoint LastPoint() const { return last_point_; }
  TPoint Anchor() const { return anchor_; }
  TDoublePoint Scale() const { return scale_; }
  TBoxCursor Cursor() const { return cursor_; }

  // The readout of the selection, "X1: 10 Y1: 20  X2: 50 Y2: 60  W: 40 H: 40";
  // widths in 64 bits, as a box dragged far beyond the picture may span more
  // than the integer range.
  std::string Readout() const;

 private:
  TPoint ToPicture(int x, int y) const;
  TChangedRects Draw();
  TChangedRects DragTo(TPoint point);
  double SurfaceAspect() const;
  void SetCursor(TBoxCursor cursor);
  TBoxEvent Event(TChangedRects changed = {}, TPoint scroll = {}) const;

  bool user_moveable_ = true;
  bool user_sizeable_ = true;
  bool center_mode_ = false;

  TRect selection_;
  bool showing_ = false;
  bool dragging_ = false;
  TBoxZone hit_zone_ = TBoxZone::Outside;
  TPoint last_point_;
  TPoint anchor_;
  TDoublePoint scale_{1.0, 1.0};
  std::optional<TDrawingSurface> surface_;
  TBoxCursor cursor_ = TBoxCursor::Arrow;
  // The pixels under the box as drawn, and room for those under its next
  // position: each drawing puts back one while saving the other.
  std::array<TBoxBackground, 2> backgrounds_;
  int current_ = 0;
};

}  // namespace quorvane
