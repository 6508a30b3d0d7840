#include "raster/decode_limits.h"

#include "raster/error.h"

namespace quorvane {

void CheckPictureFitsData(int64_t width, int64_t height, uint64_t fillable_pixels,
                          const std::string& what) {
  if (width < 0 || height < 0) throw EQuorvaneError("Invalid " + what + " image size");
  const uint64_t pixels = SaturatingMul(uint64_t(width), uint64_t(height));
  if (pixels > kAlwaysAllowedPixels && pixels > fillable_pixels)
    throw EQuorvaneError("Corrupt " + what + " file: the image size (" + std::to_string(width) +
                         " x " + std::to_string(height) + ") exceeds what the file holds");
}

}  // namespace quorvane
