#include "raster/bottom_up_rows.h"

#include <algorithm>
#include <cstring>

namespace quorvane {

namespace {

constexpr size_t kBandBytes = size_t(1) << 20;

}  // namespace

TBottomUpRows::TBottomUpRows(TByteSink& sink, uint64_t at, int height, size_t row_bytes)
    : sink_(sink), at_(at), height_(height), row_bytes_(row_bytes) {
  band_rows_ = std::max<size_t>(1, kBandBytes / std::max<size_t>(row_bytes_, 1));
  band_.resize(std::min<size_t>(band_rows_, size_t(std::max(height_, 0))) * row_bytes_);
}

void TBottomUpRows::Put(const uint8_t* row) {
  // The band fills from its end: its first row is the lowest in the file.
  const size_t filled = size_t(next_row_) % band_rows_;
  if (row_bytes_ > 0)
    std::memcpy(band_.data() + band_.size() - (filled + 1) * row_bytes_, row, row_bytes_);
  ++next_row_;
  if (filled + 1 == band_rows_ || next_row_ == height_) WriteBand(filled + 1);
}

void TBottomUpRows::WriteBand(size_t rows) {
  // The band's last row (the latest image row) is the first in the file.
  const uint64_t first_in_file = uint64_t(height_ - next_row_);
  if (row_bytes_ == 0) return;
  sink_.WriteAt(at_ + first_in_file * row_bytes_, band_.data() + band_.size() - rows * row_bytes_,
                rows * row_bytes_);
}

}  // namespace quorvane
