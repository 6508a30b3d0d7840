#include "imaging/pseudo_bitmap.h"

#include <limits>

#include "raster/error.h"

namespace quorvane {

TPseudoBitmap::TPseudoBitmap(int width, int height, int bytes_per_pixel)
    : width_(width), height_(height), bytes_per_pixel_(bytes_per_pixel) {
  if (width < 0 || height < 0 || bytes_per_pixel < 1)
    throw EQuorvaneError("Invalid bitmap size", TErrorKind::Usage);
  const uint64_t row = uint64_t(width) * uint64_t(bytes_per_pixel);
  if (height != 0 && row > std::numeric_limits<size_t>::max() / 2 / uint64_t(height))
    throw EQuorvaneError("Bitmap too large", TErrorKind::TooLarge);
  row_size_ = size_t(row);
  size_ = row_size_ * size_t(height);
  bits_.reset(new uint8_t[size_ == 0 ? 1 : size_]);
}

uint8_t* TPseudoBitmap::Scanline(int row) {
  if (row < 0 || row > height_) throw EQuorvaneError("Scanline out of range", TErrorKind::Usage);
  return bits_.get() + size_t(row) * row_size_;
}

const uint8_t* TPseudoBitmap::Scanline(int row) const {
  if (row < 0 || row > height_) throw EQuorvaneError("Scanline out of range", TErrorKind::Usage);
  return bits_.get() + size_t(row) * row_size_;
}

}  // namespace quorvane
