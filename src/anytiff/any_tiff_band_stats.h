#pragma once
// What the stretched conversions learn of each shown band (its range and,
// for the cut, its counts) and the grey each valid value then becomes.
#include <cstdint>
#include <vector>

#include "anytiff/any_tiff_display.h"
#include "anytiff/any_tiff_histogram.h"
#include "anytiff/any_tiff_plan.h"
#include "anytiff/any_tiff_stretch.h"

namespace quorvane {

struct TBandStats {
  TBandRange Range;
  TBandHistogram Histogram;  // empty unless filled
};

using TStatsList = std::vector<TBandStats>;

// Whether the cut wants counts taken while reading (integers of up to 16
// bits), or fine counts once the range is known (the other types).
bool CountsExactly(const TAnyTiffPlan& plan);
bool NeedsFineCounts(const TAnyTiffPlan& plan);

// The grey of a valid value of each band. Integers counted exactly go
// through a table of every value's grey, indexed by the value less the
// type's least value.
class TStretchOutput {
 public:
  TStretchOutput(const TAnyTiffPlan& plan, const TStatsList& stats);
  uint8_t Grey(int band, double value) const {
    if (!tables_.empty()) return tables_[size_t(band)][size_t(int64_t(value) - first_)];
    return Mapped(size_t(band), value);
  }
  const std::vector<uint8_t>& Table(size_t band) const { return tables_[band]; }
  const TBandRange& Shown(size_t band) const { return shown_[band]; }

 private:
  uint8_t Mapped(size_t band, double value) const {
    const uint8_t g = stretches_[band].Map(value);
    return invert_ ? uint8_t(255 - g) : g;
  }

  bool invert_;
  int64_t first_ = 0;
  std::vector<TBandRange> shown_;
  std::vector<TStretch> stretches_;
  std::vector<std::vector<uint8_t>> tables_;
};

std::vector<TBandSummary> Summaries(const TAnyTiffPlan& plan, const TStatsList& stats,
                                    const TStretchOutput& output);

}  // namespace quorvane
