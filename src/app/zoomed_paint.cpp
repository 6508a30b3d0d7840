#include "app/zoomed_paint.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "raster/pixel_convert.h"

namespace quorvane {

namespace {

// The source pixel under each view position from `first` on: the picture
// pixel, shifted down to the level, kept inside the source.
std::vector<int> SourceIndices(int first, int count, TViewZoom zoom, int level, int limit) {
  std::vector<int> indices(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i)
    indices[size_t(i)] =
        int(std::min<int64_t>(ViewToPicture(first + i, zoom) >> level, int64_t(limit) - 1));
  return indices;
}

}  // namespace

QImage ZoomedPictureRect(const TRasterBitmap& picture, const TPicturePyramid* pyramid, int level,
                         const QRect& area, TViewZoom zoom) {
  if (area.isEmpty() || picture.Empty()) return {};
  const bool reduced = pyramid && level > 0 && level <= pyramid->LevelCount();
  const TPyramidLevel* source = reduced ? &pyramid->Level(level) : nullptr;
  const int width = reduced ? source->Width : picture.Width();
  const int height = reduced ? source->Height : picture.Height();
  const int shift = reduced ? level : 0;
  const std::vector<int> columns = SourceIndices(area.left(), area.width(), zoom, shift, width);
  const std::vector<int> rows = SourceIndices(area.top(), area.height(), zoom, shift, height);
  QImage image(area.size(), QImage::Format_RGB32);
  if (image.isNull()) return {};  // no memory for the exposed area
  // Only the columns the area reaches are read from a picture row.
  const int first = columns.front();
  std::vector<uint8_t> bgr(reduced ? 0 : size_t(columns.back() - first + 1) * 3);
  for (int y = 0; y < area.height(); ++y) {
    auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
    if (y > 0 && rows[size_t(y)] == rows[size_t(y - 1)]) {
      std::memcpy(out, image.constScanLine(y - 1), size_t(area.width()) * sizeof(QRgb));
      continue;
    }
    const uint8_t* row;
    if (reduced) {
      row = source->Row(rows[size_t(y)]) + size_t(first) * 3;
    } else {
      ReadRowAs24(picture, rows[size_t(y)], first, int(bgr.size() / 3), bgr.data());
      row = bgr.data();
    }
    for (int x = 0; x < area.width(); ++x) {
      const uint8_t* pixel = row + size_t(columns[size_t(x)] - first) * 3;
      out[x] = qRgb(pixel[2], pixel[1], pixel[0]);
    }
  }
  return image;
}

}  // namespace quorvane
