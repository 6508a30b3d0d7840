#pragma once
// The pictures the registry opens: each is a raster bitmap that can fill
// itself from a file of its format and save itself to one. The program's own
// saves go through SaveBitmapFile instead; these saves are the pictures' own
// (TIFF: PackBits, no GeoTIFF tags; JPEG: quality 100; LBM: compressed).
// Every load reads the whole file and decodes it into a fresh bitmap, so a
// failure leaves the picture as it was; every save builds the whole file in
// memory and replaces the target only once it is complete.
#include <string>

#include "raster/bitmap.h"
#include "raster/codec.h"
#include "raster/geotiff_tags.h"

namespace quorvane {

class TTIFFBitmap : public TRasterBitmap {
 public:
  // The file's GeoTIFF tags land in `tags`.
  void LoadFromFile(const std::string& path, TGeoTiffTags& tags,
                    const TDecodeOptions& options = {});
  void SaveToFile(const std::string& path) const;
};

class TJPGBitmap : public TRasterBitmap {
 public:
  void LoadFromFile(const std::string& path, const TDecodeOptions& options = {});
  void SaveToFile(const std::string& path) const;
};

class TPNGBitmap : public TRasterBitmap {
 public:
  void LoadFromFile(const std::string& path, const TDecodeOptions& options = {});
  void SaveToFile(const std::string& path) const;
};

class TGIFBitmap : public TRasterBitmap {
 public:
  void LoadFromFile(const std::string& path, const TDecodeOptions& options = {});
  void SaveToFile(const std::string& path) const;
};

class TTGABitmap : public TRasterBitmap {
 public:
  void LoadFromFile(const std::string& path, const TDecodeOptions& options = {});
  void SaveToFile(const std::string& path) const;
};

class TPCXBitmap : public TRasterBitmap {
 public:
  void LoadFromFile(const std::string& path, const TDecodeOptions& options = {});
  void SaveToFile(const std::string& path) const;
};

class TLBMBitmap : public TRasterBitmap {
 public:
  void LoadFromFile(const std::string& path, const TDecodeOptions& options = {});
  void SaveToFile(const std::string& path) const;
};

}  // namespace quorvane
