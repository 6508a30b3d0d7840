#pragma once
// Shared by the fuzz targets: after a decoder succeeds, every byte of the
// picture is read, so that a bitmap smaller than its size claims shows up
// under AddressSanitizer, and a writer's output must read back unchanged.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include <span>

#include "raster/bitmap.h"
#include "raster/byte_stream.h"
#include "raster/codec.h"
#include "raster/error.h"

namespace quorvane::fuzz {

// A small memory cap keeps every input fast: a header may claim at most this
// many bytes of picture, which the target then reads in full.
constexpr uint64_t kPictureCap = uint64_t(16) << 20;
inline TDecodeOptions Options() {
  return {.Limits = {.MaxPictureBytes = kPictureCap}};
}

// A decoded picture and what the header alone said of it must agree: the
// header reader fails only where the decoder fails, and tells the size and
// pixel format the decoder gave.
template <typename TReadHeader>
void CheckHeaderAgrees(const TRasterBitmap& bitmap, TReadHeader read_header) {
  TPictureInfo info;
  try {
    info = read_header();
  } catch (const EQuorvaneError&) {
    std::abort();
  }
  if (info.Width != bitmap.Width() || info.Height != bitmap.Height()) std::abort();
  if (!bitmap.Empty() && info.PixelFormat != bitmap.PixelFormat()) std::abort();
}

inline void TouchEveryRow(const TRasterBitmap& bitmap) {
  if (bitmap.Empty()) return;
  const size_t row_bytes = size_t(RowStride(bitmap.Width(), bitmap.BitsPerPixel(), 8));
  volatile uint8_t sum = 0;
  for (int y = 0; y < bitmap.Height(); ++y) {
    const uint8_t* row = bitmap.Scanline(y);
    uint8_t s = 0;
    for (size_t i = 0; i < row_bytes; ++i) s ^= row[i];
    sum = sum ^ s;
  }
}

// The visible pixels of two bitmaps (padding excluded) are the same.
inline bool SamePixels(const TRasterBitmap& a, const TRasterBitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height() || a.PixelFormat() != b.PixelFormat())
    return false;
  if (a.Empty()) return true;
  const size_t row_bytes = size_t(RowStride(a.Width(), a.BitsPerPixel(), 8));
  for (int y = 0; y < a.Height(); ++y)
    if (std::memcmp(a.Scanline(y), b.Scanline(y), row_bytes) != 0) return false;
  return true;
}

}  // namespace quorvane::fuzz
