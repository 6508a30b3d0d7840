#pragma once
// Elevation models and other measurements are shown as grey by a linear
// stretch: the smallest valid value of a band becomes 0, the largest 255.
// Valid means finite and not the file's nodata value; invalid pixels show
// black.
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>

#include "anytiff/any_tiff_samples.h"

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
  void Add(const TBandRange& other) {
    if (other.Empty()) return;
    Add(other.min_);
    Add(other.max_);
  }
  bool Empty() const { return min_ > max_; }
  double Min() const { return min_; }
  double Max() const { return max_; }

 private:
  double min_ = HUGE_VAL;
  double max_ = -HUGE_VAL;
};

// round((v - min) x 255 / (max - min)) with ties to even, clipped to 0..255,
// for valid values of one band: (v - min) times a scale worked out once. A
// flat range (max = min) shows its value and above white, so that a flat
// band stays apart from the black of invalid pixels, and what lies below
// black.
class TStretch {
 public:
  explicit TStretch(const TBandRange& range);
  uint8_t Map(double value) const {
    double g;
    switch (form_) {
      case TForm::Flat:
        return value < min_ ? 0 : 255;
      case TForm::Scaled:
        g = (value - min_) * scale_;
        break;
      case TForm::Halved:
        g = (value * 0.5 - min_ * 0.5) * scale_;
        break;
      default:
        g = (value - min_) / span_ * 255.0;
        break;
    }
    g = std::nearbyint(g);
    return g > 0 ? (g < 255 ? uint8_t(g) : 255) : 0;
  }

 private:
  // Extreme ranges need another order of operations to stay finite: a span
  // beyond the largest double is worked out in halves (exact, so the result
  // is the same), a span so small that 255 over it overflows divides per
  // value.
  enum class TForm : uint8_t { Flat, Scaled, Halved, Divided };
  TForm form_ = TForm::Flat;
  double min_ = 0, span_ = 0, scale_ = 0;
};

}  // namespace quorvane
