#include "raster/picture_rows.h"

#include <algorithm>
#include <cstring>

#include "raster/byte_stream.h"

namespace quorvane {

namespace {

// Bands of about this many bytes: few calls down the chain, little memory.
constexpr int64_t kBandBytes = 2 << 20;

}  // namespace

TBandFiller::TBandFiller(const TPictureInfo& picture, const TRasterBitmap& like,
                         const TBandHandler& rows)
    : rows_(rows), height_(picture.Height) {
  const int64_t stride =
      std::max<int64_t>(1, RowStride(picture.Width, BitsPerPixelOf(picture.PixelFormat), 32));
  const int64_t band_rows = std::clamp<int64_t>(kBandBytes / stride, 1, picture.Height);
  band_.Reset(picture.PixelFormat, int(picture.Width), int(band_rows));
  const size_t colours = std::min(like.ColorTable().size(), band_.ColorTable().size());
  std::copy_n(like.ColorTable().begin(), colours, band_.ColorTable().begin());
  band_.SetPelsPerMeter(like.XPelsPerMeter(), like.YPelsPerMeter());
}

bool TBandFiller::Hand() {
  if (filled_ > 0 && wanted_) wanted_ = rows_(band_, filled_);
  filled_ = 0;
  return wanted_;
}

bool TBandFiller::RowDone() {
  ++done_;
  if (++filled_ < band_.Height() && done_ < height_) return true;
  return Hand();
}

void TBandFiller::Finish() {
  // Rows already in the band are kept; those after them are cleared.
  for (int64_t r = done_; r < height_ && wanted_; ++r) {
    std::memset(band_.Scanline(filled_), 0, band_.Stride());
    if (++filled_ == band_.Height() || r + 1 == height_) Hand();
  }
  Hand();
}

}  // namespace quorvane
