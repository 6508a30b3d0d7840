// The image control: pixel-exact painting of every pixel format from the
// bitmap's rows, repaints limited to what changed, and mouse positions in
// picture pixels whatever the scroll position.
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include "app/image_view.h"
#include "app/picture_rows.h"
#include "raster/pixel_convert.h"
#include "support/qt_test_main.h"
#include "support/qt_widgets.h"

using namespace quorvane;

namespace {

TRasterBitmap Pattern24(int width, int height) {
  TRasterBitmap b;
  b.Reset(TPixelFormat::Bit24, width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      uint8_t* p = b.Scanline(y) + 3 * x;
      p[0] = uint8_t(x * 7), p[1] = uint8_t(y * 13), p[2] = uint8_t(x * y);
    }
  return b;
}

// Every pixel of a palette picture uses its own entry of a scrambled table,
// so swapped nibbles, bits or rows show.
TRasterBitmap PalettePicture(TPixelFormat format, int width, int height) {
  TRasterBitmap b;
  b.Reset(format, width, height);
  auto table = b.ColorTable();
  for (size_t i = 0; i < table.size(); ++i)
    table[i] = {uint8_t(i * 37), uint8_t(255 - i * 11), uint8_t(i * 101), 0};
  const int entries = int(table.size());
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const int index = (x * 3 + y * 5) % entries;
      uint8_t* row = b.Scanline(y);
      if (b.BitsPerPixel() == 8) row[x] = uint8_t(index);
      if (b.BitsPerPixel() == 4) row[x / 2] |= uint8_t(x % 2 ? index : index << 4);
      if (b.BitsPerPixel() == 1 && index) row[x / 8] |= uint8_t(0x80 >> (x % 8));
    }
  return b;
}

QRgb Expected(const TRasterBitmap& b, int x, int y) {
  uint8_t bgr[3];
  ReadRowAs24(b, y, x, 1, bgr);
  return qRgb(bgr[2], bgr[1], bgr[0]);
}

// The first pixel where the shown view and the picture differ, or "".
QString FirstDifference(TImageEx& view, const TRasterBitmap& b) {
  const QImage shown = view.grab().toImage();
  if (shown.size() != QSize(b.Width(), b.Height()))
    return QString("size %1x%2").arg(shown.width()).arg(shown.height());
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      if (shown.pixel(x, y) != Expected(b, x, y)) return QString("pixel %1,%2").arg(x).arg(y);
  return {};
}

// Records the regions the view is asked to paint.
class TPaintRecorder : public QObject {
 public:
  QRegion Painted;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) Painted += static_cast<QPaintEvent*>(event)->region();
    return false;
  }
};

}  // namespace

class TestImageView : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() { qRegisterMetaType<TImageMouse>(); }

  void paintsEveryFormatPixelExactly_data() {
    QTest::addColumn<int>("format");
    QTest::newRow("24-bit") << int(TPixelFormat::Bit24);
    QTest::newRow("8-bit palette") << int(TPixelFormat::Bit8);
    QTest::newRow("4-bit palette") << int(TPixelFormat::Bit4);
    QTest::newRow("1-bit palette") << int(TPixelFormat::Bit1);
    QTest::newRow("15-bit") << int(TPixelFormat::Bit15);
    QTest::newRow("16-bit") << int(TPixelFormat::Bit16);
    QTest::newRow("32-bit") << int(TPixelFormat::Bit32);
  }
  void paintsEveryFormatPixelExactly() {
    QFETCH(int, format);
    const auto f = TPixelFormat(format);
    TRasterBitmap picture = IsPaletteFormat(f) ? PalettePicture(f, 37, 23) : Pattern24(37, 23);
    if (!IsPaletteFormat(f)) picture.SetPixelFormat(f);
    TImageEx view;
    view.SetPicture(&picture);
    QCOMPARE(view.size(), QSize(37, 23));
    QCOMPARE(FirstDifference(view, picture), QString());
  }

  void sizesItselfToThePicture() {
    TRasterBitmap picture = Pattern24(40, 30);
    TImageEx view;
    view.SetPicture(&picture);
    QCOMPARE(view.size(), QSize(40, 30));
    picture.SetSize(12, 50);
    view.PictureChanged();
    QCOMPARE(view.size(), QSize(12, 50));
    view.SetPicture(nullptr);
    QCOMPARE(view.size(), QSize(0, 0));
    TRasterBitmap empty;
    view.SetPicture(&empty);
    QCOMPARE(view.size(), QSize(0, 0));
    QVERIFY(view.grab().isNull() || view.grab().size().isEmpty());
  }

  void repaintsOnlyTheChangedRectangle() {
    TRasterBitmap picture = Pattern24(200, 150);
    TImageEx view;
    view.SetPicture(&picture);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    TPaintRecorder recorder;
    view.installEventFilter(&recorder);
    view.UpdateRect({10, 20, 18, 28});
    QTRY_VERIFY(!recorder.Painted.isEmpty());
    QCOMPARE(recorder.Painted, QRegion(10, 20, 8, 8));
    recorder.Painted = {};
    view.UpdateRect({30, 30, 30, 40});  // empty: no paint
    test_support::DrainEvents();
    QVERIFY(recorder.Painted.isEmpty());
  }

  void convertsOnlyTheAskedRectangle() {
    const TRasterBitmap picture = Pattern24(50, 40);
    const QImage part = PictureRect(picture, QRect(45, 35, 20, 20));
    QCOMPARE(part.size(), QSize(5, 5));
    QCOMPARE(part.pixel(0, 0), Expected(picture, 45, 35));
    QCOMPARE(part.pixel(4, 4), Expected(picture, 49, 39));
    QVERIFY(PictureRect(picture, QRect(60, 0, 5, 5)).isNull());
  }

  void mousePositionsArePicturePixelsWhenScrolled() {
    TRasterBitmap picture = Pattern24(400, 300);
    QScrollArea area;
    area.resize(120, 100);
    auto* view = new TImageEx;
    view->SetPicture(&picture);
    area.setWidget(view);
    area.show();
    QVERIFY(QTest::qWaitForWindowExposed(&area));
    area.horizontalScrollBar()->setValue(150);
    area.verticalScrollBar()->setValue(120);
    QSignalSpy moves(view, &TImageEx::MouseMove);
    // Ten pixels into the visible part of the view.
    test_support::MoveOver(area.viewport(), QPoint(10, 10));
    QTRY_COMPARE(moves.size(), 1);
    const auto mouse = moves.first().first().value<TImageMouse>();
    QCOMPARE(mouse.X, 160);
    QCOMPARE(mouse.Y, 130);
  }

  void buttonsAndKeysTravelWithTheEvents() {
    TRasterBitmap picture = Pattern24(60, 60);
    TImageEx view;
    view.SetPicture(&picture);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QSignalSpy downs(&view, &TImageEx::MouseDown);
    QSignalSpy ups(&view, &TImageEx::MouseUp);
    test_support::PressOn(&view, QPoint(5, 6), Qt::LeftButton, Qt::ControlModifier);
    test_support::ReleaseOn(&view, QPoint(7, 8), Qt::LeftButton, Qt::ControlModifier);
    test_support::PressOn(&view, QPoint(1, 2), Qt::RightButton);
    test_support::ReleaseOn(&view, QPoint(1, 2), Qt::RightButton);
    QCOMPARE(downs.size(), 2);
    QCOMPARE(ups.size(), 2);
    const auto left = downs.at(0).first().value<TImageMouse>();
    QCOMPARE(left.X, 5);
    QCOMPARE(left.Y, 6);
    QVERIFY(left.Shift.Left && left.Shift.Ctrl && !left.Shift.Right);
    QCOMPARE(left.Button, Qt::LeftButton);
    const auto released = ups.at(0).first().value<TImageMouse>();
    QCOMPARE(released.X, 7);
    QVERIFY(!released.Shift.Left);
    QCOMPARE(released.Button, Qt::LeftButton);
    const auto right = downs.at(1).first().value<TImageMouse>();
    QVERIFY(right.Shift.Right && !right.Shift.Left && !right.Shift.Ctrl);
  }
};

QUORVANE_QTEST_MAIN(TestImageView)
#include "image_view_test.moc"
