// Copied by the install check into an installed bin/ folder: there the
// window's Help > Contents shows the installed pages.
#include <QCoreApplication>
#include <QFileInfo>
#include <QTest>

#include "app/dialogs.h"
#include "app/help_window.h"
#include "app/main_window.h"

class TestInstalledHelp : public QObject {
  Q_OBJECT
 private slots:
  void contentsShowsTheInstalledPages() {
    const QString pages = QCoreApplication::applicationDirPath() + "/../share/quorvane/help";
    // Checked first: a missing page would open a message box and wait.
    QVERIFY2(QFileInfo::exists(pages + "/index.html"), qPrintable(pages));
    quorvane::TMainWindow window;
    window.UseDialogs(quorvane::CreateDialogs(&window));
    window.Menu().ContentsMnu->trigger();
    const auto* help = window.findChild<quorvane::THelpWindow*>();
    QVERIFY(help);
    QCOMPARE(help->Folder(), QFileInfo(pages).canonicalFilePath());
    QCOMPARE(help->CurrentPage(), QString("index.html"));
  }
};

QTEST_MAIN(TestInstalledHelp)
#include "installed_help_probe.moc"
