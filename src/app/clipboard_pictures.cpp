#include "app/clipboard_pictures.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <algorithm>

#include "app/picture_rows.h"
#include "raster/error.h"

namespace quorvane {

namespace {

constexpr char kUnsupported[] = "Unsupported clipboard format";

TRasterBitmap FromIndexed(const QImage& image) {
  TRasterBitmap picture;
  picture.Reset(TPixelFormat::Bit8, image.width(), image.height());
  const QList<QRgb> colors = image.colorTable();
  auto table = picture.ColorTable();
  for (qsizetype i = 0; i < std::min<qsizetype>(colors.size(), qsizetype(table.size())); ++i)
    table[size_t(i)] = {uint8_t(qBlue(colors[i])), uint8_t(qGreen(colors[i])),
                        uint8_t(qRed(colors[i])), 0};
  for (int y = 0; y < image.height(); ++y)
    std::copy_n(image.constScanLine(y), image.width(), picture.Scanline(y));
  return picture;
}

TRasterBitmap FromRgb(const QImage& image) {
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  if (rgb.isNull()) throw EQuorvaneError(kUnsupported, TErrorKind::Unsupported);
  TRasterBitmap picture;
  picture.Reset(TPixelFormat::Bit24, rgb.width(), rgb.height());
  for (int y = 0; y < rgb.height(); ++y) {
    const auto* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    uint8_t* out = picture.Scanline(y);
    for (int x = 0; x < rgb.width(); ++x, out += 3) {
      out[0] = uint8_t(qBlue(in[x]));
      out[1] = uint8_t(qGreen(in[x]));
      out[2] = uint8_t(qRed(in[x]));
    }
  }
  return picture;
}

}  // namespace

QImage ToClipboardImage(const TRasterBitmap& picture) {
  return PictureRect(picture, QRect(0, 0, picture.Width(), picture.Height()));
}

TRasterBitmap FromClipboardImage(const QImage& image) {
  if (image.isNull()) throw EQuorvaneError(kUnsupported, TErrorKind::Unsupported);
  if (image.format() == QImage::Format_Indexed8 && image.colorCount() <= 256)
    return FromIndexed(image);
  return FromRgb(image);
}

void PutPictureOnClipboard(const TRasterBitmap& picture) {
  QGuiApplication::clipboard()->setImage(ToClipboardImage(picture));
}

TRasterBitmap PictureFromClipboard() {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  if (!data || !data->hasImage()) throw EQuorvaneError(kUnsupported, TErrorKind::Unsupported);
  return FromClipboardImage(QGuiApplication::clipboard()->image());
}

}  // namespace quorvane
