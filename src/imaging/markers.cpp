#include "imaging/markers.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace quorvane {

namespace {

// Marker corners and flank ends of points near the integer limits saturate
// instead of wrapping round to the far side of the picture.
int32_t Saturate(int64_t v) {
  return int32_t(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                     std::numeric_limits<int32_t>::max()));
}

TPoint Offset(TPoint p, int64_t dx, int64_t dy) {
  return {Saturate(p.X + dx), Saturate(p.Y + dy)};
}

void Stroke(TCanvas& canvas, TPoint from, TPoint to, const TMarkerPen& pen) {
  canvas.Pen.Color = pen.Color;
  canvas.Pen.Style = pen.Style;
  canvas.MoveTo(from.X, from.Y);
  canvas.LineTo(to.X, to.Y);
}

}  // namespace

void DrawPointMarker(TCanvas& canvas, TPoint point, TColor color, int half_size) {
  const TCanvasSaver saved(canvas);
  canvas.Brush.Color = color;
  canvas.Brush.Style = TBrushStyle::Solid;
  canvas.Pen.Color = kColorWhite;
  canvas.Pen.Style = TPenStyle::Solid;
  canvas.Pen.Mode = TPenMode::Copy;
  const TPoint top_left = Offset(point, -int64_t{half_size}, -int64_t{half_size});
  const TPoint bottom_right = Offset(point, half_size, half_size);
  canvas.Rectangle({top_left.X, top_left.Y, bottom_right.X, bottom_right.Y});
  saved.Restore(canvas);
}

void DrawMarkerLine(TCanvas& canvas, TPoint from, TPoint to, const TMarkerLineStyle& style) {
  const TCanvasSaver saved(canvas);
  const int64_t dx = int64_t{to.X} - from.X, dy = int64_t{to.Y} - from.Y;
  const bool steep = std::llabs(dy) > std::llabs(dx);
  const int64_t ox = steep ? 1 : 0, oy = steep ? 0 : 1;
  Stroke(canvas, Offset(from, -ox, -oy), Offset(to, -ox, -oy), style.First);
  Stroke(canvas, from, to, style.Centre);
  Stroke(canvas, Offset(from, ox, oy), Offset(to, ox, oy), style.Second);
  saved.Restore(canvas);
}

}  // namespace quorvane
