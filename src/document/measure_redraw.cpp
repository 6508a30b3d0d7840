#include "document/measure_redraw.h"

#include <algorithm>
#include <cstdlib>

namespace quorvane {

namespace {

using int128 = __int128;

int128 FloorDiv(int128 numerator, int128 denominator) {
  int128 quotient = numerator / denominator;
  if (numerator % denominator != 0 && ((numerator < 0) != (denominator < 0))) --quotient;
  return quotient;
}

int128 CeilDiv(int128 numerator, int128 denominator) {
  return -FloorDiv(-numerator, denominator);
}

// The part of [left, right) x [top, bottom) inside `bounds`, or nothing.
void AddClipped(std::vector<TRect>& area, int128 left, int128 top, int128 right, int128 bottom,
                const TRect& bounds) {
  left = std::max<int128>(left, bounds.Left);
  top = std::max<int128>(top, bounds.Top);
  right = std::min<int128>(right, bounds.Right);
  bottom = std::min<int128>(bottom, bounds.Bottom);
  if (left >= right || top >= bottom) return;
  area.push_back({int(left), int(top), int(right), int(bottom)});
}

void AddMarker(std::vector<TRect>& area, const TPixelPoint& p, const TRect& bounds) {
  AddClipped(area, int128{p.X} - kMarkerRadius, int128{p.Y} - kMarkerRadius,
             int128{p.X} + kMarkerRadius, int128{p.Y} + kMarkerRadius, bounds);
}

// A segment's three strokes lie on the centre line and one pixel to either
// side of it across its longer axis. Each strip spans kSegmentStripLength
// steps of the longer axis and, across it, the centre line's exact range
// over those steps widened by one pixel for rounding and one for a flank.
// Only steps inside `bounds` are visited, so a segment reaching far outside
// the picture costs no more than one crossing it.
void AddSegment(std::vector<TRect>& area, const TPixelPoint& from, const TPixelPoint& to,
                const TRect& bounds) {
  const int64_t dx = int64_t{to.X} - from.X, dy = int64_t{to.Y} - from.Y;
  if (dx == 0 && dy == 0) return;  // no stroke lights a pixel
  const bool x_major = std::llabs(dx) >= std::llabs(dy);
  const int64_t major_delta = x_major ? dx : dy, minor_delta = x_major ? dy : dx;
  const int64_t major0 = x_major ? from.X : from.Y, minor0 = x_major ? from.Y : from.X;
  const int64_t major_low =
      std::max<int64_t>(std::min(major0, major0 + major_delta), x_major ? bounds.Left : bounds.Top);
  const int64_t major_high = std::min<int64_t>(std::max(major0, major0 + major_delta),
                                               int64_t(x_major ? bounds.Right : bounds.Bottom) - 1);
  for (int64_t start = major_low; start <= major_high; start += kSegmentStripLength) {
    const int64_t end = std::min<int64_t>(start + kSegmentStripLength - 1, major_high);
    const int128 at_start = int128(start - major0) * minor_delta;
    const int128 at_end = int128(end - major0) * minor_delta;
    const int128 a = FloorDiv(at_start, major_delta), b = FloorDiv(at_end, major_delta);
    const int128 ca = CeilDiv(at_start, major_delta), cb = CeilDiv(at_end, major_delta);
    const int128 minor_low = minor0 + std::min(a, b) - 2;
    const int128 minor_high = minor0 + std::max(ca, cb) + 3;  // exclusive
    if (x_major) {
      AddClipped(area, start, minor_low, end + 1, minor_high, bounds);
    } else {
      AddClipped(area, minor_low, start, minor_high, end + 1, bounds);
    }
  }
}

bool SameMarker(const TMeasureDrawing& a, const TMeasureDrawing& b, size_t i) {
  return a.Points[i] == b.Points[i] && (a.Selected == int32_t(i)) == (b.Selected == int32_t(i));
}

bool SameSegment(const TMeasureDrawing& a, const TMeasureDrawing& b, size_t i) {
  return a.Points[i] == b.Points[i] && a.Points[i + 1] == b.Points[i + 1];
}

// Figure `f` of `drawing`: marker f / 2 for even f, else the segment from
// point f / 2 to the next.
void AddFigure(std::vector<TRect>& area, const TMeasureDrawing& drawing, size_t f,
               const TRect& bounds) {
  const size_t i = f / 2;
  if (f % 2 == 0) {
    AddMarker(area, drawing.Points[i], bounds);
  } else {
    AddSegment(area, drawing.Points[i], drawing.Points[i + 1], bounds);
  }
}

size_t FigureCount(const TMeasureDrawing& drawing) {
  return drawing.Points.empty() ? 0 : 2 * drawing.Points.size() - 1;
}

}  // namespace

TMeasureDrawing DrawingOf(const TMeasureTool& tool) {
  return {tool.Points, tool.Selected};
}

std::vector<TRect> ChangedDrawingArea(const TMeasureDrawing& before, const TMeasureDrawing& after,
                                      const TRect& bounds) {
  std::vector<TRect> area;
  const size_t before_count = FigureCount(before), after_count = FigureCount(after);
  const size_t shared = std::min(before_count, after_count);
  for (size_t f = 0; f < std::max(before_count, after_count); ++f) {
    const bool same = f < shared && (f % 2 == 0 ? SameMarker(before, after, f / 2)
                                                : SameSegment(before, after, f / 2));
    if (same) continue;
    if (f < before_count) AddFigure(area, before, f, bounds);
    if (f < after_count) AddFigure(area, after, f, bounds);
  }
  return area;
}

}  // namespace quorvane
