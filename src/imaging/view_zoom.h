#pragma once
// How far a pane is zoomed, and where picture pixels land in the view.
//
// A zoom is an exact fraction (view pixels per picture pixel), so that the
// pixel under the pointer is floor(view position / zoom) with no rounding of
// its own: the steps are small fractions, and "fit in view" is the view's
// size over the picture's. Positions are in whole view pixels from the
// picture's top-left corner (scroll offset already added).
#include <cstdint>
#include <string>

#include "raster/rect.h"

namespace quorvane {

struct TViewZoom {
  int64_t Num = 1;  // view pixels ...
  int64_t Den = 1;  // ... per this many picture pixels
  bool operator==(const TViewZoom& other) const { return Num * other.Den == other.Num * Den; }
  bool operator<(const TViewZoom& other) const { return Num * other.Den < other.Num * Den; }
  double Factor() const { return double(Num) / double(Den); }
};

inline constexpr TViewZoom kActualPixels{1, 1};

// The zoom steps the commands and the wheel move through, from the first
// step above (below) `zoom`; a zoom between steps (a fitted one) goes to the
// neighbouring step. The ends stay where they are.
TViewZoom ZoomedIn(TViewZoom zoom);
TViewZoom ZoomedOut(TViewZoom zoom);

// The largest zoom at which the whole picture fits a view of the given size
// (never 0: a picture wider than the view by more than the smallest step
// shows at the smallest step).
TViewZoom FitZoom(int picture_width, int picture_height, int view_width, int view_height);

// The percentage shown in the status strip: "100%", "50%", "12.5%", "1600%",
// at most two decimals and no trailing zeros.
std::string ZoomPercentText(TViewZoom zoom);

// The picture pixel under view position v (floor, also for positions left of
// or above the picture).
int64_t ViewToPicture(int64_t v, TViewZoom zoom);
// The first view pixel of picture pixel p; pixel p covers
// [PictureToView(p), PictureToView(p + 1)).
int64_t PictureToView(int64_t p, TViewZoom zoom);
// The view's extent for a picture side: each of its pixels shows a picture
// pixel (zoomed out, some picture pixels have none of their own).
int64_t ViewExtent(int picture_side, TViewZoom zoom);
// The picture pixels a view rectangle shows in part or whole, clipped to
// the picture.
TRect PictureRectOfView(const TRect& view, TViewZoom zoom, int picture_width, int picture_height);
// The view pixels a picture rectangle covers.
TRect ViewRectOfPicture(const TRect& picture, TViewZoom zoom);

// Where the view's scroll offset goes when the zoom changes from `from` to
// `to` so that the picture point under `anchor` (a position in the viewport,
// its scroll offset `scroll`) stays under it.
int64_t ScrollKeepingAnchor(int64_t scroll, int64_t anchor, TViewZoom from, TViewZoom to);

}  // namespace quorvane
