#pragma once
// Opening an image the way the window does: empty GeoTIFF tag state, a reset
// georeference, the picture, then the georeference derived from the tags.
#include <memory>
#include <string>

#include "geo/geo_reference.h"
#include "geo/geotiff_georef.h"
#include "raster/bitmap.h"

namespace quorvane::cli {

struct TCliImage {
  std::unique_ptr<TRasterBitmap> Bitmap;
  TGeoTiffTags Tags;
  TGeoReference GeoReference;
};

TCliImage LoadImage(const std::string& path);

}  // namespace quorvane::cli
