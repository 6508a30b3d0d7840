#pragma once
// The two figures the measuring tool draws its polylines with: a filled
// square marker on a point and a segment drawn as three parallel strokes.
#include "imaging/canvas.h"
#include "imaging/points.h"

namespace quorvane {

// One of the three strokes of a marker line.
struct TMarkerPen {
  TColor Color = kColorBlack;
  TPenStyle Style = TPenStyle::Solid;
};

// First flank, centre, second flank, in drawing order.
struct TMarkerLineStyle {
  TMarkerPen First;
  TMarkerPen Centre;
  TMarkerPen Second;
};

// The square from `point` - half_size to `point` + half_size on both axes,
// right and bottom excluded (2 half_size pixels a side), filled with `color`
// and outlined by a solid white pen in copy mode. The canvas's pen and brush
// are left as they were (the pen width is used as it stands).
void DrawPointMarker(TCanvas& canvas, TPoint point, TColor color, int half_size);

// Three parallel strokes from `from` to `to`: the flanks sit one pixel to
// either side, left and right of a steep line (more vertical than
// horizontal; a vertical line is steep), above and below any other. The
// first flank is on the left or upper side. The canvas's pen and brush are
// left as they were.
void DrawMarkerLine(TCanvas& canvas, TPoint from, TPoint to, const TMarkerLineStyle& style);

}  // namespace quorvane
