#pragma once
// Filter weights for one axis of a resampling: for every destination index
// the source pixels that contribute to it and their weights, built once per
// axis and reused for every line.
#include <cstdint>
#include <span>
#include <vector>

#include "imaging/percent_progress.h"
#include "imaging/resample_filters.h"

namespace quorvane {

struct TContributor {
  int32_t Index;  // source pixel, always inside the source
  float Weight;   // never 0
};

class TContributorTable {
 public:
  int Count() const { return int(first_.size()) - 1; }
  std::span<const TContributor> List(int i) const {
    return {items_.data() + first_[i], size_t(first_[i + 1] - first_[i])};
  }
  const std::vector<TContributor>& Items() const { return items_; }
  const std::vector<int64_t>& First() const { return first_; }

  // One list per destination index, one progress step before each.
  static TContributorTable Build(int dst_count, int src_count, const TFilterFunction& filter,
                                 TPercentProgress& progress);

 private:
  std::vector<int64_t> first_{0};
  std::vector<TContributor> items_;
};

// The scale of one axis: corner-aligned, (dst - 1) / (src - 1), or dst / src
// for a one-pixel source.
float AxisScale(int dst_count, int src_count);

// Brings a source position beyond either edge back inside: the left edge
// mirrors about the first pixel (-1 gives 1), the right edge about the border
// (src_count gives src_count - 1). Positions further out than the source is
// long keep mirroring back and forth, which makes the mapping periodic with
// period 2 * src_count - 1.
int32_t ReflectIndex(int64_t j, int32_t src_count);

}  // namespace quorvane
