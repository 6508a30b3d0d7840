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

QImage PictureThumbnail(const TRasterBitmap& picture, const QSize& box) {
  if (picture.Empty() || box.isEmpty()) return {};
  const QSize full(picture.Width(), picture.Height());
  QSize fitted = full;
  if (full.width() > box.width() || full.height() > box.height())
    fitted = full.scaled(box, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
  QImage image(fitted, QImage::Format_RGB32);
  if (image.isNull()) return {};
  std::vector<uint8_t> bgr(size_t(picture.Width()) * 3);
  for (int y = 0; y < fitted.height(); ++y) {
    const int row = int(int64_t(y) * picture.Height() / fitted.height());
    ReadRowAs24(picture, row, 0, picture.Width(), bgr.data());
    auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < fitted.width(); ++x) {
      const size_t column = size_t(int64_t(x) * picture.Width() / fitted.width());
      out[x] = qRgb(bgr[3 * column + 2], bgr[3 * column + 1], bgr[3 * column]);
    }
  }
  return image;
}

}  // namespace quorvane
