#pragma once
// JPEG through the IJG library: baseline and progressive files, colour,
// greyscale or CMYK, decoded at full size into 24-bit bitmaps; 24-bit
// bitmaps encoded as baseline colour JPEG.
#include <cstdint>
#include <span>
#include <vector>

#include "raster/bitmap.h"
#include "raster/byte_stream.h"
#include "raster/progress.h"

namespace quorvane {

// Quality of a JPEG written by the save command; the JPEG picture's own save
// writes 100.
constexpr int kDefaultJpegQuality = 90;

// On an exception ("JPEG error #<code>: <library message>") the bitmap keeps
// its previous picture. A file that ends early keeps the rows decoded.
void DecodeJpeg(std::span<const uint8_t> bytes, TRasterBitmap& bitmap,
                const TProgressEvent& progress = {});
// The same, from the stream's position to its end.
void ReadJpeg(TByteStream& stream, TRasterBitmap& bitmap, const TProgressEvent& progress = {});
// `bitmap` must be 24-bit.
std::vector<uint8_t> EncodeJpeg(const TRasterBitmap& bitmap, int quality,
                                const TProgressEvent& progress = {});

}  // namespace quorvane
