#include "anytiff/any_tiff_histogram.h"

#include <cmath>
#include <utility>

namespace quorvane {

TBandHistogram TBandHistogram::Exact(TSampleType type) {
  TBandHistogram h;
  h.exact_ = true;
  h.first_ = type.Kind == TSampleKind::Signed ? -(int64_t(1) << (type.Bits - 1)) : 0;
  h.counts_.assign(size_t(1) << type.Bits, 0);
  return h;
}

TBandHistogram TBandHistogram::Exact(TSampleType type, std::vector<uint64_t> counts) {
  TBandHistogram h = Exact(type);
  if (counts.size() == h.counts_.size()) h.counts_ = std::move(counts);
  return h;
}

TBandRange TBandHistogram::Range() const {
  TBandRange range;
  for (size_t i = 0; i < counts_.size(); ++i)
    if (counts_[i]) {
      range.Add(double(first_ + int64_t(i)));
      break;
    }
  for (size_t i = counts_.size(); i-- > 0;)
    if (counts_[i]) {
      range.Add(double(first_ + int64_t(i)));
      break;
    }
  return range;
}

TBandHistogram TBandHistogram::Fine(const TBandRange& range) {
  TBandHistogram h;
  h.counts_.assign(kFineBins, 0);
  if (range.Empty()) return h;
  h.min_ = range.Min();
  // Halves keep the span finite whatever the two values.
  h.half_ = range.Max() * 0.5 - range.Min() * 0.5;
  return h;
}

size_t TBandHistogram::FineBin(double value) const {
  if (!(half_ > 0)) return 0;
  const double at = std::floor((value * 0.5 - min_ * 0.5) / half_ * double(kFineBins));
  return at <= 0 ? 0 : at >= double(kFineBins - 1) ? kFineBins - 1 : size_t(at);
}

// The low edge of `bin` (kFineBins: the maximum), never beyond the range.
double TBandHistogram::Edge(size_t bin) const {
  return (min_ * 0.5 + half_ * (double(bin) / double(kFineBins))) * 2.0;
}

void TBandHistogram::Add(const TBandHistogram& other) {
  if (counts_.empty()) {
    *this = other;
    return;
  }
  for (size_t i = 0; i < counts_.size() && i < other.counts_.size(); ++i)
    counts_[i] += other.counts_[i];
}

TBandRange TBandHistogram::Cut() const {
  TBandRange cut;
  uint64_t total = 0;
  for (uint64_t c : counts_) total += c;
  if (total == 0) return cut;
  // The first bins at which the running count reaches 2% and 98% of the
  // total, compared in whole numbers: count / total >= 2 / 100.
  size_t low = 0, high = 0;
  uint64_t running = 0;
  bool low_found = false;
  for (size_t i = 0; i < counts_.size(); ++i) {
    running += counts_[i];
    if (!low_found && running * 50 >= total) low = i, low_found = true;
    if (running * 50 >= total * 49) {
      high = i;
      break;
    }
  }
  if (exact_) {
    cut.Add(double(first_ + int64_t(low)));
    cut.Add(double(first_ + int64_t(high)));
  } else {
    cut.Add(Edge(low));
    cut.Add(Edge(high + 1));
  }
  return cut;
}

TBandRange DisplayRange(TDisplayStretch stretch, TSampleType type, const TBandRange& range,
                        const TBandHistogram* histogram) {
  if (stretch == TDisplayStretch::Cut && histogram) return histogram->Cut();
  if (stretch != TDisplayStretch::None) return range;
  TBandRange full;
  if (type.Kind == TSampleKind::Float) {
    full.Add(0);
    full.Add(255);
  } else if (type.Kind == TSampleKind::Signed) {
    full.Add(-std::ldexp(1.0, type.Bits - 1));
    full.Add(std::ldexp(1.0, type.Bits - 1) - 1);
  } else {
    full.Add(0);
    full.Add(std::ldexp(1.0, type.Bits) - 1);
  }
  return full;
}

}  // namespace quorvane
