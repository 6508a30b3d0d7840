#pragma once
// The writers that must give back what their reader decoded, by format key:
// PCX and TGA pixel for pixel, IFF (written as a PBM) at its size.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "formats/iff.h"
#include "formats/pcx.h"
#include "formats/tga.h"
#include "fuzz_check.h"

namespace quorvane::fuzz {

inline void CheckPcxRoundTrip(const TRasterBitmap& bitmap) {
  // A width of 65536 reads but has no BytesPerLine to be written with.
  if (bitmap.Empty() || bitmap.Width() > 65535) return;
  if (size_t(bitmap.Width()) * bitmap.Height() > (1u << 20)) return;
  TRasterBitmap again;
  DecodePcx(EncodePcx(bitmap), again);
  if (!SamePixels(bitmap, again)) std::abort();
}

inline void CheckTgaRoundTrip(const TRasterBitmap& bitmap) {
  const TPixelFormat format = bitmap.PixelFormat();
  if (format != TPixelFormat::Bit24 && format != TPixelFormat::Bit32) return;
  if (size_t(bitmap.Width()) * bitmap.Height() > (1u << 20)) return;
  TRasterBitmap again;
  DecodeTga(EncodeTga(bitmap), again);
  if (!SamePixels(bitmap, again)) std::abort();
}

inline void CheckIffRoundTrip(const TRasterBitmap& bitmap, size_t input_size) {
  if (size_t(bitmap.Width()) * bitmap.Height() > (1u << 16)) return;
  try {
    TRasterBitmap again;
    DecodeLbm(EncodeLbm(bitmap, {.Compress = input_size % 2 == 0}), again);
    if (again.Width() != bitmap.Width() || again.Height() != bitmap.Height()) std::abort();
  } catch (const EQuorvaneError&) {
    // The pixel-format conversion the writer relies on may refuse.
  }
}

inline void CheckRoundTrip(std::string_view key, const TRasterBitmap& bitmap, size_t input_size) {
  if (key == "pcx") CheckPcxRoundTrip(bitmap);
  if (key == "tga") CheckTgaRoundTrip(bitmap);
  if (key == "iff") CheckIffRoundTrip(bitmap, input_size);
}

}  // namespace quorvane::fuzz
