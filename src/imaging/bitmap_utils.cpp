#include "imaging/bitmap_utils.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <utility>

namespace quorvane {

std::string PixelFormatName(TPixelFormat format) {
  switch (format) {
    case TPixelFormat::Device:
      return "Device";
    case TPixelFormat::Bit1:
      return "1-bit";
    case TPixelFormat::Bit4:
      return "4-bit";
    case TPixelFormat::Bit8:
      return "8-bit";
    case TPixelFormat::Bit15:
      return "15-bit";
    case TPixelFormat::Bit16:
      return "16-bit";
    case TPixelFormat::Bit24:
      return "24-bit";
    case TPixelFormat::Bit32:
      return "32-bit";
    case TPixelFormat::Custom:
      return "Custom";
  }
  return "Unknown";
}

namespace {

// Copies `width` pixels starting at pixel `x` of `from` to the start of `to`.
// Sub-byte formats are moved pixel by pixel, most significant bits leftmost.
void CopyPixels(const uint8_t* from, int x, int width, int bits, uint8_t* to) {
  if (bits >= 8) {
    std::memcpy(to, from + size_t(x) * size_t(bits / 8), size_t(width) * size_t(bits / 8));
    return;
  }
  const int per_byte = 8 / bits;
  const int mask = (1 << bits) - 1;
  for (int i = 0; i < width; ++i) {
    const int s = x + i;
    const int value = (from[s / per_byte] >> ((per_byte - 1 - s % per_byte) * bits)) & mask;
    const int shift = (per_byte - 1 - i % per_byte) * bits;
    uint8_t& target = to[i / per_byte];
    target = uint8_t((target & ~(mask << shift)) | (value << shift));
  }
}

}  // namespace

std::optional<TRect> ClampedCropRect(const TRect& rect, int width, int height) {
  if (rect.Right == rect.Left || rect.Top == rect.Bottom) return std::nullopt;
  TRect r = rect;
  if (r.Right < r.Left) std::swap(r.Left, r.Right);
  if (r.Bottom < r.Top) std::swap(r.Top, r.Bottom);
  r.Right = std::min(r.Right, width);
  r.Left = std::max(r.Left, 0);
  r.Bottom = std::min(r.Bottom, height);
  r.Top = std::max(r.Top, 0);
  // A rectangle wholly outside the picture leaves nothing to keep.
  if (r.Right <= r.Left || r.Bottom <= r.Top) return std::nullopt;
  return r;
}

std::optional<TRasterBitmap> CroppedCopy(const TRasterBitmap& bitmap, const TRect& rect,
                                         TRect* clamped) {
  const std::optional<TRect> kept = ClampedCropRect(rect, bitmap.Width(), bitmap.Height());
  if (!kept) return std::nullopt;
  const TRect r = *kept;
  TRasterBitmap cut;
  try {
    cut.Reset(bitmap.PixelFormat(), r.Right - r.Left, r.Bottom - r.Top);
    std::copy(bitmap.ColorTable().begin(), bitmap.ColorTable().end(), cut.ColorTable().begin());
    cut.SetPelsPerMeter(bitmap.XPelsPerMeter(), bitmap.YPelsPerMeter());
    for (int row = 0; row < cut.Height(); ++row) {
      CopyPixels(bitmap.Scanline(r.Top + row), r.Left, cut.Width(), bitmap.BitsPerPixel(),
                 cut.Scanline(row));
    }
  } catch (const std::exception&) {
    return std::nullopt;
  }
  if (clamped) *clamped = r;
  return cut;
}

bool CropBitmap(TRasterBitmap& bitmap, const TRect& rect, TRect* clamped) {
  std::optional<TRasterBitmap> cut = CroppedCopy(bitmap, rect, clamped);
  if (!cut) return false;
  bitmap = std::move(*cut);
  return true;
}

}  // namespace quorvane
