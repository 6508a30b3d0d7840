#pragma once
// Windows icon (.ico) and cursor (.cur) files opened as pictures: the
// largest image of the file, whose payload is a PNG file or a bitmap without
// its file header (colour rows followed by a transparency mask).
#include <cstdint>
#include <span>

#include "raster/bitmap.h"
#include "raster/codec.h"

namespace quorvane {

// The largest image's size and the pixel format it decodes to.
TPictureInfo ReadIconHeader(std::span<const uint8_t> bytes, const TDecodeLimits& limits = {});
// On an exception the bitmap keeps its previous picture.
void DecodeIcon(std::span<const uint8_t> bytes, TRasterBitmap& bitmap,
                const TDecodeOptions& options = {});

}  // namespace quorvane
