#pragma once
// The shape every codec has: read the header alone, decode bytes into a
// bitmap, encode a bitmap into bytes.
//
//   TPictureInfo Read<Format>Header(std::span<const uint8_t> bytes);
//   void Decode<Format>(std::span<const uint8_t> bytes, TRasterBitmap& bitmap,
//                       const TDecodeOptions& options = {});
//   std::vector<uint8_t> Encode<Format>(const TRasterBitmap& bitmap,
//                                       <format options>, TStageReporter* progress);
//
// The header reader decodes no pixel: it tells the size and the pixel format
// the decoder would give, and fails with the decoder's message for a header
// the decoder would refuse. A decoder fails with an exception and then
// leaves the caller's bitmap as it was; input that ends early is no failure.
#include <cstdint>

#include "raster/bitmap.h"
#include "raster/decode_limits.h"
#include "raster/progress.h"

namespace quorvane {

struct TPictureInfo {
  int64_t Width = 0;
  int64_t Height = 0;
  TPixelFormat PixelFormat = TPixelFormat::Bit24;
};

struct TDecodeOptions {
  // Whether the picture may be allocated at all.
  TDecodeLimits Limits;
  // May be null: no progress is reported.
  TStageReporter* Progress = nullptr;
};

}  // namespace quorvane
