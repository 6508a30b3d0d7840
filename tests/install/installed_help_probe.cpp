// Run from the bin/ folder of an installed tree (the install test copies it
// there): the window's Help > Contents shows the installed help pages.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTest>

#include "app/dialogs.h"
#include "app/help_window.h"
#include "app/main_menu.h"
#include "app/main_window.h"

using namespace quorvane;

class TestInstalledHelp : public QObject {
  Q_OBJECT
 private slots:
  void contentsShowsTheInstalledPages() {
    const QString installed =
        QDir::cleanPath(QCoreApplication::applicationDirPath() + "/../share/quorvane/help");
    // Checked first: a missing page would open a message box and wait.
    QVERIFY2(QFileInfo(installed + "/index.html").isReadable(), qPrintable(installed));
    TMainWindow window;
    const TDialogs dialogs = CreateDialogs(&window);
    window.UseDialogs(dialogs);
    QCOMPARE(dialogs.HelpWindow->Folder(), installed);
    window.Menu().ContentsMnu->trigger();
    QVERIFY(dialogs.HelpWindow->isVisible());
    QCOMPARE(dialogs.HelpWindow->CurrentPage(), QString("index.html"));
  }
};

QTEST_MAIN(TestInstalledHelp)
#include "installed_help_probe.moc"
