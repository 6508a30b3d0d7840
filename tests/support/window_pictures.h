#pragma once
// Pictures for the window's QtTest suites: one whose every pixel differs
// from its neighbours, so an overlay pixel left behind shows, and the two
// ways of comparing pictures (stored bytes; colours whatever the format).
#include <algorithm>
#include <cstdint>
#include <vector>

#include "raster/bitmap.h"
#include "raster/pixel_convert.h"

namespace quorvane::test_support {

inline TRasterBitmap Pattern(int width, int height) {
  TRasterBitmap picture;
  picture.Reset(TPixelFormat::Bit24, width, height);
  for (int y = 0; y < height; ++y) {
    uint8_t* row = picture.Scanline(y);
    for (int x = 0; x < width; ++x) {
      row[3 * x] = uint8_t(x * 7 + y);
      row[3 * x + 1] = uint8_t(y * 5 + 11);
      row[3 * x + 2] = uint8_t(x + y * 3 + 40);
    }
  }
  return picture;
}

// Same size, format and stored rows.
inline bool SameBytes(const TRasterBitmap& a, const TRasterBitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height() || a.PixelFormat() != b.PixelFormat())
    return false;
  for (int y = 0; y < a.Height(); ++y)
    if (!std::equal(a.Scanline(y), a.Scanline(y) + a.Stride(), b.Scanline(y))) return false;
  return true;
}

// Same size and the same colour at every pixel, whatever the pixel formats
// (a clipboard or a file may hand a picture back in another one).
inline bool SameColours(const TRasterBitmap& a, const TRasterBitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  std::vector<uint8_t> ra(size_t(a.Width()) * 3), rb(ra.size());
  for (int y = 0; y < a.Height(); ++y) {
    ReadRowAs24(a, y, 0, a.Width(), ra.data());
    ReadRowAs24(b, y, 0, b.Width(), rb.data());
    if (ra != rb) return false;
  }
  return true;
}

}  // namespace quorvane::test_support
