#include "cli/picture_io.h"

#include <utility>

#include "cli/load_image.h"
#include "geo/geotiff_georef.h"
#include "io/format_registry.h"

namespace quorvane::cli {

TLoadedPicture LoadPictureWithGeoReference(const std::string& path) {
  TCliImage image = LoadImage(path);
  return {std::move(image.Bitmap), image.GeoReference};
}

void SavePictureWithGeoReference(const TRasterBitmap& bitmap, const std::string& path,
                                 const TGeoReference& reference) {
  TGeoTiffTags tags;
  ClearGeoTiffTags(tags);
  GeoReferenceToGeoTiff(reference, tags);
  SaveBitmapFile(bitmap, path, {.GeoTiff = true, .GeoTiffTags = &tags});
}

}  // namespace quorvane::cli
