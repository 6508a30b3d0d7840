// quorvane [FILE]: the window program. FILE, when it names an existing file,
// is opened at the window's first activation.
#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>

#include "app/dialogs.h"
#include "app/main_window.h"
#include "app/screenshot.h"
#include "raster/unfinished_saves.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  // Closing the terminal or kill during a save leaves no temporary file behind.
  quorvane::RemoveUnfinishedSavesOnSignals();
  QApplication::setApplicationName("Quorvane");

  QCommandLineParser parser;
  parser.setApplicationDescription("Viewer and editor for georeferenced raster images");
  parser.addHelpOption();
  parser.addPositionalArgument("file", "Picture to open at start.", "[FILE]");
  const QCommandLineOption screenshot = quorvane::ScreenshotOption();
  parser.addOption(screenshot);
  parser.process(app);

  quorvane::TMainWindow window;
  window.UseDialogs(quorvane::CreateDialogs(&window));
  // Further arguments are ignored.
  const QStringList files = parser.positionalArguments();
  if (!files.isEmpty()) window.SetCommandLineFile(files.first());
  window.show();
  window.activateWindow();
  if (parser.isSet(screenshot)) quorvane::ScheduleScreenshot(window, parser.value(screenshot));
  return app.exec();
}
