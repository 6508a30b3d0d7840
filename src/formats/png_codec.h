#pragma once
// PNG through libpng: every colour type read into a 1-, 4-, 8-, 24- or
// 32-bit bitmap as decoded (16-bit samples reduced to 8); 24-bit bitmaps
// written as 8-bit RGB, Sub filter on every row, zlib level 7, no
// interlacing, IDAT chunks of at most 65535 bytes.
#include <cstdint>
#include <span>
#include <vector>

#include "raster/bitmap.h"
#include "raster/byte_stream.h"
#include "raster/progress.h"

namespace quorvane {

// On an exception the bitmap keeps its previous picture. A file that ends
// inside the image data keeps the rows decoded.
void DecodePng(std::span<const uint8_t> bytes, TRasterBitmap& bitmap,
               const TProgressEvent& progress = {});
// The same, from the stream's position to its end.
void ReadPng(TByteStream& stream, TRasterBitmap& bitmap, const TProgressEvent& progress = {});
// `bitmap` must be 24-bit.
std::vector<uint8_t> EncodePng(const TRasterBitmap& bitmap, const TProgressEvent& progress = {});

}  // namespace quorvane
