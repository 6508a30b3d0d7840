#include "imaging/selection_background.h"

#include <algorithm>

#include "imaging/selection_geometry.h"
#include "raster/pixel_convert.h"

namespace quorvane {

namespace {

// Makes `band` a width x height bitmap in the picture's format and palette,
// reusing its memory when the size and format already fit (as they do on
// most drag steps). The same palette makes the block copies byte copies.
void Prepare(TRasterBitmap& band, const TRasterBitmap& picture, int width, int height) {
  if (band.Width() != width || band.Height() != height ||
      band.PixelFormat() != picture.PixelFormat())
    band.Reset(picture.PixelFormat(), width, height);
  const auto from = picture.ColorTable();
  const auto to = band.ColorTable();
  std::copy_n(from.begin(), std::min(from.size(), to.size()), to.begin());
}

}  // namespace

TChangedRects TBoxBackground::Save(const TRasterBitmap& picture, const TRect& box) {
  const TRect bounds{0, 0, picture.Width(), picture.Height()};
  const std::array<TRect, 4> areas = BoxBands(box);
  TChangedRects kept;
  for (size_t i = 0; i < bands_.size(); ++i) {
    TBand& band = bands_[i];
    band.Area = IntersectRects(areas[i], bounds);
    const int width = band.Area.Right - band.Area.Left;
    const int height = band.Area.Bottom - band.Area.Top;
    if (width == 0) continue;
    Prepare(band.Pixels, picture, width, height);
    CopyRect(picture, band.Area.Left, band.Area.Top, width, height, band.Pixels, 0, 0);
    kept.Add(band.Area);
  }
  saved_ = true;
  return kept;
}

TChangedRects TBoxBackground::Restore(TRasterBitmap& picture) {
  TChangedRects written;
  if (!saved_) return written;
  saved_ = false;
  const TRect bounds{0, 0, picture.Width(), picture.Height()};
  for (const TBand& band : bands_) {
    const int width = band.Area.Right - band.Area.Left;
    const int height = band.Area.Bottom - band.Area.Top;
    if (width == 0) continue;
    CopyRect(band.Pixels, 0, 0, width, height, picture, band.Area.Left, band.Area.Top);
    // A picture that shrank since the save keeps only what still fits.
    written.Add(IntersectRects(band.Area, bounds));
  }
  return written;
}

}  // namespace quorvane
