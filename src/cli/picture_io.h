#pragma once
// Loading and saving for the picture commands: the picture with its
// georeference from the GeoTIFF tags of a TIFF, and the tags written back
// when the output is a TIFF. Output formats: TIFF and Windows bitmap.
#include <memory>
#include <string>

#include "geo/geo_reference.h"
#include "geo/geotiff_tags.h"
#include "raster/bitmap.h"

namespace quorvane::cli {

struct TLoadedPicture {
  std::unique_ptr<TRasterBitmap> Bitmap;
  TGeoReference GeoReference;
  bool HasGeoTiff = false;  // the file carried GeoTIFF tags
};

TLoadedPicture LoadPictureWithGeoReference(const std::string& path);

// Throws EUsage unless `path` names a format the commands can write, so that
// a command refuses before doing any work.
void CheckPictureExtension(const std::string& path);

// Saves `bitmap`; a TIFF gets GeoTIFF tags describing `reference` when
// `write_geotiff` is set.
void SavePictureWithGeoReference(const TRasterBitmap& bitmap, const std::string& path,
                                 const TGeoReference& reference, bool write_geotiff);

}  // namespace quorvane::cli
