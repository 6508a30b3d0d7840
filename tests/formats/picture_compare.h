#pragma once
// Test helpers: reference renderings read with libpng, a bitmap's pixels as
// red, green, blue, and the largest channel difference between the two.
#include <png.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "raster/bitmap.h"
#include "support/test_pictures.h"

namespace quorvane::test_support {

struct TRgbImage {
  int Width = 0, Height = 0;
  std::vector<uint8_t> Rgb;  // Width * Height * 3, top row first
  const uint8_t* Pixel(int x, int y) const { return &Rgb[(size_t(y) * Width + x) * 3]; }
};

// A PNG flattened to 8-bit red, green, blue (alpha dropped, not composed:
// the formats under test keep colour and alpha apart).
inline bool ReadPngReference(const std::string& path, TRgbImage& out) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
  image.format = PNG_FORMAT_RGBA;
  std::vector<uint8_t> rgba(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) return false;
  out.Width = int(image.width);
  out.Height = int(image.height);
  out.Rgb.resize(size_t(out.Width) * out.Height * 3);
  for (size_t i = 0, n = size_t(out.Width) * out.Height; i < n; ++i)
    std::copy_n(&rgba[i * 4], 3, &out.Rgb[i * 3]);
  return true;
}

// The bitmap's pixels as red, green, blue; 15-bit components are widened
// by repeating their top bits.
inline TRgbImage ToRgb(const TRasterBitmap& b) {
  TRgbImage out;
  out.Width = b.Width();
  out.Height = b.Height();
  out.Rgb.resize(size_t(out.Width) * out.Height * 3);
  for (int y = 0; y < b.Height(); ++y) {
    const uint8_t* row = b.Scanline(y);
    for (int x = 0; x < b.Width(); ++x) {
      uint8_t* o = &out.Rgb[(size_t(y) * out.Width + x) * 3];
      switch (b.PixelFormat()) {
        case TPixelFormat::Bit24:
        case TPixelFormat::Bit32: {
          const uint8_t* p = row + x * (b.BitsPerPixel() / 8);
          o[0] = p[2], o[1] = p[1], o[2] = p[0];
          break;
        }
        case TPixelFormat::Bit15: {
          const unsigned v = row[x * 2] | (row[x * 2 + 1] << 8);
          auto widen = [](unsigned c) { return uint8_t((c << 3) | (c >> 2)); };
          o[0] = widen((v >> 10) & 31), o[1] = widen((v >> 5) & 31), o[2] = widen(v & 31);
          break;
        }
        default:
          std::abort();
      }
    }
  }
  return out;
}

// The largest difference of one channel; 256 when the sizes differ.
inline int MaxDifference(const TRgbImage& a, const TRgbImage& b) {
  if (a.Width != b.Width || a.Height != b.Height) return 256;
  int worst = 0;
  for (size_t i = 0; i < a.Rgb.size(); ++i) worst = std::max(worst, std::abs(a.Rgb[i] - b.Rgb[i]));
  return worst;
}

}  // namespace quorvane::test_support
