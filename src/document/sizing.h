#pragma once
// The requested-size arithmetic of the Resize page: the width follows the
// step (in percent of the original width, or in pixels), the height follows
// the width through the original aspect ratio. Both roundings go to the
// nearest integer, ties to even, in extended precision.
#include <cstdint>

namespace quorvane {

struct TImageSize {
  int64_t Width = 0;
  int64_t Height = 0;
  bool operator==(const TImageSize&) const = default;
};

// width / height, or 1 for a height of 0.
double SizingAspectRatio(int original_width, int original_height);

// A step of `step` percent: round(width * step / 100) + width.
TImageSize PercentStepSize(int original_width, int original_height, int64_t step);
// A step of `step` pixels: width + step.
TImageSize PixelStepSize(int original_width, int original_height, int64_t step);

}  // namespace quorvane
