// Starts the real program on a virtual display and checks its screenshot
// shows the start-up picture pixel for pixel. Skips where xvfb is absent.
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "imaging/startup_picture.h"
#include "raster/pixel_convert.h"

using namespace quorvane;

namespace {

// Where the top row of `picture` starts inside `shot`, if it does.
QPoint FindRow(const QImage& shot, const TRasterBitmap& picture) {
  std::vector<uint8_t> bgr(size_t(picture.Width()) * 3);
  quorvane::ReadRowAs24(picture, 0, 0, picture.Width(), bgr.data());
  for (int y = 0; y < shot.height(); ++y)
    for (int x = 0; x + picture.Width() <= shot.width(); ++x) {
      int i = 0;
      while (i < picture.Width() &&
             shot.pixel(x + i, y) == qRgb(bgr[3 * i + 2], bgr[3 * i + 1], bgr[3 * i]))
        ++i;
      if (i == picture.Width()) return {x, y};
    }
  return {-1, -1};
}

}  // namespace

class TestScreenshot : public QObject {
  Q_OBJECT
 private slots:
  void programShowsTheStartupPicture() {
    const QString xvfb = QStandardPaths::findExecutable("xvfb-run");
    if (xvfb.isEmpty()) QSKIP("SKIP: xvfb-run is not installed");
    QTemporaryDir dir;
    const QString shot_file = dir.filePath("window.png");
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "xcb");
    program.setProcessEnvironment(environment);
    program.start(xvfb, {"-a", "-s", "-screen 0 1024x768x24", QUORVANE_APP_PATH, "--screenshot",
                         shot_file, dir.filePath("no such file.tif")});
    QVERIFY(program.waitForFinished(60000));
    QCOMPARE(program.exitCode(), 0);
    const QImage shot(shot_file);
    QCOMPARE(shot.size(), QSize(621, 545));
    const TRasterBitmap picture = MakeStartupPicture();
    QVERIFY(FindRow(shot, picture).x() >= 0);
  }
};

QTEST_GUILESS_MAIN(TestScreenshot)
#include "screenshot_smoke_test.moc"
