// Starts the real program on a virtual display and checks its screenshot
// shows the start-up picture pixel for pixel.
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

// Runs the program so that it saves its window to `shot_file`; returns what
// went wrong, or an empty text.
QString RunProgram(const QStringList& launcher, const QString& platform, const QString& shot_file,
                   const QString& missing_file) {
  QProcess program;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("QT_QPA_PLATFORM", platform);
  program.setProcessEnvironment(environment);
  program.setProcessChannelMode(QProcess::MergedChannels);
  QStringList arguments = launcher;
  arguments << QUORVANE_APP_PATH << "--screenshot" << shot_file << missing_file;
  program.start(arguments.takeFirst(), arguments);
  if (!program.waitForFinished(60000)) return "the program did not finish";
  if (program.exitStatus() == QProcess::NormalExit && program.exitCode() == 0) return {};
  return QString("exit code %1: %2")
      .arg(program.exitCode())
      .arg(QString::fromLocal8Bit(program.readAll()));
}

// Whether a virtual X display can start on this machine (some sandboxes
// refuse the server its socket even where the package is installed).
bool VirtualDisplayStarts(const QString& xvfb) {
  QProcess probe;
  probe.start(xvfb, {"-a", "true"});
  return probe.waitForFinished(30000) && probe.exitStatus() == QProcess::NormalExit &&
         probe.exitCode() == 0;
}

}  // namespace

class TestScreenshot : public QObject {
  Q_OBJECT
 private slots:
  // On a virtual X display where one starts, otherwise on the offscreen
  // platform: either way the real program runs and paints its window.
  void programShowsTheStartupPicture() {
    QTemporaryDir dir;
    const QString shot_file = dir.filePath("window.png");
    const QString missing_file = dir.filePath("no such file.tif");
    const QString xvfb = QStandardPaths::findExecutable("xvfb-run");
    QString failure;
    if (!xvfb.isEmpty() && VirtualDisplayStarts(xvfb)) {
      failure =
          RunProgram({xvfb, "-a", "-s", "-screen 0 1024x768x24"}, "xcb", shot_file, missing_file);
    } else {
      qInfo("NOTE: no virtual X display here; the program runs on the offscreen platform");
      failure = RunProgram({}, "offscreen", shot_file, missing_file);
    }
    QVERIFY2(failure.isEmpty(), qPrintable(failure));
    const QImage shot(shot_file);
    QCOMPARE(shot.size(), QSize(621, 545));
    const TRasterBitmap picture = MakeStartupPicture();
    QVERIFY(FindRow(shot, picture).x() >= 0);
  }
};

QTEST_GUILESS_MAIN(TestScreenshot)
#include "screenshot_smoke_test.moc"
