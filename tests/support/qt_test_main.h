#pragma once
// The main() of the window's QtTest suites: QTEST_MAIN with a settings
// folder of the suite's own. A window reads and writes its recent-files list
// and options in $XDG_CONFIG_HOME; pointed at a fresh folder for the run,
// each suite passes alone or in any order, whatever lists other suites or
// the user left behind.
#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

namespace quorvane::test_support {

class TOwnSettingsFolder {
 public:
  TOwnSettingsFolder() { qputenv("XDG_CONFIG_HOME", folder_.path().toLocal8Bit()); }
  TOwnSettingsFolder(const TOwnSettingsFolder&) = delete;
  TOwnSettingsFolder& operator=(const TOwnSettingsFolder&) = delete;

 private:
  QTemporaryDir folder_;
};

}  // namespace quorvane::test_support

#define QUORVANE_QTEST_MAIN(TestObject)                  \
  int main(int argc, char* argv[]) {                     \
    quorvane::test_support::TOwnSettingsFolder settings; \
    QApplication app(argc, argv);                        \
    app.setAttribute(Qt::AA_Use96Dpi, true);             \
    TestObject test;                                     \
    QTEST_SET_MAIN_SOURCE_PATH                           \
    return QTest::qExec(&test, argc, argv);              \
  }
