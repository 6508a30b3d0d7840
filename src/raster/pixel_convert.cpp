#include "raster/bitmap.h"
#include "raster/error.h"

namespace quorvane {

void TRasterBitmap::SetPixelFormat(TPixelFormat format) {
  if (format == format_) return;
  throw EQuorvaneError("Pixel format conversion is not available");
}

}  // namespace quorvane
