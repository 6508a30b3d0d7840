// Starts the real program on a virtual display and checks its screenshot
// shows the start-up picture, or the file named on its command line, pixel
// for pixel.
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "about/about_texts.h"
#include "imaging/startup_picture.h"
#include "io/format_registry.h"
#include "raster/pixel_convert.h"

using namespace quorvane;

namespace {

// The empty selection box at the top-left corner of the source marks its
// first two rows; the third is the picture's own.
constexpr int kClearRow = 2;

// Where row `row` of `picture` starts inside `shot`, if it does.
QPoint FindRow(const QImage& shot, const TRasterBitmap& picture, int row) {
  std::vector<uint8_t> bgr(size_t(picture.Width()) * 3);
  quorvane::ReadRowAs24(picture, row, 0, picture.Width(), bgr.data());
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
                   const QString& file) {
  QProcess program;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("QT_QPA_PLATFORM", platform);
  program.setProcessEnvironment(environment);
  program.setProcessChannelMode(QProcess::MergedChannels);
  QStringList arguments = launcher;
  // Arguments after the file, and options the program does not know, are
  // ignored.
  arguments << QUORVANE_APP_PATH << "--screenshot" << shot_file << file << "--foo"
            << "extra";
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

// A picture no start-up screen shows: diagonal colour bands.
TRasterBitmap Bands(int width, int height) {
  TRasterBitmap picture;
  picture.Reset(TPixelFormat::Bit24, width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      uint8_t* p = picture.Scanline(y) + 3 * x;
      p[0] = uint8_t((x + y) * 5), p[1] = uint8_t(x * 3), p[2] = uint8_t(255 - y * 2);
    }
  return picture;
}

// Runs the program on `file` and returns its screenshot; fails the test
// when the program does not run to the end.
QImage Screenshot(const QString& file) {
  QTemporaryDir dir;
  const QString shot_file = dir.filePath("window.png");
  const QString xvfb = QStandardPaths::findExecutable("xvfb-run");
  QString failure;
  if (!xvfb.isEmpty() && VirtualDisplayStarts(xvfb)) {
    failure = RunProgram({xvfb, "-a", "-s", "-screen 0 1024x768x24"}, "xcb", shot_file, file);
  } else {
    qInfo("NOTE: no virtual X display here; the program runs on the offscreen platform");
    failure = RunProgram({}, "offscreen", shot_file, file);
  }
  if (!failure.isEmpty()) qWarning("%s", qPrintable(failure));
  return QImage(shot_file);
}

}  // namespace

class TestScreenshot : public QObject {
  Q_OBJECT
 private slots:
  // On a virtual X display where one starts, otherwise on the offscreen
  // platform: either way the real program runs and paints its window. A
  // file that does not exist opens nothing and says nothing.
  void programShowsTheStartupPicture() {
    QTemporaryDir dir;
    const QImage shot = Screenshot(dir.filePath("no such file.tif"));
    QCOMPARE(shot.size(), QSize(621, 545));
    QVERIFY(FindRow(shot, MakeStartupPicture(), kClearRow).x() >= 0);
  }

  // Answered on the terminal, with no display to open a window on.
  void programAnswersVersionAndHelp() {
    for (const char* option : {"--version", "--help"}) {
      QProcess program;
      QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
      environment.insert("QT_QPA_PLATFORM", "xcb");
      environment.remove("DISPLAY");
      program.setProcessEnvironment(environment);
      program.start(QUORVANE_APP_PATH, {option});
      QVERIFY(program.waitForFinished(30000));
      QCOMPARE(program.exitCode(), 0);
      const QString output = QString::fromUtf8(program.readAllStandardOutput());
      const auto date = FileModificationDate(QUORVANE_APP_PATH);
      QVERIFY(date);
      if (QString(option) == "--version")
        QCOMPARE(output, "Quorvane " + QString::fromStdString(AboutVersionText(*date)) + "\n");
      else
        QVERIFY2(output.startsWith("Usage: quorvane [FILE]"), qPrintable(output));
    }
  }

  void programOpensTheFileOnItsCommandLine() {
    QTemporaryDir dir;
    const QString file = dir.filePath("bands.tif");
    const TRasterBitmap picture = Bands(90, 60);
    SaveBitmapFile(picture, file.toStdString(), {});
    const QImage shot = Screenshot(file);
    QCOMPARE(shot.size(), QSize(621, 545));
    QVERIFY(FindRow(shot, picture, kClearRow).x() >= 0);
    QVERIFY(FindRow(shot, MakeStartupPicture(), kClearRow).x() < 0);
  }
};

QTEST_GUILESS_MAIN(TestScreenshot)
#include "screenshot_smoke_test.moc"
