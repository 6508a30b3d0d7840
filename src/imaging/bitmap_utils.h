#pragma once
// Small operations on raster bitmaps: the display names of pixel formats and
// cropping to a rectangle.
#include <optional>
#include <string>

#include "raster/bitmap.h"
#include "raster/rect.h"

namespace quorvane {

// "Device", "1-bit" ... "32-bit", "Custom"; "Unknown" for any other value.
std::string PixelFormatName(TPixelFormat format);
inline std::string PixelFormatName(const TRasterBitmap& bitmap) {
  return PixelFormatName(bitmap.PixelFormat());
}

// `rect` in either orientation, clamped to a picture of width x height;
// nothing when it has no width or height or lies wholly outside.
std::optional<TRect> ClampedCropRect(const TRect& rect, int width, int height);

// The part of `bitmap` inside `rect`, as CropBitmap cuts it; nothing when
// CropBitmap would fail.
std::optional<TRasterBitmap> CroppedCopy(const TRasterBitmap& bitmap, const TRect& rect,
                                         TRect* clamped = nullptr);

// Cuts the bitmap to `rect`, given in either orientation and clamped to the
// picture, keeping pixel format and palette. False, with the bitmap
// unchanged, when the rectangle has no width or height before or after the
// clamping, or when the copy fails. On success `clamped` (when given)
// receives the rectangle actually cut, whose top-left corner is the new
// origin.
bool CropBitmap(TRasterBitmap& bitmap, const TRect& rect, TRect* clamped = nullptr);

}  // namespace quorvane
