// Pictures to and from the clipboard, and the message boxes that report
// what went wrong.
#include <QApplication>
#include <QClipboard>
#include <QMainWindow>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "app/clipboard_pictures.h"
#include "app/messages.h"
#include "raster/error.h"
#include "raster/pixel_convert.h"
#include "support/qt_test_main.h"
#include "support/window_pictures.h"

using namespace quorvane;
using test_support::Pattern;
using test_support::SameColours;

namespace {

QString ErrorText(const std::function<void()>& action) {
  try {
    action();
  } catch (const EQuorvaneError& e) {
    return e.what();
  }
  return {};
}

// The text, icon, caption and buttons of the next message box, which is
// then closed.
struct TSeenBox {
  QString Text, Title;
  QMessageBox::Icon Icon = QMessageBox::NoIcon;
  QMessageBox::StandardButtons Buttons;
};
void CloseNextMessageBox(TSeenBox& seen) {
  QTimer::singleShot(0, [&seen] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    QVERIFY(box);
    seen = {box->text(), box->windowTitle(), box->icon(), box->standardButtons()};
    box->accept();
  });
}

}  // namespace

class TestTransfer : public QObject {
  Q_OBJECT
 private slots:
  void copyThenPasteGivesTheSameColours() {
    const TRasterBitmap picture = Pattern(31, 17);
    PutPictureOnClipboard(picture);
    const TRasterBitmap pasted = PictureFromClipboard();
    QCOMPARE(pasted.PixelFormat(), TPixelFormat::Bit24);
    QVERIFY(SameColours(pasted, picture));
  }

  void palettePicturesGoAsTheirColours() {
    TRasterBitmap picture;
    picture.Reset(TPixelFormat::Bit4, 5, 3);
    picture.ColorTable()[2] = {10, 20, 30, 0};
    picture.Scanline(1)[0] = 0x20;
    const QImage image = ToClipboardImage(picture);
    QCOMPARE(image.pixel(0, 1), qRgb(30, 20, 10));
    QCOMPARE(image.pixel(1, 1), qRgb(0, 0, 0));
  }

  void indexedImagesKeepTheirPalette() {
    QImage image(3, 2, QImage::Format_Indexed8);
    image.setColorTable({qRgb(255, 0, 0), qRgb(0, 0, 255)});
    image.fill(0);
    image.setPixel(2, 1, 1);
    const TRasterBitmap picture = FromClipboardImage(image);
    QCOMPARE(picture.PixelFormat(), TPixelFormat::Bit8);
    QCOMPARE(picture.Scanline(1)[2], uint8_t(1));
    QCOMPARE(picture.ColorTable()[1], (TRGBQuad{255, 0, 0, 0}));
  }

  void transparentImagesLoseOnlyTheirAlpha() {
    QImage image(2, 1, QImage::Format_ARGB32);
    image.setPixel(0, 0, qRgba(10, 20, 30, 255));
    image.setPixel(1, 0, qRgba(40, 50, 60, 255));
    const TRasterBitmap picture = FromClipboardImage(image);
    QCOMPARE(picture.Scanline(0)[3], uint8_t(60));
    QCOMPARE(picture.Scanline(0)[5], uint8_t(40));
  }

  void textOnTheClipboardIsNoPicture() {
    QGuiApplication::clipboard()->setText("not a picture");
    QCOMPARE(ErrorText([] { PictureFromClipboard(); }), QString("Unsupported clipboard format"));
    QCOMPARE(ErrorText([] { FromClipboardImage(QImage()); }),
             QString("Unsupported clipboard format"));
  }

  void errorsShowTheirTextWithTheCriticalIcon() {
    QMainWindow window;
    window.setWindowTitle("sample.tif - Quorvane");
    TSeenBox seen;
    CloseNextMessageBox(seen);
    ShowErrorMessage(&window, "Unsupported Bits/Pixel: 2");
    QCOMPARE(seen.Text, QString("Unsupported Bits/Pixel: 2"));
    QCOMPARE(seen.Icon, QMessageBox::Critical);
    QCOMPARE(seen.Title, QString("sample.tif - Quorvane"));
  }

  void warningsHaveOneOkButton() {
    TSeenBox seen;
    CloseNextMessageBox(seen);
    ShowWarningMessage(nullptr, "Destination Is Empty");
    QCOMPARE(seen.Text, QString("Destination Is Empty"));
    QCOMPARE(seen.Icon, QMessageBox::Warning);
    QCOMPARE(seen.Buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
  }
};

QUORVANE_QTEST_MAIN(TestTransfer)
#include "transfer_test.moc"
