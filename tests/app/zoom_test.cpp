// Zoom and pan of both panes: the mouse in picture pixels at any zoom (last
// row and column included), the pages reading out the same at 50% and 300%
// as at 1:1, overlays visible zoomed out while the picture's own pixels stay
// as they were, the commands' shortcuts and the wheel, the readouts and the
// "Fit Large Pictures" option.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include "app/dialogs.h"
#include "app/image_view.h"
#include "app/main_window.h"
#include "app/pane_zoom.h"
#include "raster/pixel_convert.h"
#include "settings/option_settings.h"
#include "settings/settings_path.h"
#include "support/qt_test_main.h"
#include "support/qt_widgets.h"
#include "support/window_files.h"
#include "support/window_pictures.h"

using namespace quorvane;
using test_support::Child;
using test_support::Pattern;
using test_support::SameColours;

namespace {

QRgb PixelOf(const TRasterBitmap& picture, int x, int y) {
  uint8_t bgr[3];
  ReadRowAs24(picture, y, x, 1, bgr);
  return qRgb(bgr[2], bgr[1], bgr[0]);
}

// The first view pixel showing picture pixel `p`.
QPoint ViewOf(QPoint p, TViewZoom zoom) {
  return {int(PictureToView(p.x(), zoom)), int(PictureToView(p.y(), zoom))};
}

void SendWheel(QWidget* widget, QPoint at, int delta, Qt::KeyboardModifiers keys) {
  QWheelEvent wheel(at, widget->mapToGlobal(at), {}, {0, delta}, Qt::NoButton, keys,
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(widget, &wheel);
}

}  // namespace

class TestZoom : public QObject {
  Q_OBJECT
 private:
  QTemporaryDir dir_;
  QString file_;
  TMainWindow* window_ = nullptr;
  TImageEx* input_ = nullptr;

  QString Text(const char* name) const { return Child<QLabel>(window_, name)->text(); }
  QString Field(const char* name) const { return Child<QLineEdit>(window_, name)->text(); }
  void Page(TPage page) { Child<QTabWidget>(window_, "PageControl")->setCurrentIndex(int(page)); }
  void Drag(QPoint from, QPoint to, TViewZoom zoom) {
    test_support::MoveOver(input_, ViewOf(from, zoom));
    test_support::PressOn(input_, ViewOf(from, zoom));
    test_support::MoveOver(input_, ViewOf(to, zoom));
    test_support::ReleaseOn(input_, ViewOf(to, zoom));
  }
  void Click(QPoint at, TViewZoom zoom) { Drag(at, at, zoom); }

  // Box and measuring readouts after the same gestures on the same picture
  // pixels at `zoom`.
  QStringList Readouts(TViewZoom zoom) {
    window_->PaneZoom().ZoomAround(TPaneChoice::Input, zoom, {0, 0});
    QStringList texts;
    Page(TPage::Resize);
    Drag({10, 8}, {40, 30}, zoom);
    texts << Text("BoxDis") << Text("Mouse1Dis");
    Page(TPage::Measure);
    Click({10, 10}, zoom);
    Click({40, 10}, zoom);
    Click({40, 30}, zoom);
    // Dragging the last point back up.
    Drag({40, 30}, {40, 20}, zoom);
    texts << Field("LengthDis") << Field("AreaDis") << Field("LastEastDis") << Field("EastDis");
    return texts;
  }

 private slots:
  void init() {
    window_ = new TMainWindow;
    window_->UseDialogs(CreateDialogs(window_));
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_));
    file_ = dir_.filePath("map.tif");
    test_support::WriteGeoPicture(file_.toStdString(), test_support::GreyPicture(120, 90));
    window_->OpenImageFile(file_);
    input_ = Child<TImageEx>(window_, "InputImage");
  }
  void cleanup() {
    delete window_;
    QDir::setCurrent(QDir::tempPath());
  }

  void viewPixelsMapToPicturePixels_data() {
    QTest::addColumn<int>("num");
    QTest::addColumn<int>("den");
    QTest::addColumn<int>("view");
    QTest::addColumn<int>("picture");
    QTest::addColumn<int>("extent");
    QTest::addColumn<int>("last_row");
    // A 37 x 23 picture; the last view pixel names the last column and row.
    QTest::newRow("1/64") << 1 << 64 << 0 << 0 << 1 << 0;
    QTest::newRow("1/2 last") << 1 << 2 << 18 << 36 << 19 << 22;
    QTest::newRow("2/3 last") << 2 << 3 << 24 << 36 << 25 << 22;
    QTest::newRow("3/2") << 3 << 2 << 4 << 2 << 56 << 22;
    QTest::newRow("3/2 last") << 3 << 2 << 55 << 36 << 56 << 22;
    QTest::newRow("3 last") << 3 << 1 << 110 << 36 << 111 << 22;
    QTest::newRow("16") << 16 << 1 << 31 << 1 << 592 << 22;
  }
  void viewPixelsMapToPicturePixels() {
    QFETCH(int, num);
    QFETCH(int, den);
    QFETCH(int, view);
    QFETCH(int, picture);
    QFETCH(int, extent);
    QFETCH(int, last_row);
    TRasterBitmap pattern = Pattern(37, 23);
    TImageEx image;
    image.SetPicture(&pattern);
    image.SetZoom({num, den});
    QCOMPARE(image.width(), extent);
    image.show();
    QVERIFY(QTest::qWaitForWindowExposed(&image));
    QSignalSpy moves(&image, &TImageEx::MouseMove);
    test_support::MoveOver(&image, {view, image.height() - 1});
    QTRY_COMPARE(moves.size(), 1);
    const auto mouse = moves.first().first().value<TImageMouse>();
    QCOMPARE(mouse.X, picture);
    QCOMPARE(mouse.Y, last_row);
    // Zoomed in, every view pixel shows the picture pixel it maps to.
    if (num <= den) return;
    const QImage shown = image.grab().toImage();
    for (int y = 0; y < shown.height(); y += 5)
      for (int x = 0; x < shown.width(); ++x) {
        const QPoint p = image.PicturePoint(QPointF(x, y));
        QCOMPARE(shown.pixel(x, y), PixelOf(pattern, p.x(), p.y()));
      }
  }

  void readoutsAreThoseOfActualPixels_data() {
    QTest::addColumn<int>("num");
    QTest::addColumn<int>("den");
    QTest::newRow("50%") << 1 << 2;
    QTest::newRow("300%") << 3 << 1;
  }
  void readoutsAreThoseOfActualPixels() {
    QFETCH(int, num);
    QFETCH(int, den);
    const QStringList actual = Readouts(kActualPixels);
    window_->OpenImageFile(file_);
    Child<QPushButton>(window_, "ResetMeasureBtn")->click();
    const QStringList zoomed = Readouts({num, den});
    QCOMPARE(zoomed, actual);
    QCOMPARE(actual.first(), QString("X1: 10 Y1: 8  X2: 40 Y2: 30  W: 30 H: 22"));
  }

  // Zoomed out the one-pixel polyline is drawn over the reduced picture;
  // zoomed in it covers whole squares; the picture's pixels are those of
  // 1:1 all along, and a save writes the file's own.
  void overlaysShowAtAnyZoomAndPicturesStayTheSame() {
    Page(TPage::Measure);
    Click({2, 2}, kActualPixels);
    Click({117, 87}, kActualPixels);
    const TRasterBitmap shown = window_->SourcePicture();
    TPaneZoom& zoom = window_->PaneZoom();
    zoom.ZoomAround(TPaneChoice::Input, {1, 4}, {0, 0});
    QCOMPARE(Text("Zoom1Dis"), QString("25%"));
    // Near every view pixel along the line, within one pixel, it shows dark.
    const QImage out = input_->grab().toImage();
    QCOMPARE(out.size(), QSize(30, 23));
    int dark = 0;
    for (int i = 2; i < 18; ++i) {
      const QPoint at(int((2 + 115 * i / 20.0) / 4), int((2 + 85 * i / 20.0) / 4));
      bool found = false;
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) found |= qGray(out.pixel(at + QPoint(dx, dy))) < 40;
      dark += found;
    }
    QCOMPARE(dark, 16);
    zoom.ZoomAround(TPaneChoice::Input, {3, 1}, {0, 0});
    const QImage in = input_->grab().toImage();
    for (int v = 0; v < 60; ++v) QCOMPARE(in.pixel(v, v), PixelOf(shown, v / 3, v / 3));
    QVERIFY(SameColours(window_->SourcePicture(), shown));

    const QString saved = dir_.filePath("saved.tif");
    window_->UseFileChoosers({.SaveName = [saved](QWidget*) { return saved; }});
    Page(TPage::Resize);
    window_->Menu().SaveSourceAsMnu->trigger();
    QVERIFY(SameColours(test_support::ReadGeoPicture(saved.toStdString()).Picture,
                        test_support::GreyPicture(120, 90)));
  }

  void shortcutsAndWheelZoomTheActivePane() {
    QApplication::setActiveWindow(window_);
    QVERIFY(QTest::qWaitForWindowActive(window_));
    const auto keys = [&](const char* sequence) {
      QTest::keySequence(window_, QKeySequence(sequence));
    };
    const std::pair<const char*, const char*> steps[] = {{"Ctrl+-", "66.67%"},
                                                         {"Ctrl+=", "100%"},
                                                         {"Ctrl+=", "150%"},
                                                         {"Ctrl++", "200%"},
                                                         {"Ctrl+0", "100%"}};
    for (const auto& [sequence, text] : steps) {
      keys(sequence);
      QCOMPARE(Text("Zoom1Dis"), QString(text));
    }
    QCOMPARE(Text("Zoom2Dis"), QString("100%"));
    keys("Ctrl+9");
    auto* box = Child<QScrollArea>(window_, "InScrollBox");
    QVERIFY(input_->width() <= box->maximumViewportSize().width());
    QVERIFY(input_->height() <= box->maximumViewportSize().height());
    keys("Ctrl+0");

    // Ctrl+wheel over the destination zooms it around the pointer and makes
    // it the pane the commands act on; a plain wheel does not zoom.
    QWidget* viewport = Child<QScrollArea>(window_, "OutScrollBox")->viewport();
    SendWheel(viewport, {5, 5}, 120, Qt::ControlModifier);
    QCOMPARE(Text("Zoom2Dis"), QString("150%"));
    SendWheel(viewport, {5, 5}, -120, Qt::NoModifier);
    QCOMPARE(Text("Zoom2Dis"), QString("150%"));
    keys("Ctrl+-");
    QCOMPARE(Text("Zoom2Dis"), QString("100%"));
    QCOMPARE(Text("Zoom1Dis"), QString("100%"));
    // A click takes the commands back to the source.
    Click({5, 5}, kActualPixels);
    keys("Ctrl+-");
    QCOMPARE(Text("Zoom1Dis"), QString("66.67%"));
  }

  void middleDragPansWhenZoomed() {
    auto* box = Child<QScrollArea>(window_, "InScrollBox");
    const QPoint start(60, 60);
    // At 1:1 the middle button is any button to the pages: it draws a box.
    const QString unzoomed = Text("BoxDis");
    test_support::PressOn(box->viewport(), start, Qt::MiddleButton);
    QTest::mouseMove(window_->windowHandle(), test_support::InWindow(box->viewport(), {20, 30}));
    test_support::ReleaseOn(box->viewport(), {20, 30}, Qt::MiddleButton);
    QCOMPARE(box->horizontalScrollBar()->value(), 0);
    QVERIFY(Text("BoxDis") != unzoomed);

    window_->PaneZoom().ZoomAround(TPaneChoice::Input, {4, 1}, {0, 0});
    const QString before = Text("BoxDis");
    test_support::PressOn(box->viewport(), start, Qt::MiddleButton);
    QTest::mouseMove(window_->windowHandle(), test_support::InWindow(box->viewport(), {20, 30}));
    test_support::ReleaseOn(box->viewport(), {20, 30}, Qt::MiddleButton);
    QCOMPARE(box->horizontalScrollBar()->value(), 40);
    QCOMPARE(box->verticalScrollBar()->value(), 30);
    // The box saw no drag.
    QCOMPARE(Text("BoxDis"), before);
  }

  void fitLargePicturesIsRememberedAndFitsNewPictures() {
    QVERIFY(!window_->Menu().FitLargeMnu->isChecked());
    window_->Menu().FitLargeMnu->trigger();
    QVERIFY(ReadOptionSetting(SettingsFilePath(), kFitLargeKey));
    const QString large = dir_.filePath("large.tif");
    test_support::WriteGeoPicture(large.toStdString(), Pattern(3000, 2000));
    window_->OpenImageFile(large);
    QVERIFY(Text("Zoom1Dis") != "100%");
    auto* box = Child<QScrollArea>(window_, "InScrollBox");
    QVERIFY(input_->width() <= box->maximumViewportSize().width());
    // A small picture still opens at 1:1.
    window_->OpenImageFile(file_);
    QCOMPARE(Text("Zoom1Dis"), QString("100%"));
    window_->Menu().FitLargeMnu->trigger();
    QVERIFY(!ReadOptionSetting(SettingsFilePath(), kFitLargeKey));
  }
};

QUORVANE_QTEST_MAIN(TestZoom)
#include "zoom_test.moc"
