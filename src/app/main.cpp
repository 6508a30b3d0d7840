// quorvane [FILE]: the window program. FILE, when it names an existing file,
// is opened at the window's first activation; further arguments and unknown
// options are ignored (document/startup_arguments.h).
#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <cstdio>
#include <string>
#include <vector>

#include "app/dialogs.h"
#include "app/main_window.h"
#include "app/screenshot.h"
#include "about/startup_arguments.h"
#include "raster/unfinished_saves.h"

namespace {

std::vector<std::string> ArgumentsAfterProgram(int argc, char* argv[]) {
  return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

// The arguments Qt left: it takes out its own options ("-platform NAME",
// "-style NAME" ...) while the application starts.
std::vector<std::string> ArgumentsAfterProgram(const QStringList& arguments) {
  std::vector<std::string> list;
  for (qsizetype i = 1; i < arguments.size(); ++i)
    list.push_back(QFile::encodeName(arguments[i]).toStdString());
  return list;
}

bool ExistingFile(const std::string& name) {
  const QFileInfo file(QFile::decodeName(name.c_str()));
  return file.exists() && !file.isDir();
}

// The installed theme's icon, or the one built into the program when it runs
// from its build folder.
QIcon ProgramIcon() {
  QIcon icon = QIcon::fromTheme("quorvane");
  if (!icon.isNull()) return icon;
  icon.addFile(":/quorvane-48.png");
  icon.addFile(":/quorvane-256.png");
  return icon;
}

}  // namespace

int main(int argc, char* argv[]) {
  const quorvane::TStartupArguments asked =
      quorvane::ParseStartupArguments(ArgumentsAfterProgram(argc, argv), ExistingFile);
  if (asked.Help || asked.Version) {
    // Answered without a display.
    const QCoreApplication core(argc, argv);
    const QString program = QCoreApplication::applicationFilePath();
    const std::string text =
        asked.Help ? quorvane::StartupUsageText(QFileInfo(program).fileName().toStdString())
                   : quorvane::StartupVersionText(program.toStdString());
    std::fputs(text.c_str(), stdout);
    return 0;
  }
  QApplication app(argc, argv);
  // Closing the terminal or kill during a save leaves no temporary file behind.
  quorvane::RemoveUnfinishedSavesOnSignals();
  QApplication::setApplicationName("Quorvane");
  QApplication::setWindowIcon(ProgramIcon());
  QGuiApplication::setDesktopFileName("quorvane");
  const quorvane::TStartupArguments arguments =
      quorvane::ParseStartupArguments(ArgumentsAfterProgram(app.arguments()), ExistingFile);

  quorvane::TMainWindow window;
  window.UseDialogs(quorvane::CreateDialogs(&window));
  if (arguments.File) window.SetCommandLineFile(QFile::decodeName(arguments.File->c_str()));
  window.show();
  window.activateWindow();
  if (arguments.Screenshot)
    quorvane::ScheduleScreenshot(window, QFile::decodeName(arguments.Screenshot->c_str()));
  return app.exec();
}
