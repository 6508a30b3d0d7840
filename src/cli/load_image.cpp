#include "cli/load_image.h"

#include "io/format_registry.h"

namespace quorvane::cli {

TCliImage LoadImage(const std::string& path) {
  TCliImage image;
  ClearGeoTiffTags(image.Tags);
  ResetGeoReference(image.GeoReference);
  // The registry picks the reader by the extension, as the window's open does.
  image.Bitmap = LoadPicture(path, image.Tags);
  GeoTiffToGeoReference(image.Tags, image.GeoReference);
  return image;
}

}  // namespace quorvane::cli
