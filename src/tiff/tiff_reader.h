#pragma once
// Reads the first image of a TIFF or GeoTIFF file into a raster bitmap and
// hands every tag it does not interpret to the GeoTIFF tag reader.
#include <cstdint>
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

}  // namespace quorvane
