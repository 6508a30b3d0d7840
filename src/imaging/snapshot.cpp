#include "imaging/snapshot.h"

#include <algorithm>
#include <cstring>

#include "raster/pixel_convert.h"

namespace quorvane {

namespace {

// A picture of tens of megapixels is copied on every page switch: copying
// into the memory already there avoids a second full-size block existing,
// even briefly, beside the two the pane needs anyway.
void CopyPicture(const TRasterBitmap& from, TRasterBitmap& to) {
  const bool same_layout = from.Width() == to.Width() && from.Height() == to.Height() &&
                           from.PixelFormat() == to.PixelFormat() && from.Stride() == to.Stride() &&
                           from.ColorTable().size() == to.ColorTable().size();
  if (!same_layout) {
    to = from;
    return;
  }
  if (!from.Empty()) std::memcpy(to.Bits(), from.Bits(), from.Stride() * size_t(from.Height()));
  std::copy(from.ColorTable().begin(), from.ColorTable().end(), to.ColorTable().begin());
  to.SetPelsPerMeter(from.XPelsPerMeter(), from.YPelsPerMeter());
}

}  // namespace

TRect Snapshot(const TRasterBitmap& shown, TRasterBitmap& clean) {
  CopyPicture(shown, clean);
  return {};
}

TRect RestoreSnapshot(TRasterBitmap& shown, const TRasterBitmap& clean) {
  const int width = std::max(shown.Width(), clean.Width());
  const int height = std::max(shown.Height(), clean.Height());
  CopyPicture(clean, shown);
  if (width == 0 || height == 0) return {};
  return {0, 0, width, height};
}

TRect RestoreSnapshotRect(TRasterBitmap& shown, const TRasterBitmap& clean, const TRect& rect) {
  const int64_t left = std::max<int64_t>(rect.Left, 0);
  const int64_t top = std::max<int64_t>(rect.Top, 0);
  const int64_t right = std::min<int64_t>({rect.Right, shown.Width(), clean.Width()});
  const int64_t bottom = std::min<int64_t>({rect.Bottom, shown.Height(), clean.Height()});
  if (left >= right || top >= bottom) return {};
  CopyRect(clean, int(left), int(top), int(right - left), int(bottom - top), shown, int(left),
           int(top));
  return {int(left), int(top), int(right), int(bottom)};
}

}  // namespace quorvane
