// The help window over the bundled pages, the Help menu items and the
// dialogs' help contexts, a missing help folder, and the About box.
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QWindow>

#include "app/about_box.h"
#include "app/help_window.h"
#include "support/qt_message_boxes.h"
#include "support/qt_test_main.h"
#include "support/qt_widgets.h"

using namespace quorvane;
using test_support::Child;

namespace {

const QString kHelpFolder = QUORVANE_HELP_DIR;

QString ReadPage(const QString& name) {
  QFile file(QDir(kHelpFolder).filePath(name));
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

}  // namespace

class TestHelpAbout : public QObject {
  Q_OBJECT
 private slots:
  void everyTopicHasItsPageWithItsTitle() {
    THelpWindow help(kHelpFolder);
    auto* contents = Child<QListWidget>(&help, "ContentsList");
    auto* browser = Child<QTextBrowser>(&help, "HelpBrowser");
    const auto& topics = HelpTopics();
    QCOMPARE(contents->count(), int(topics.size()));
    for (size_t i = 0; i < topics.size(); ++i) {
      QCOMPARE(contents->item(int(i))->text(), QString(topics[i].Title));
      contents->setCurrentRow(int(i));
      QCOMPARE(help.CurrentPage(), QString(topics[i].Page));
      QCOMPARE(browser->documentTitle(), QString(topics[i].Title));
    }
  }

  void linksBetweenPagesReachExistingPages() {
    const QRegularExpression link("href=\"([^\"#:]+)");
    for (const THelpTopic& topic : HelpTopics()) {
      const QString page = ReadPage(topic.Page);
      QVERIFY2(!page.isEmpty(), topic.Page);
      for (auto match = link.globalMatch(page); match.hasNext();) {
        const QString target = match.next().captured(1);
        QVERIFY2(QFile::exists(QDir(kHelpFolder).filePath(target)),
                 qPrintable(QString(topic.Page) + " links to " + target));
      }
    }
  }

  void helpContextsOpenTheirDialogsTopics() {
    THelpWindow help(kHelpFolder);
    QVERIFY(help.ShowHelpContext(1));
    QCOMPARE(help.CurrentPage(), QString("printing.html"));
    QVERIFY(help.isVisible());
    QVERIFY(help.ShowHelpContext(2));
    QCOMPARE(help.CurrentPage(), QString("precise-sizing.html"));
    QVERIFY(help.ShowHelpContext(3));
    QCOMPARE(help.CurrentPage(), QString("geotiff-info.html"));
    QVERIFY(help.ShowHelpContext(99));  // unknown: the default page
    QCOMPARE(help.CurrentPage(), QString("index.html"));
    QVERIFY(help.Request(TranslateHelpCommand(int(THelpCommand::Quit), 0, {})));
    QVERIFY(help.isHidden());
  }

  // Help asked for from a modal dialog stands over it and takes typing
  // while the dialog is open; later, from the window, it is the window's.
  void helpFromAModalDialogCanBeUsedWhileItIsOpen() {
    QWidget owner;
    owner.show();
    THelpWindow help(kHelpFolder, &owner);
    QDialog dialog(&owner);
    QString typed;
    QWindow* over = nullptr;
    QTimer::singleShot(0, &dialog, [&] {
      help.ShowHelpContext(3);
      over = help.windowHandle()->transientParent();
      auto* search = Child<QLineEdit>(&help, "SearchEdit");
      search->setFocus();
      QTest::keyClick(help.windowHandle(), Qt::Key_T);  // through the window system
      typed = search->text();
      dialog.accept();
    });
    dialog.exec();
    QCOMPARE(over, dialog.windowHandle());
    QCOMPARE(typed, QString("t"));
    QVERIFY(help.isVisible());
    help.ShowHelpContext(1);
    QCOMPARE(help.windowHandle()->transientParent(), owner.windowHandle());
  }

  void menuItemsOpenTheDefaultPage() {
    for (const THelpViewerRequest& request :
         {ContentsMnuRequest(), SearchHelpMnuRequest(), HowtoUseMnuRequest()}) {
      THelpWindow help(kHelpFolder);
      QVERIFY(help.Request(request));
      QCOMPARE(help.CurrentPage(), QString("index.html"));
      QVERIFY(help.isVisible());
    }
  }

  void searchKeepsOnlyTopicsHoldingEveryWord() {
    THelpWindow help(kHelpFolder);
    auto* contents = Child<QListWidget>(&help, "ContentsList");
    QTest::keyClicks(Child<QLineEdit>(&help, "SearchEdit"), "multipage pdf");
    QStringList shown;
    for (int i = 0; i < contents->count(); ++i)
      if (!contents->item(i)->isHidden()) shown << contents->item(i)->text();
    QCOMPARE(shown, QStringList{"Printing"});
    Child<QLineEdit>(&help, "SearchEdit")->clear();
    for (int i = 0; i < contents->count(); ++i) QVERIFY(!contents->item(i)->isHidden());
  }

  void missingHelpFolderGivesAClearMessage() {
    QTemporaryDir empty;
    const QString folder = QDir(empty.path()).filePath("help");
    THelpWindow help(folder);
    test_support::TSeenMessage seen;
    test_support::CloseNextMessageBox(seen);
    QVERIFY(!help.Request(ContentsMnuRequest()));
    QVERIFY(seen.Shown);
    QCOMPARE(seen.Icon, QMessageBox::Critical);
    QCOMPARE(seen.Text,
             "Cannot open the help file \"" + QDir(folder).filePath("index.html") + "\"");
    QVERIFY(help.isHidden());
  }

  void aboutBoxShowsTheVersionOfTheProgramFilesDate() {
    TAboutBox box(nullptr, TFileDate{2001, 3, 5});
    QCOMPARE(box.windowTitle(), QString("About Quorvane"));
    QCOMPARE(Child<QLabel>(&box, "ProductName")->text(), QString("Quorvane"));
    QCOMPARE(Child<QLabel>(&box, "Comments")->text(), QString("GeoTiff Viewer/Editor"));
    QCOMPARE(Child<QLabel>(&box, "VersionLabel")->text(), QString("Version 1.01.3.5.7"));
    QCOMPARE(Child<QLabel>(&box, "CopyrightLabel")->text(), QString("Copyright \u00A9 2001"));
    QVERIFY(!Child<QLabel>(&box, "PublisherLabel")->text().isEmpty());
    QVERIFY(!Child<QLabel>(&box, "ProgramIcon")->pixmap().isNull());
    auto* ok = Child<QPushButton>(&box, "OKButton");
    QCOMPARE(ok->text(), QString("OK"));
    QTimer::singleShot(0, ok, &QPushButton::click);
    QCOMPARE(box.exec(), int(QDialog::Accepted));
  }

  void aboutBoxDatesTheRunningProgram() {
    const std::optional<TFileDate> date = ProgramFileDate();
    QVERIFY(date.has_value());
    TAboutBox box;
    QVERIFY(Child<QLabel>(&box, "CopyrightLabel")->text().endsWith(QString::number(date->Year)));
  }
};

QUORVANE_QTEST_MAIN(TestHelpAbout)
#include "help_about_test.moc"
