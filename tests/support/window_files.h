#pragma once
// Files and message boxes for the window's QtTest suites: a GeoTIFF written
// with a known georeference, and a watcher that answers every message box
// the window raises and remembers what it said.
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>
#include <string>

#include "geo/geotiff_georef.h"
#include "io/format_registry.h"
#include "raster/bitmap.h"
#include "support/geo_grid.h"

namespace quorvane::test_support {

// Zone 18 north, upper-left corner at 500000 E, 4649776 N, 30 m pixels.
inline const TGeoReference kTestGeoReference{500000, 4649776, 30, 30, 18, true};

// A 24-bit picture of one grey with a darker frame, so a point's place shows.
inline TRasterBitmap GreyPicture(int width, int height, uint8_t grey = 128) {
  TRasterBitmap picture;
  picture.Reset(TPixelFormat::Bit24, width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const bool frame = x == 0 || y == 0 || x == width - 1 || y == height - 1;
      uint8_t* p = picture.Scanline(y) + 3 * x;
      p[0] = p[1] = p[2] = frame ? uint8_t(grey / 2) : grey;
    }
  return picture;
}

// Writes `picture` to `path` (format by extension) with `reference` in its
// GeoTIFF tags when the format carries them.
inline void WriteGeoPicture(const std::string& path, const TRasterBitmap& picture,
                            const TGeoReference& reference = kTestGeoReference) {
  TGeoTiffTags tags;
  GeoReferenceToGeoTiff(reference, tags);
  SaveBitmapFile(picture, path, {.GeoTiff = true, .GeoTiffTags = &tags});
}

// The picture and the grid part of the georeference an open of `path` gives.
struct TReadBack {
  TRasterBitmap Picture;
  TGeoTiffTags Tags;
  TGeoReference GeoReference;
};
inline TReadBack ReadGeoPicture(const std::string& path) {
  TReadBack back;
  back.Picture = std::move(*LoadPicture(path, back.Tags));
  ResetGeoReference(back.GeoReference);
  GeoTiffToGeoReference(back.Tags, back.GeoReference);
  back.GeoReference = GridPart(back.GeoReference);
  return back;
}

// Closes every message box as soon as it is up, recording its text and icon.
class TMessageWatcher {
 public:
  struct TSeen {
    QString Text;
    QMessageBox::Icon Icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons Buttons;
    // Whether any other top-level window was visible beside it (a progress
    // window left standing, for instance).
    QStringList OtherWindows;
  };
  TMessageWatcher() {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Answer(); });
    timer_.start();
  }
  const QList<TSeen>& Seen() const { return seen_; }
  QStringList Texts() const {
    QStringList texts;
    for (const TSeen& seen : seen_) texts << seen.Text;
    return texts;
  }

 private:
  void Answer() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible()) return;
    TSeen seen{box->text(), box->icon(), box->standardButtons(), {}};
    for (QWidget* widget : QApplication::topLevelWidgets())
      if (widget != box && widget->isVisible() && widget->inherits("QDialog"))
        seen.OtherWindows << widget->windowTitle();
    seen_ << seen;
    box->accept();
  }
  QTimer timer_;
  QList<TSeen> seen_;
};

}  // namespace quorvane::test_support
