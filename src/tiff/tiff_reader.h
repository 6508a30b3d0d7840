#pragma once
// Reads the first image of a TIFF or GeoTIFF file into a raster bitmap and
// hands every tag it does not interpret to the GeoTIFF tag reader.
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "raster/bitmap.h"
#include "raster/codec.h"
#include "raster/geotiff_tags.h"

namespace quorvane {

// The size and pixel format the first image would decode to, and its
// GeoTIFF tags, without decoding a strip. A file without a first directory
// gives 0 x 0. Throws what DecodeTiff throws for the same directory.
TPictureInfo ReadTiffHeader(std::span<const uint8_t> bytes, TGeoTiffTags& tags,
                            const TDecodeLimits& limits = {});

// Decodes the first image into `bitmap`. On an exception the bitmap keeps its
// previous picture; so it does for a file without a first directory. The
// progress reporter's hook is cleared at the end of every read.
void DecodeTiff(std::span<const uint8_t> bytes, TRasterBitmap& bitmap, TGeoTiffTags& tags,
                const TDecodeOptions& options = {});
// The same for a file, read whole first.
void LoadTiffFile(const std::string& path, TRasterBitmap& bitmap, TGeoTiffTags& tags,
                  const TDecodeOptions& options = {});

// The first image of a TIFF file a strip at a time: only the directory and
// the strip being decoded are read, and rows go to the caller a strip's
// band at a time, byte for byte the rows LoadTiffFile gives.
class TTiffFileRows {
 public:
  // Reads the directory; the GeoTIFF tags land in `tags`. Throws what
  // ReadTiffHeader throws.
  TTiffFileRows(const std::string& path, TGeoTiffTags& tags, const TDecodeLimits& limits);
  ~TTiffFileRows();
  // False for a file without a first directory: nothing to stream.
  bool HasImage() const { return has_image_; }
  const TPictureInfo& Picture() const { return picture_; }
  // Every row, top first, as image rows 0 .. rows-1 of each band, until
  // `rows` returns false.
  void Stream(const std::function<bool(const TRasterBitmap& band, int rows)>& rows);

 private:
  struct TState;
  std::unique_ptr<TState> state_;
  bool has_image_ = false;
  TPictureInfo picture_;
  TDecodeLimits limits_;
};

}  // namespace quorvane
