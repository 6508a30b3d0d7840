#include "imaging/row_resampler.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "imaging/resample_filters.h"

namespace quorvane {

namespace {

TContributorTable BuildAxis(int dst_count, int src_count, TResampleFilter filter) {
  const TProgressProc no_progress;
  TPercentProgress none(no_progress, 0);
  return TContributorTable::Build(dst_count, src_count, ResampleFilters[size_t(filter)], none);
}

}  // namespace

TRowResampler::TRowResampler(int src_width, int src_height, int new_width, int new_height,
                             TResampleFilter filter, TKernelLevel kernel)
    : src_width_(src_width),
      src_height_(src_height),
      new_width_(new_width),
      new_height_(new_height),
      level_(ResolveKernelLevel(kernel)),
      horizontal_(BuildAxis(new_width, src_width, filter)),
      vertical_(BuildAxis(new_height, src_height, filter)),
      high_(size_t(new_height)),
      ring_(1, 1, 3) {
  // The ring ResampledBitmap sizes: the widest span of one list and a block.
  std::vector<int> low(static_cast<size_t>(new_height));
  int span = 1;
  for (int k = 0; k < new_height; ++k) {
    int lo = INT_MAX, hi = -1;
    for (const TContributor& c : vertical_.List(k)) {
      lo = std::min(lo, c.Index);
      hi = std::max(hi, c.Index);
    }
    if (hi < 0) lo = hi = 0;
    low[size_t(k)] = lo;
    high_[size_t(k)] = hi;
    span = std::max(span, hi - lo + 1);
  }
  capacity_ = std::min(src_height, span + kRowBlock);
  // Rows arrive in blocks; destination row k is made once the block holding
  // its highest row (and every earlier row's) is in, and by then the ring
  // must still hold its lowest.
  int produced = 0;
  for (int k = 0; k < new_height && streams_; ++k) {
    const int needed = high_[size_t(k)] + 1;
    while (produced < needed) produced = std::min(src_height, produced + kRowBlock);
    streams_ = low[size_t(k)] >= produced - capacity_;
  }
  if (!streams_) return;
  ring_ = TPseudoBitmap(new_width, capacity_, 3);
  pending_.resize(size_t(src_width) * 3 * kRowBlock);
  scratch_.resize(RowBlockScratchSize(level_, src_width));
  out_.resize(size_t(new_width) * 3);
}

void TRowResampler::Flush() {
  const uint8_t* src[kRowBlock];
  uint8_t* dst[kRowBlock];
  for (int r = 0; r < pending_rows_; ++r) {
    src[r] = pending_.data() + size_t(r) * size_t(src_width_) * 3;
    dst[r] = ring_.Scanline((produced_ + r) % capacity_);
  }
  ResampleRowBlock(level_, src, dst, pending_rows_, src_width_, horizontal_, scratch_.data());
  produced_ += pending_rows_;
  pending_rows_ = 0;
}

void TRowResampler::Emit(const TRowOut& out) {
  while (next_out_ < new_height_ && high_[size_t(next_out_)] < produced_) {
    mapped_.clear();
    for (const TContributor& c : vertical_.List(next_out_))
      mapped_.push_back({c.Index % capacity_, c.Weight});
    ResampleColumnsOfRow(level_, ring_.Bits(), ring_.RowSize(), mapped_, new_width_ * 3,
                         out_.data());
    out(out_.data());
    ++next_out_;
  }
}

void TRowResampler::Push(const uint8_t* row, const TRowOut& out) {
  std::memcpy(pending_.data() + size_t(pending_rows_) * size_t(src_width_) * 3, row,
              size_t(src_width_) * 3);
  if (++pending_rows_ < kRowBlock && produced_ + pending_rows_ < src_height_) return;
  Flush();
  Emit(out);
}

void TRowResampler::Finish(const TRowOut& out) {
  if (pending_rows_ > 0) Flush();
  Emit(out);
}

}  // namespace quorvane
