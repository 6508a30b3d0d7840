#pragma once
// Reading single pixels back as colours, and blank canvases to draw on, for
// the tests of everything that paints into a raster bitmap.
#include <cstdint>
#include <string>

#include "imaging/canvas.h"
#include "raster/bitmap.h"
#include "raster/pixel_convert.h"

namespace quorvane::test_support {

constexpr TColor kMiddleGrey{128, 128, 128};

inline TColor PixelColor(const TRasterBitmap& bitmap, int x, int y) {
  uint8_t bgr[3];
  ReadRowAs24(bitmap, y, x, 1, bgr);
  return {bgr[2], bgr[1], bgr[0]};
}

// A picture of one colour in any pixel format (palette formats get the
// standard conversion's palette of that colour's format).
inline TRasterBitmap Blank(int width, int height, TPixelFormat format = TPixelFormat::Bit24,
                           TColor color = kColorWhite) {
  TRasterBitmap b;
  b.Reset(TPixelFormat::Bit24, width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      uint8_t* p = b.Scanline(y) + 3 * x;
      p[0] = color.Blue, p[1] = color.Green, p[2] = color.Red;
    }
  if (format != TPixelFormat::Bit24) b.SetPixelFormat(format);
  return b;
}

// One line per picture row, one letter per pixel, naming colours the way the
// drawing tests expect them: '.' white, 'k' black, 'r' red, 'b' blue, 'c'
// cyan, '-' middle grey (128, 128, 128), '?' anything else. Lets a test state a small picture
// literally.
inline std::string ColorMap(const TRasterBitmap& bitmap, int left, int top, int right, int bottom) {
  std::string map;
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) {
      const TColor c = PixelColor(bitmap, x, y);
      char letter = '?';
      if (c == kColorWhite) letter = '.';
      if (c == kColorBlack) letter = 'k';
      if (c == kColorRed) letter = 'r';
      if (c == kColorBlue) letter = 'b';
      if (c == kColorCyan) letter = 'c';
      if (c == kMiddleGrey) letter = '-';
      map += letter;
    }
    map += '\n';
  }
  return map;
}

}  // namespace quorvane::test_support
