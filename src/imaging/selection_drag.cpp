#include "imaging/selection_drag.h"

#include <cmath>

namespace quorvane {

TRect ResizeByZone(const TRect& box, TBoxZone& zone, TPoint point) {
  const int x = point.X, y = point.Y;
  const int l = box.Left, t = box.Top, r = box.Right, b = box.Bottom;
  switch (zone) {
    case TBoxZone::TopLeft:
      return {x, y, r, b};
    case TBoxZone::TopRight:
      return {l, y, x, b};
    case TBoxZone::BottomLeft:
      return {x, t, r, y};
    case TBoxZone::Outside:
      zone = TBoxZone::BottomRight;
      return {l, t, x, y};
    case TBoxZone::BottomRight:
      return {l, t, x, y};
    case TBoxZone::Left:
      return {x, t, r, b};
    case TBoxZone::Right:
      return {l, t, x, b};
    case TBoxZone::Top:
      return {l, y, r, b};
    case TBoxZone::Bottom:
      return {l, t, r, y};
    case TBoxZone::Inside:
      break;
  }
  return box;
}

TRect ResizeCentred(TPoint anchor, TPoint point, double aspect) {
  double dx = double(point.X) - anchor.X, dy = double(point.Y) - anchor.Y;
  const double ratio = dy == 0 ? 1.0 : std::fabs(dx / dy);
  if (ratio > aspect) {
    dy = std::trunc(dx / aspect);
  } else {
    dx = std::trunc(dy * aspect);
  }
  // A surface of no width or height gives an aspect of 0, infinity or NaN:
  // an undefined side becomes zero and an infinite one saturates, so the
  // result is always a valid rectangle.
  if (std::isnan(dx)) dx = 0;
  if (std::isnan(dy)) dy = 0;
  return {TruncToInt(anchor.X - dx), TruncToInt(anchor.Y - dy), TruncToInt(anchor.X + dx),
          TruncToInt(anchor.Y + dy)};
}

TRect OffsetBox(const TRect& box, int64_t dx, int64_t dy) {
  return {ClampToInt(box.Left + dx), ClampToInt(box.Top + dy), ClampToInt(box.Right + dx),
          ClampToInt(box.Bottom + dy)};
}

namespace {

int32_t ScrollAlong(int64_t position, int64_t client) {
  if (position < 0) return ClampToInt(position);
  if (position > client) return ClampToInt(position - client);
  return 0;
}

}  // namespace

TPoint ScrollDelta(TPoint point, const TScrollView& view) {
  return {ScrollAlong(int64_t{point.X} + view.SurfacePosition.X, view.ClientWidth),
          ScrollAlong(int64_t{point.Y} + view.SurfacePosition.Y, view.ClientHeight)};
}

}  // namespace quorvane
