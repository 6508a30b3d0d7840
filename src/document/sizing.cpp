#include "document/sizing.h"

#include <cmath>
#include <cstdint>

namespace quorvane {

namespace {

// Saturates rather than overflowing for absurd steps; a picture with no
// width but some height has a ratio of 0, and 0 / 0 gives 0.
int64_t ToSize(long double value) {
  if (std::isnan(value)) return 0;
  if (!(value > -9.2e18L)) return INT64_MIN;
  if (!(value < 9.2e18L)) return INT64_MAX;
  return int64_t(value);
}

// std::nearbyint keeps ties to even under the default rounding mode.
long double RoundHalfEven(long double value) {
  return std::nearbyint(value);
}

TImageSize FromWidth(int64_t width, int original_width, int original_height) {
  const long double ratio = SizingAspectRatio(original_width, original_height);
  return {width, ToSize(RoundHalfEven((long double)width / ratio))};
}

}  // namespace

double SizingAspectRatio(int original_width, int original_height) {
  return original_height == 0 ? 1.0 : double(original_width) / double(original_height);
}

TImageSize PercentStepSize(int original_width, int original_height, int64_t step) {
  const long double factor = (long double)step / 100.0L;
  const long double change = RoundHalfEven((long double)original_width * factor);
  return FromWidth(ToSize(change + original_width), original_width, original_height);
}

TImageSize PixelStepSize(int original_width, int original_height, int64_t step) {
  return FromWidth(ToSize((long double)original_width + (long double)step), original_width,
                   original_height);
}

}  // namespace quorvane
