#pragma once
// The rectangles of a picture that one overlay operation wrote, so a view
// repaints just those. A box drawn over a large picture touches four thin
// bands; repainting their bounding box instead would redraw the whole area
// inside the box on every drag step.
#include <algorithm>
#include <array>
#include <cstddef>

#include "raster/rect.h"

namespace quorvane {

class TChangedRects {
 public:
  // Putting back the four old bands and saving and drawing four new ones is
  // the most one operation writes.
  static constexpr size_t kCapacity = 8;

  // Empty rectangles and repeats of one already held are skipped; beyond the
  // capacity the last rectangle grows to cover the rest, so nothing is lost.
  void Add(const TRect& rect) {
    if (rect.Right <= rect.Left || rect.Bottom <= rect.Top) return;
    if (std::find(begin(), end(), rect) != end()) return;
    if (count_ < kCapacity) {
      rects_[count_++] = rect;
      return;
    }
    TRect& last = rects_[kCapacity - 1];
    last = {std::min(last.Left, rect.Left), std::min(last.Top, rect.Top),
            std::max(last.Right, rect.Right), std::max(last.Bottom, rect.Bottom)};
  }
  void Add(const TChangedRects& other) {
    for (const TRect& rect : other) Add(rect);
  }

  const TRect* begin() const { return rects_.data(); }
  const TRect* end() const { return rects_.data() + count_; }
  size_t size() const { return count_; }
  bool empty() const { return count_ == 0; }

 private:
  std::array<TRect, kCapacity> rects_{};
  size_t count_ = 0;
};

}  // namespace quorvane
