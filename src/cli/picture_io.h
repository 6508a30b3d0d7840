#pragma once
// Opening and saving for the picture commands: the picture with the
// georeference of its GeoTIFF tags, and a TIFF output written with GeoTIFF
// tags for the georeference the operation left.
#include <memory>
#include <string>

#include "geo/geo_reference.h"
#include "raster/bitmap.h"

namespace quorvane::cli {

struct TLoadedPicture {
  std::unique_ptr<TRasterBitmap> Bitmap;
  TGeoReference GeoReference;
};

TLoadedPicture LoadPictureWithGeoReference(const std::string& path);

// Saves `bitmap` in the format the extension of `path` names; the file is
// replaced only by a complete one.
void SavePictureWithGeoReference(const TRasterBitmap& bitmap, const std::string& path,
                                 const TGeoReference& reference);

}  // namespace quorvane::cli
