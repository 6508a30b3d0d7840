#pragma once
// What the zoom commands of a picture pane do, without a widget: the zoom a
// pane shows after a command, a wheel turn or a new picture. The window
// applies the result to the pane's view and keeps the point under the
// pointer (or the view's centre) where it was.
#include <cstdint>

#include "imaging/view_zoom.h"

namespace quorvane {

enum class TZoomCommand : uint8_t { ZoomIn, ZoomOut, ActualPixels, FitInView };

// A pane as the zoom commands see it: its picture and the room the view has
// for it (without scroll bars).
struct TZoomPane {
  int PictureWidth = 0;
  int PictureHeight = 0;
  int ViewWidth = 0;
  int ViewHeight = 0;
};

// The largest side a zoomed view may have: widgets and their coordinates
// stop there, so zooming in stops before a side would pass it.
inline constexpr int64_t kLargestViewSide = (int64_t{1} << 24) - 1;

TViewZoom ZoomAfter(TZoomCommand command, TViewZoom zoom, const TZoomPane& pane);

// One zoom step per wheel notch (120 eighths of a degree; smaller deltas of
// precise wheels add up in `pending`): positive turns zoom in.
TViewZoom WheelZoom(TViewZoom zoom, int angle_delta, int& pending, const TZoomPane& pane);

// A new picture (open, paste, crop, stretch) shows at 1:1, or fitted when
// `fit_large` and it is larger than the view on either side.
TViewZoom NewPictureZoom(bool fit_large, const TZoomPane& pane);

}  // namespace quorvane
