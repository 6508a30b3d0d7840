#include "imaging/selection_geometry.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace quorvane {

namespace {

// Boxes may lie anywhere in the integer range, so the reach of the handles
// is added in 64 bits.
struct TWideRect {
  int64_t Left, Top, Right, Bottom;
};

bool Contains(const TWideRect& r, TPoint p) {
  return r.Left <= p.X && p.X < r.Right && r.Top <= p.Y && p.Y < r.Bottom;
}

// The square of the handle on a corner.
TWideRect Around(int64_t x, int64_t y) {
  return {x - kHandleReach, y - kHandleReach, x + kHandleReach, y + kHandleReach};
}

TRect Narrow(const TWideRect& r) {
  return {ClampToInt(r.Left), ClampToInt(r.Top), ClampToInt(r.Right), ClampToInt(r.Bottom)};
}

}  // namespace

int32_t ClampToInt(int64_t value) {
  return int32_t(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                     std::numeric_limits<int32_t>::max()));
}

TBoxZone HitTest(const TRect& box, TPoint point) {
  const int64_t l = box.Left, t = box.Top, r = box.Right, b = box.Bottom;
  constexpr int64_t k = kHandleReach;
  if (Contains(Around(l, t), point)) return TBoxZone::TopLeft;
  if (Contains(Around(r, t), point)) return TBoxZone::TopRight;
  if (Contains(Around(l, b), point)) return TBoxZone::BottomLeft;
  if (Contains(Around(r, b), point)) return TBoxZone::BottomRight;
  if (Contains({l - k, t + k, l + k, b - k}, point)) return TBoxZone::Left;
  if (Contains({r - k, t + k, r + k, b - k}, point)) return TBoxZone::Right;
  if (Contains({l + k, t - k, r - k, t + k}, point)) return TBoxZone::Top;
  if (Contains({l + k, b - k, r - k, b + k}, point)) return TBoxZone::Bottom;
  if (Contains({l, t, r, b}, point)) return TBoxZone::Inside;
  return TBoxZone::Outside;
}

TBoxCursor CursorForZone(TBoxZone zone) {
  switch (zone) {
    case TBoxZone::TopLeft:
    case TBoxZone::BottomRight:
      return TBoxCursor::SizeNWSE;
    case TBoxZone::TopRight:
    case TBoxZone::BottomLeft:
      return TBoxCursor::SizeNESW;
    case TBoxZone::Inside:
      return TBoxCursor::SizeAll;
    case TBoxZone::Left:
    case TBoxZone::Right:
      return TBoxCursor::SizeWE;
    case TBoxZone::Top:
    case TBoxZone::Bottom:
      return TBoxCursor::SizeNS;
    case TBoxZone::Outside:
      break;
  }
  return TBoxCursor::Arrow;
}

void NormaliseBox(TRect& box, TBoxZone& zone) {
  const bool across = box.Right < box.Left, upside_down = box.Bottom < box.Top;
  if (across) std::swap(box.Left, box.Right);
  if (upside_down) std::swap(box.Top, box.Bottom);
  auto exchange = [&zone](TBoxZone a, TBoxZone b) {
    if (zone == a) {
      zone = b;
    } else if (zone == b) {
      zone = a;
    }
  };
  using enum TBoxZone;
  if (across && upside_down) {
    // Only the corners are renamed: an edge drag moves one side, so it never
    // turns both ways at once.
    exchange(TopLeft, BottomRight);
    exchange(TopRight, BottomLeft);
  } else if (across) {
    exchange(TopLeft, TopRight);
    exchange(BottomLeft, BottomRight);
    exchange(Left, Right);
  } else if (upside_down) {
    exchange(TopLeft, BottomLeft);
    exchange(TopRight, BottomRight);
    exchange(Top, Bottom);
  }
}

std::array<TRect, 4> BoxBands(const TRect& box) {
  const int64_t l = std::min(box.Left, box.Right), r = std::max(box.Left, box.Right);
  const int64_t t = std::min(box.Top, box.Bottom), b = std::max(box.Top, box.Bottom);
  constexpr int64_t k = kHandleReach;
  return {Narrow({l - k, t - k, l + k, b + k}), Narrow({l - k, t - k, r + k, t + k}),
          Narrow({r - k, t - k, r + k, b + k}), Narrow({l - k, b - k, r + k, b + k})};
}

TRect IntersectRects(const TRect& rect, const TRect& bounds) {
  const TRect r{std::max(rect.Left, bounds.Left), std::max(rect.Top, bounds.Top),
                std::min(rect.Right, bounds.Right), std::min(rect.Bottom, bounds.Bottom)};
  if (r.Left >= r.Right || r.Top >= r.Bottom) return {};
  return r;
}

}  // namespace quorvane
