#pragma once
// JPEG through the IJG library: baseline and progressive files, colour,
// greyscale or CMYK, decoded at full size into 24-bit bitmaps; 24-bit
// bitmaps encoded as baseline colour JPEG.
#include <cstdint>
#include <span>
#include <vector>

#include "raster/bitmap.h"
#include "raster/codec.h"

namespace quorvane {

// Quality of a JPEG written by the save command; the JPEG picture's own save
// writes 100.
constexpr int kDefaultJpegQuality = 90;

struct TJpegEncodeOptions {
  int Quality = kDefaultJpegQuality;
};

// Size of the frame; always 24-bit.
TPictureInfo ReadJpegHeader(std::span<const uint8_t> bytes, const TDecodeLimits& limits = {});
// On an exception ("JPEG error #<code>: <library message>") the bitmap keeps
// its previous picture. A file that ends early keeps the rows decoded.
void DecodeJpeg(std::span<const uint8_t> bytes, TRasterBitmap& bitmap,
                const TDecodeOptions& options = {});
// `bitmap` must be 24-bit.
std::vector<uint8_t> EncodeJpeg(const TRasterBitmap& bitmap, const TJpegEncodeOptions& options = {},
                                TStageReporter* progress = nullptr);

}  // namespace quorvane
