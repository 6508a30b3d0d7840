#include "document/pane.h"

#include <algorithm>
#include <cstdint>

#include "raster/pixel_convert.h"

namespace quorvane {

void TPane::Snapshot() {
  if (keep_clean_copy_) clean_ = Picture;
}

TRect TPane::RestoreSnapshot() {
  if (!keep_clean_copy_) return {};
  const int width = std::max(Picture.Width(), clean_.Width());
  const int height = std::max(Picture.Height(), clean_.Height());
  Picture = clean_;
  if (width == 0 || height == 0) return {};
  return {0, 0, width, height};
}

TRect TPane::RestoreSnapshotRect(const TRect& rect) {
  if (!keep_clean_copy_) return {};
  const int64_t left = std::max<int64_t>(rect.Left, 0);
  const int64_t top = std::max<int64_t>(rect.Top, 0);
  const int64_t right = std::min<int64_t>({rect.Right, Picture.Width(), clean_.Width()});
  const int64_t bottom = std::min<int64_t>({rect.Bottom, Picture.Height(), clean_.Height()});
  if (left >= right || top >= bottom) return {};
  CopyRect(clean_, int(left), int(top), int(right - left), int(bottom - top), Picture, int(left),
           int(top));
  return {int(left), int(top), int(right), int(bottom)};
}

TRect TPane::Restore(const TRepaintRequest& request) {
  if (request.RestoreAll) return RestoreSnapshot();
  if (request.RestoreRect) return RestoreSnapshotRect(request.Rect);
  return {};
}

}  // namespace quorvane
