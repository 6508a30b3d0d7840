#include "anytiff/any_tiff_band_stats.h"

namespace quorvane {

bool CountsExactly(const TAnyTiffPlan& plan) {
  return plan.Stretch == TDisplayStretch::Cut && TBandHistogram::CountsExactly(plan.Sample);
}

bool NeedsFineCounts(const TAnyTiffPlan& plan) {
  return plan.Stretch == TDisplayStretch::Cut && !TBandHistogram::CountsExactly(plan.Sample);
}

TStretchOutput::TStretchOutput(const TAnyTiffPlan& plan, const TStatsList& stats)
    : invert_(plan.Bands == 1 && plan.WhiteIsZero) {
  const bool tabled = TBandHistogram::CountsExactly(plan.Sample);
  if (tabled && plan.Sample.Kind == TSampleKind::Signed)
    first_ = -(int64_t(1) << (plan.Sample.Bits - 1));
  for (const TBandStats& band : stats) {
    const TBandRange shown = DisplayRange(plan.Stretch, plan.Sample, band.Range,
                                          band.Histogram.Counted() ? &band.Histogram : nullptr);
    shown_.push_back(shown);
    stretches_.emplace_back(shown);
    if (!tabled) continue;
    const size_t b = stretches_.size() - 1;
    std::vector<uint8_t>& table = tables_.emplace_back(size_t(1) << plan.Sample.Bits);
    for (size_t i = 0; i < table.size(); ++i) table[i] = Mapped(b, double(first_ + int64_t(i)));
  }
}

std::vector<TBandSummary> Summaries(const TAnyTiffPlan& plan, const TStatsList& stats,
                                    const TStretchOutput& output) {
  std::vector<TBandSummary> summaries;
  for (size_t b = 0; b < stats.size(); ++b) {
    TBandSummary s;
    s.Band = plan.BandList[b];
    s.Empty = stats[b].Range.Empty();
    if (!s.Empty) {
      s.Min = stats[b].Range.Min();
      s.Max = stats[b].Range.Max();
      s.Low = output.Shown(b).Min();
      s.High = output.Shown(b).Max();
    }
    summaries.push_back(s);
  }
  return summaries;
}

}  // namespace quorvane
