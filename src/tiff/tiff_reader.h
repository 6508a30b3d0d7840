#pragma once
// Reads the first image of a TIFF or GeoTIFF file into a raster bitmap and
// hands every tag it does not interpret to the GeoTIFF tag reader.
#include <string>

#include "raster/bitmap.h"
#include "raster/byte_stream.h"
#include "raster/geotiff_tags.h"
#include "raster/progress.h"

namespace quorvane {

// Decodes the TIFF held in `stream` into `bitmap`. On an exception the bitmap
// keeps its previous picture. `progress` may be null; its hook is cleared at
// the end of every read.
void ReadTiff(TByteStream& stream, TRasterBitmap& bitmap, TGeoTiffTags& tags,
              TStageReporter* progress = nullptr);
void LoadTiffFile(const std::string& path, TRasterBitmap& bitmap, TGeoTiffTags& tags,
                  TStageReporter* progress = nullptr);

}  // namespace quorvane
