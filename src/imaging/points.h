#pragma once
// Integer and double point arithmetic shared by the measuring and selection
// tools. Conversions to integers truncate towards zero unless named
// otherwise; values beyond the integer range saturate and NaN gives 0, so no
// conversion is undefined.
#include <cmath>
#include <cstdint>
#include <limits>

#include "raster/rect.h"

namespace quorvane {

struct TPoint {
  int32_t X = 0, Y = 0;
  bool operator==(const TPoint&) const = default;
};

struct TDoublePoint {
  double X = 0.0, Y = 0.0;
};

inline int32_t TruncToInt(double v) {
  if (std::isnan(v)) return 0;
  if (v >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  if (v <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  return int32_t(v);
}

// Nearest integer with ties to even, saturating like TruncToInt.
inline int32_t RoundToInt(double v) {
  return TruncToInt(std::nearbyint(v));
}

inline TPoint AddPoints(TPoint a, TPoint b) {
  return {a.X + b.X, a.Y + b.Y};
}
inline TPoint SubtractPoints(TPoint a, TPoint b) {
  return {a.X - b.X, a.Y - b.Y};
}
inline TPoint RectCentre(const TRect& r) {
  return {int32_t((int64_t(r.Left) + r.Right) / 2), int32_t((int64_t(r.Top) + r.Bottom) / 2)};
}
inline TPoint MultiplyPoint(TPoint p, double factor) {
  return {TruncToInt(p.X * factor), TruncToInt(p.Y * factor)};
}
inline TPoint DividePoint(TPoint p, double divisor) {
  return {TruncToInt(p.X / divisor), TruncToInt(p.Y / divisor)};
}
inline TDoublePoint ToDoublePoint(TPoint p) {
  return {double(p.X), double(p.Y)};
}
inline TDoublePoint SubtractDoublePoints(TDoublePoint a, TDoublePoint b) {
  return {a.X - b.X, a.Y - b.Y};
}
inline bool EqualDoublePoints(TDoublePoint a, TDoublePoint b) {
  return a.X == b.X && a.Y == b.Y;
}
inline TRect MakeRect(int left, int top, int right, int bottom) {
  return {left, top, right, bottom};
}

}  // namespace quorvane
