#pragma once
// Which pixels of a picture change when the measuring polyline drawn into it
// changes. Dragging one point of a long polyline over a large picture moves
// two segments and one marker; erasing and drawing only where those were and
// are keeps a drag step cheap, where erasing the polyline's whole extent
// would copy most of the picture on every mouse move.
#include <cstdint>
#include <vector>

#include "geo/measure_tool.h"
#include "raster/rect.h"

namespace quorvane {

// The polyline as drawn: its points and the point drawn as dragged.
struct TMeasureDrawing {
  std::vector<TPixelPoint> Points;
  int32_t Selected = -1;
  bool operator==(const TMeasureDrawing&) const = default;
};
TMeasureDrawing DrawingOf(const TMeasureTool& tool);

// Rectangles, inside `bounds`, covering every pixel where the drawing of
// `after` can differ from the drawing of `before` over the same clean
// picture. The drawing is a sequence of figures (marker 0, segment 0-1,
// marker 1, segment 1-2 ...), each painted over the ones before it, so the
// figures are compared place by place in that sequence and each one that
// differs contributes where it was and where it is. A segment is covered by
// short strips along its length, not by its bounding box, so a long diagonal
// costs a thin band. Restoring these rectangles from the clean copy and
// drawing `after` clipped to each of them gives the same pixels as erasing
// everything and drawing `after` anew: outside them every pixel is painted
// by the same unchanged figures in the same order.
std::vector<TRect> ChangedDrawingArea(const TMeasureDrawing& before, const TMeasureDrawing& after,
                                      const TRect& bounds);

// Along a segment's longer axis, the length of each covering strip.
constexpr int kSegmentStripLength = 32;

}  // namespace quorvane
