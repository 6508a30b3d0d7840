#pragma once
// The look of the selection box: a red outline on the box's lines, a black
// one a pixel further out so the box shows on any picture, and a black
// square handle with a white rim on each corner.
#include "imaging/canvas.h"
#include "raster/rect.h"

namespace quorvane {

struct TBoxFigureOptions {
  // Handles are left out of a box the user may not resize.
  bool Handles = true;
};

// Draws the outlines along L,T to R,T to R,B to L,B and back (each line's end
// excluded, as the canvas strokes), then the inflated outline in black, then
// unless the box is all zero the handles at (L, T), (R, B), (R, T) and
// (L, B): 2 kHandleReach pixels a side, right and bottom excluded. Every
// pixel written lies inside BoxBands(box). The canvas's pen and brush are
// left as they were.
void DrawBoxFigure(TCanvas& canvas, const TRect& box, const TBoxFigureOptions& options);

}  // namespace quorvane
