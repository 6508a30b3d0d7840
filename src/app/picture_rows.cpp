#include "app/picture_rows.h"

#include <vector>

#include "raster/pixel_convert.h"

namespace quorvane {

QImage PictureRect(const TRasterBitmap& picture, const QRect& area) {
  const QRect clipped = area.intersected(QRect(0, 0, picture.Width(), picture.Height()));
  if (clipped.isEmpty()) return {};
  QImage image(clipped.size(), QImage::Format_RGB32);
  if (image.isNull()) return {};  // no memory for the exposed area
  const int width = clipped.width();
  std::vector<uint8_t> bgr(size_t(width) * 3);
  for (int y = 0; y < clipped.height(); ++y) {
    ReadRowAs24(picture, clipped.top() + y, clipped.left(), width, bgr.data());
    auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < width; ++x)
      out[x] = qRgb(bgr[3 * size_t(x) + 2], bgr[3 * size_t(x) + 1], bgr[3 * size_t(x)]);
  }
  return image;
}

}  // namespace quorvane
