#pragma once
// Paints a measuring polyline into the picture it was clicked on: a marker on
// every point and a three-stroke segment between neighbours. The pane keeps a
// clean copy of the picture from which the drawing is erased again.
#include "geo/measure_tool.h"
#include "raster/bitmap.h"
#include "raster/rect.h"

namespace quorvane {

// Marker of point 0, then for each further point the segment reaching it and
// its marker: red markers (cyan for the point being dragged) with a white
// outline, 2 kMarkerRadius pixels a side; segments black with a red flank
// above them (left of them when steep). Returns the rectangle of pixels
// written, clipped to the picture; empty when the tool has no points or
// draws nothing inside the picture.
TRect Draw(const TMeasureTool& tool, TRasterBitmap& picture);

// The same drawing with every write kept inside `clip`; figures that cannot
// reach it are skipped without being followed.
TRect DrawWithin(const TMeasureTool& tool, TRasterBitmap& picture, const TRect& clip);

}  // namespace quorvane
