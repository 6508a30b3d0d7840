#pragma once
// GIF through giflib. Reading takes the first frame: when it covers the
// whole logical screen its indices and palette are the picture; otherwise
// the picture is the screen, filled with the background colour and carrying
// the global palette, with the frame drawn onto it. Writing takes a palette
// bitmap and LZW-codes its indices with its palette.
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "raster/bitmap.h"
#include "raster/codec.h"

namespace quorvane {

// The logical screen's size (the first frame's extent when the screen has
// none); always 8-bit.
TPictureInfo ReadGifHeader(std::span<const uint8_t> bytes, const TDecodeLimits& limits = {});
// The result is 8-bit. On an exception the bitmap keeps its previous
// picture; a file that ends inside the frame keeps the rows decoded.
void DecodeGif(std::span<const uint8_t> bytes, TRasterBitmap& bitmap,
               const TDecodeOptions& options = {});

// Takes the encoded bytes as they come; false when it cannot (the encoding
// then fails with giflib's write error).
using TGifByteSink = std::function<bool(std::span<const uint8_t> bytes)>;
// `bitmap` must be a 1-, 4- or 8-bit palette bitmap.
void EncodeGifTo(const TRasterBitmap& bitmap, const TGifByteSink& sink,
                 TStageReporter* progress = nullptr);
std::vector<uint8_t> EncodeGif(const TRasterBitmap& bitmap, TStageReporter* progress = nullptr);

}  // namespace quorvane
