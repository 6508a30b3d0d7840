#pragma once
// Writes a raster bitmap as a little-endian, single-strip TIFF, optionally
// PackBits-compressed and optionally with the five GeoTIFF tags.
#include <string>

#include "raster/bitmap.h"
#include "raster/byte_stream.h"
#include "raster/geotiff_tags.h"
#include "raster/progress.h"

namespace quorvane {

// Writes the whole file into an empty stream. `geotiff` null: no GeoTIFF tags. Throws "Invalid
// Pixel Format" for device, 32-bit and custom bitmaps before writing anything. The progress hook is
// cleared at the end.
void WriteTiff(TByteStream& stream, const TRasterBitmap& bitmap, const TGeoTiffTags* geotiff,
               bool packbits, TStageReporter* progress = nullptr);
void SaveTiffFile(const std::string& path, const TRasterBitmap& bitmap, const TGeoTiffTags* geotiff,
                  bool packbits, TStageReporter* progress = nullptr);

}  // namespace quorvane
