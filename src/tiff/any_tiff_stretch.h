#pragma once
// Elevation models and other measurements are shown as grey by a linear
// stretch: the smallest valid value of a band becomes 0, the largest 255.
// Valid means finite and not the file's nodata value; invalid pixels show
// black.
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>

#include "tiff/any_tiff_samples.h"

namespace quorvane {

// The nodata value as the samples hold it, or nothing when the text is no
// number or names a value the sample type cannot hold (so nothing matches).
struct TNoData {
  bool Set = false;
  double Value = 0;
};
TNoData ParseNoData(const std::optional<std::string>& text, TSampleType type);

inline bool IsValidSample(double value, const TNoData& nodata) {
  return std::isfinite(value) && !(nodata.Set && value == nodata.Value);
}

class TBandRange {
 public:
  void Add(double value) {
    if (value < min_) min_ = value;
    if (value > max_) max_ = value;
  }
  bool Empty() const { return min_ > max_; }
  double Min() const { return min_; }
  double Max() const { return max_; }

 private:
  double min_ = HUGE_VAL;
  double max_ = -HUGE_VAL;
};

// round((v - min) x 255 / (max - min)) with ties to even, for valid values of
// one band. A flat band (max = min) shows all its valid pixels white, so
// they stay apart from the black of invalid ones.
class TStretch {
 public:
  explicit TStretch(const TBandRange& range);
  uint8_t Map(double value) const {
    if (flat_) return 255;
    // Halves, so that bands spanning more than the largest double still
    // give a finite difference; halving is exact, so nothing else changes.
    const double g = std::nearbyint((value * 0.5 - half_min_) * scale_);
    return g <= 0 ? 0 : g >= 255 ? 255 : uint8_t(g);
  }

 private:
  bool flat_ = true;
  double half_min_ = 0;
  double scale_ = 0;
};

}  // namespace quorvane
