#include "cli/picture_io.h"

#include <algorithm>
#include <cctype>

#include "cli/commands.h"
#include "cli/load_image.h"
#include "raster/bmp_file.h"

namespace quorvane::cli {

namespace {

std::string LowerExtension(const std::string& path) {
  const size_t dot = path.find_last_of('.');
  const size_t slash = path.find_last_of('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
  std::string extension = path.substr(dot + 1);
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  return extension;
}

}  // namespace

TLoadedPicture LoadPictureWithGeoReference(const std::string& path) {
  TCliImage image = LoadImage(path);
  TLoadedPicture loaded;
  loaded.Bitmap = std::move(image.Bitmap);
  loaded.GeoReference = image.GeoReference;
  loaded.HasGeoTiff = image.Tags.TiePointCount > 0 || image.Tags.KeyEntryCount > 0;
  return loaded;
}

void CheckPictureExtension(const std::string& path) {
  if (LowerExtension(path) != "bmp") {
    throw EUsage("OUT: pictures can be written as .bmp files only for now");
  }
}

void SavePictureWithGeoReference(const TRasterBitmap& bitmap, const std::string& path,
                                 const TGeoReference& reference, bool write_geotiff) {
  const std::string extension = LowerExtension(path);
  if (extension == "bmp") {
    SaveBmpFile(bitmap, path);
    return;
  }
  (void)reference;
  (void)write_geotiff;
  CheckPictureExtension(path);
}

}  // namespace quorvane::cli
