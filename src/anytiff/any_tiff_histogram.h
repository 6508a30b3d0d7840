#pragma once
// Counts of one band's valid values, from which the cut stretch takes its 2%
// and 98% points (see any_tiff_display.h for their definition).
#include <cstdint>
#include <vector>

#include "anytiff/any_tiff_display.h"
#include "anytiff/any_tiff_samples.h"
#include "anytiff/any_tiff_stretch.h"

namespace quorvane {

class TBandHistogram {
 public:
  // Integers of up to 16 bits are counted exactly, one bin per value.
  static bool CountsExactly(TSampleType type) {
    return type.Kind != TSampleKind::Float && type.Bits <= 16;
  }
  static TBandHistogram Exact(TSampleType type);
  // Exact counts already taken: counts[i] samples of the value first + i.
  static TBandHistogram Exact(TSampleType type, std::vector<uint64_t> counts);
  // kFineBins equal bins from the range's minimum to its maximum.
  static TBandHistogram Fine(const TBandRange& range);
  static constexpr size_t kFineBins = 65536;

  TBandHistogram() = default;
  bool Counted() const { return !counts_.empty(); }
  // A valid value of the band (within the range, for a fine histogram).
  void Add(double value) {
    if (exact_) {
      ++counts_[size_t(int64_t(value) - first_)];
    } else {
      ++counts_[FineBin(value)];
    }
  }
  void Add(const TBandHistogram& other);
  // The 2% point to the 98% point; empty when nothing was counted.
  TBandRange Cut() const;
  // Exact counts: the least and largest value counted.
  TBandRange Range() const;

 private:
  size_t FineBin(double value) const;
  double Edge(size_t bin) const;

  bool exact_ = false;
  int64_t first_ = 0;          // exact: the value of bin 0
  double min_ = 0, half_ = 0;  // fine: the minimum, half the range's span
  std::vector<uint64_t> counts_;
};

// The values a band's stretch maps to 0 and 255: the cut needs the band's
// histogram, min-max its range, none the sample type alone.
TBandRange DisplayRange(TDisplayStretch stretch, TSampleType type, const TBandRange& range,
                        const TBandHistogram* histogram);

}  // namespace quorvane
