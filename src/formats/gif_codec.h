#pragma once
// GIF through giflib. Reading takes the first frame: when it covers the
// whole logical screen its indices and palette are the picture; otherwise
// the picture is the screen, filled with the background colour and carrying
// the global palette, with the frame drawn onto it. Writing takes a palette
// bitmap and LZW-codes its indices with its palette.
#include <cstdint>
#include <span>
#include <vector>

#include "raster/bitmap.h"
#include "raster/byte_stream.h"
#include "raster/progress.h"

namespace quorvane {

// The result is 8-bit. On an exception the bitmap keeps its previous
// picture; a file that ends inside the frame keeps the rows decoded.
void DecodeGif(std::span<const uint8_t> bytes, TRasterBitmap& bitmap,
               const TProgressEvent& progress = {});
// The same, from the stream's position to its end.
void ReadGif(TByteStream& stream, TRasterBitmap& bitmap, const TProgressEvent& progress = {});
// `bitmap` must be a 1-, 4- or 8-bit palette bitmap.
std::vector<uint8_t> EncodeGif(const TRasterBitmap& bitmap, const TProgressEvent& progress = {});

}  // namespace quorvane
