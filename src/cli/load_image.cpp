#include "cli/load_image.h"

#include <algorithm>
#include <cctype>

#include "raster/bmp_file.h"
#include "raster/error.h"
#include "tiff/tiff_reader.h"

namespace quorvane::cli {

namespace {
std::string LowerExtension(const std::string& path) {
  const size_t dot = path.find_last_of('.');
  const size_t slash = path.find_last_of('/');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
  std::string ext = path.substr(dot + 1);
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return std::tolower(c); });
  return ext;
}
}  // namespace

TCliImage LoadImage(const std::string& path) {
  TCliImage image;
  ClearGeoTiffTags(image.Tags);
  ResetGeoReference(image.GeoReference);
  image.Bitmap = std::make_unique<TRasterBitmap>();
  const std::string ext = LowerExtension(path);
  if (ext == "tif" || ext == "tiff") {
    LoadTiffFile(path, *image.Bitmap, image.Tags);
  } else if (ext == "bmp") {
    LoadBmpFile(*image.Bitmap, path);
  } else {
    throw EQuorvaneError("Unknown picture file extension (." +
                         path.substr(path.size() - ext.size()) + ")");
  }
  GeoTiffToGeoReference(image.Tags, image.GeoReference);
  return image;
}

}  // namespace quorvane::cli
