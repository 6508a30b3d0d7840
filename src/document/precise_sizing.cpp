#include "document/precise_sizing.h"

#include <cmath>
#include <limits>

namespace quorvane {

namespace {

// trunc() of the coupled value in extended precision, saturated to what an
// integer field holds (a ratio near 0 or infinity gives huge values).
int32_t TruncateToField(long double value) {
  if (std::isnan(value)) return 0;
  constexpr long double kMax = std::numeric_limits<int32_t>::max();
  constexpr long double kMin = std::numeric_limits<int32_t>::min();
  if (value >= kMax) return std::numeric_limits<int32_t>::max();
  if (value <= kMin) return std::numeric_limits<int32_t>::min();
  return int32_t(std::trunc(value));
}

int32_t ClampToField(int64_t value) {
  if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return int32_t(value);
}

}  // namespace

void TPreciseSizeModel::Open(const TSizingState& sizing) {
  aspect_ratio_ = sizing.AspectRatio;
  width_guard_ = height_guard_ = true;
  WidthSpinChange(ClampToField(sizing.NewWidth));
  HeightSpinChange(ClampToField(sizing.NewHeight));
  width_guard_ = height_guard_ = false;
}

void TPreciseSizeModel::WidthSpinChange(int32_t width) {
  Width = width;
  if (!KeepAspect || width_guard_ || height_guard_) return;
  width_guard_ = true;
  HeightSpinChange(TruncateToField((long double)width / aspect_ratio_));
  width_guard_ = false;
}

void TPreciseSizeModel::HeightSpinChange(int32_t height) {
  Height = height;
  if (!KeepAspect || width_guard_ || height_guard_) return;
  height_guard_ = true;
  WidthSpinChange(TruncateToField((long double)height * aspect_ratio_));
  height_guard_ = false;
}

TNewSizeTexts TPreciseSizeModel::Accept(TSizingState& sizing) const {
  return sizing.SetNewSize(Width, Height);
}

}  // namespace quorvane
