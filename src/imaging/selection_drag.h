#pragma once
// How a drag reshapes the selection box: by the handle or edge held, centred
// on its anchor, or moved whole; and how far the scroll area around the
// picture must scroll to keep the pointer in view. Coordinates are picture
// pixels; results beyond the integer range are clamped to it.
#include "imaging/points.h"
#include "imaging/selection_geometry.h"
#include "raster/rect.h"

namespace quorvane {

// The box after dragging `zone` to `point`: a handle moves its corner, an
// edge band its side. Outside means a new box is being drawn: its
// bottom-right corner follows the pointer and `zone` becomes BottomRight.
// Inside (a move) leaves the box as it is. The result may be inside out;
// NormaliseBox puts it right.
TRect ResizeByZone(const TRect& box, TBoxZone& zone, TPoint point);

// The box centred on `anchor` reaching towards `point` with the proportions
// `aspect` (width / height): the longer side relative to the aspect follows
// the pointer, the other is derived from it, truncated towards zero. A
// degenerate aspect (zero, infinite, not a number) still gives a valid
// rectangle: undefined sides are zero, infinite ones reach the integer range.
TRect ResizeCentred(TPoint anchor, TPoint point, double aspect);

// `box` shifted by (dx, dy).
TRect OffsetBox(const TRect& box, int64_t dx, int64_t dy);

// Where the picture sits in its scroll area: its top-left corner relative to
// the visible client area (negative once scrolled), and that area's size.
struct TScrollView {
  TPoint SurfacePosition;
  int ClientWidth = 0;
  int ClientHeight = 0;
};

// How far to scroll (positive: right and down) so that `point` of the
// picture, held while dragging, comes back into view; zero on an axis where
// it is visible.
TPoint ScrollDelta(TPoint point, const TScrollView& view);

}  // namespace quorvane
