#pragma once
// Pictures and files for the document and command tests: a GeoTIFF written
// with a given georeference, a palette start-up picture, a document whose
// selection box hooks only record what was asked of them.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "document/document.h"
#include "geo/geotiff_georef.h"
#include "io/format_registry.h"
#include "raster/bitmap.h"
#include "support/test_pictures.h"

namespace quorvane::test_support {

inline const TGeoReference kUtm18North30m{500000, 4649776, 30, 30, 18, true};

// Writes `picture` to `path` (format by extension) with `reference` in its
// GeoTIFF tags when the format carries them.
inline void WritePicture(const std::filesystem::path& path, const TRasterBitmap& picture,
                         const TGeoReference& reference = kUtm18North30m) {
  TGeoTiffTags tags;
  GeoReferenceToGeoTiff(reference, tags);
  SaveBitmapFile(picture, path.string(), {.GeoTiff = true, .GeoTiffTags = &tags});
}

// The georeference an open derives from the file at `path`.
inline TGeoReference GeoReferenceOfFile(const std::filesystem::path& path) {
  TGeoTiffTags tags;
  LoadPicture(path.string(), tags);
  TGeoReference reference;
  ResetGeoReference(reference);
  GeoTiffToGeoReference(tags, reference);
  return reference;
}

// The size and palette format of the window's start-up picture.
inline TRasterBitmap Palette150x76() {
  TRasterBitmap picture;
  picture.Reset(TPixelFormat::Bit8, 150, 76);
  for (int y = 0; y < 76; ++y) {
    for (int x = 0; x < 150; ++x) picture.Scanline(y)[x] = uint8_t(x + y);
  }
  return picture;
}

// Records the calls the document makes on the selection box.
struct TBoxRecorder {
  std::vector<std::string> Calls;
  void Attach(TDocument& document) {
    document.Selection.HideBox = [this] { Calls.push_back("hide"); };
    document.Selection.SetBox = [this](const TRect& r) {
      Calls.push_back("set " + std::to_string(r.Left) + "," + std::to_string(r.Top) + "," +
                      std::to_string(r.Right) + "," + std::to_string(r.Bottom));
    };
  }
};

}  // namespace quorvane::test_support
