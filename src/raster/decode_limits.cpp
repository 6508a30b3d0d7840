#include "raster/decode_limits.h"

#include <unistd.h>

#include <limits>
#include <string>

#include "raster/byte_stream.h"
#include "raster/error.h"

namespace quorvane {

uint64_t DefaultMaxPictureBytes() {
  const long pages = ::sysconf(_SC_PHYS_PAGES);
  const long page_size = ::sysconf(_SC_PAGESIZE);
  if (pages <= 0 || page_size <= 0) return uint64_t(4) << 30;
  return uint64_t(pages) / 2 * uint64_t(page_size);
}

void TDecodeLimits::CheckPicture(int64_t width, int64_t height, int bits_per_pixel) const {
  if (width < 0 || height < 0)
    throw EQuorvaneError(
        "Invalid picture size: " + std::to_string(width) + " x " + std::to_string(height),
        TErrorKind::Corrupt);
  const std::string size = std::to_string(width) + " x " + std::to_string(height) + " pixels";
  constexpr int64_t kLongestSide = std::numeric_limits<int32_t>::max();
  if (width > kLongestSide || height > kLongestSide)
    throw EQuorvaneError("Picture too large: " + size + ", more than " +
                             std::to_string(kLongestSide) + " pixels a side",
                         TErrorKind::TooLarge);
  // Both sides fit 31 bits, so the stride times the height fits 64.
  const uint64_t bytes = uint64_t(RowStride(width, bits_per_pixel, 32)) * uint64_t(height);
  const uint64_t cap = Cap();
  if (bytes > cap)
    throw EQuorvaneError("Picture too large: " + size + " at " + std::to_string(bits_per_pixel) +
                             " bits per pixel need " + std::to_string(bytes) +
                             " bytes, more than the memory cap of " + std::to_string(cap) +
                             " bytes",
                         TErrorKind::TooLarge);
}

}  // namespace quorvane
