#pragma once
// Writes a raster bitmap as a little-endian, single-strip TIFF, optionally
// PackBits-compressed and optionally with the five GeoTIFF tags.
#include <cstdint>
#include <string>
#include <vector>

#include "raster/bitmap.h"
#include "raster/geotiff_tags.h"
#include "raster/progress.h"

namespace quorvane {

struct TTiffEncodeOptions {
  // PackBits rows instead of plain ones.
  bool PackBits = false;
  // The GeoTIFF tags to write; null writes none.
  const TGeoTiffTags* GeoTiff = nullptr;
};

// The whole file. Throws "Invalid Pixel Format" for device, 32-bit and custom
// bitmaps before building anything. `progress` may be null; its hook is
// cleared at the end.
std::vector<uint8_t> EncodeTiff(const TRasterBitmap& bitmap, const TTiffEncodeOptions& options = {},
                                TStageReporter* progress = nullptr);
void SaveTiffFile(const std::string& path, const TRasterBitmap& bitmap,
                  const TTiffEncodeOptions& options = {}, TStageReporter* progress = nullptr);

}  // namespace quorvane
