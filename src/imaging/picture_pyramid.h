#pragma once
// Reduced copies of a picture for painting it zoomed out without touching
// every one of its pixels: level k is the picture at 1/2^k (k = 1, 2, ...),
// each pixel the mean of the 2 x 2 pixels under it in the level above (the
// picture itself above level 1). Odd sides round up; their last column or
// row averages the pixels there are. Levels are 24-bit blue, green, red rows
// from the top, whatever the picture's format, and stop at one pixel.
//
// A 24-bit picture's levels take a third of its memory. Building may run on
// a worker thread and be cancelled; the picture must not change meanwhile.
#include <atomic>
#include <cstdint>
#include <vector>

#include "raster/bitmap.h"
#include "raster/rect.h"

namespace quorvane {

struct TPyramidLevel {
  TPyramidLevel(int width, int height)
      : Width(width), Height(height), Pixels(size_t(width) * size_t(height) * 3) {}
  int Width;
  int Height;
  TPixelBuffer Pixels;  // rows top-down, 3 bytes a pixel, no padding

  uint8_t* Row(int y) { return Pixels.Data() + size_t(y) * size_t(Width) * 3; }
  const uint8_t* Row(int y) const { return Pixels.Data() + size_t(y) * size_t(Width) * 3; }
};

class TPicturePyramid {
 public:
  // Builds every level of `picture` on up to `threads` threads (0: one per
  // hardware thread). Returns an empty pyramid when `cancel` turns true.
  static TPicturePyramid Build(const TRasterBitmap& picture, int threads = 1,
                               const std::atomic<bool>* cancel = nullptr);

  int LevelCount() const { return int(levels_.size()); }
  bool Empty() const { return levels_.empty(); }
  // Level k, 1 <= k <= LevelCount().
  const TPyramidLevel& Level(int k) const { return levels_[size_t(k - 1)]; }

  // The level to paint from at `factor` view pixels per picture pixel: the
  // smallest one still at least as detailed as the view (0: the picture).
  int LevelFor(double factor) const;

  // Brings every level up to date under `rect` of the picture after its
  // pixels changed there.
  void Refresh(const TRasterBitmap& picture, const TRect& rect);

 private:
  std::vector<TPyramidLevel> levels_;
};

}  // namespace quorvane
