#include "document/sizing.h"

#include <cmath>
#include <cstdint>

namespace quorvane {

namespace {

int64_t RoundHalfEven(long double value) {
  // Saturate rather than overflow for absurd steps; std::nearbyint keeps ties
  // to even under the default rounding mode.
  if (!(value > -9.2e18L)) return INT64_MIN;
  if (!(value < 9.2e18L)) return INT64_MAX;
  return int64_t(std::nearbyint(value));
}

TImageSize FromWidth(int64_t width, int original_width, int original_height) {
  const long double ratio = SizingAspectRatio(original_width, original_height);
  return {width, RoundHalfEven((long double)width / ratio)};
}

}  // namespace

double SizingAspectRatio(int original_width, int original_height) {
  return original_height == 0 ? 1.0 : double(original_width) / double(original_height);
}

TImageSize PercentStepSize(int original_width, int original_height, int64_t step) {
  const long double factor = (long double)step / 100.0L;
  const int64_t width = RoundHalfEven((long double)original_width * factor) + original_width;
  return FromWidth(width, original_width, original_height);
}

TImageSize PixelStepSize(int original_width, int original_height, int64_t step) {
  return FromWidth(int64_t(original_width) + step, original_width, original_height);
}

}  // namespace quorvane
