#include "app/print_surface.h"

#include <QPrinter>
#include <algorithm>

#include "app/picture_rows.h"
#include "app/qt_text.h"
#include "raster/error.h"

namespace quorvane {

namespace {

// Picture rows converted at once for the printer: a page-sized piece of a
// large picture is sent in strips instead of as one screen image of
// hundreds of megabytes.
constexpr int kStripRows = 256;

constexpr int kFrameWidth = 2;

// Printer row where picture row `row` of `source` lands on `dest`.
int DestRow(const TRect& source, const TRect& dest, int row) {
  const int64_t source_height = source.Bottom - source.Top;
  const int64_t dest_height = dest.Bottom - dest.Top;
  return dest.Top + int((row - source.Top) * dest_height / source_height);
}

}  // namespace

TPrintPage PrinterPage(const QPrinter& printer) {
  return {printer.width(), printer.height()};
}

TTilePrintOptions TilePrintOptionsFor(const QPrinter& printer) {
  return {.OneJob = !printer.outputFileName().isEmpty()};
}

TPrinterSurface::TPrinterSurface(QPrinter& printer) : printer_(printer) {}

TPrinterSurface::~TPrinterSurface() {
  if (painter_.isActive()) painter_.end();
}

TPrintPage TPrinterSurface::PageSize() const {
  return PrinterPage(printer_);
}

void TPrinterSurface::BeginJob(const std::string& title) {
  printer_.setDocName(FromStd(title));
  if (!painter_.begin(&printer_))
    throw EQuorvaneError("Printing failed: the printer \"" + printer_.printerName().toStdString() +
                         "\" did not start the job");
}

void TPrinterSurface::NewPage() {
  if (!printer_.newPage()) throw EQuorvaneError("Printing failed: no new page");
}

void TPrinterSurface::CopyPicture(const TRasterBitmap& picture, const TRect& source,
                                  const TRect& dest) {
  if (source.Bottom <= source.Top || source.Right <= source.Left) return;
  // Opaque pixels replace the paper, without smoothing: a stretched block
  // copy. (Print engines take no composition modes; opacity does it.)
  painter_.setRenderHint(QPainter::SmoothPixmapTransform, false);
  // A PDF would otherwise carry the picture JPEG-compressed.
  painter_.setRenderHint(QPainter::LosslessImageRendering, true);
  for (int top = source.Top; top < source.Bottom; top += kStripRows) {
    const int bottom = std::min(top + kStripRows, source.Bottom);
    const QImage strip =
        PictureRect(picture, QRect(source.Left, top, source.Right - source.Left, bottom - top));
    if (strip.isNull()) throw ENotEnoughMemory("print the picture");
    const int y = DestRow(source, dest, top);
    const QRect target(dest.Left, y, dest.Right - dest.Left, DestRow(source, dest, bottom) - y);
    if (!target.isEmpty()) painter_.drawImage(target, strip);
  }
}

void TPrinterSurface::DrawFrameLine(TPoint from, TPoint to) {
  QPen pen(Qt::black, kFrameWidth);
  pen.setCapStyle(Qt::SquareCap);
  painter_.setPen(pen);
  painter_.drawLine(QPoint(from.X, from.Y), QPoint(to.X, to.Y));
}

void TPrinterSurface::EndJob() {
  if (!painter_.end()) throw EQuorvaneError("Printing failed: the job could not be finished");
}

void TPrinterSurface::AbortJob() noexcept {
  printer_.abort();
  if (painter_.isActive()) painter_.end();
}

}  // namespace quorvane
