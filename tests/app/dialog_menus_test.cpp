// The main window's menu items that open the scale dialog, the print
// options, the help and the About box, and the recent files of the
// "&Reopen" submenu kept in the settings file across restarts.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "app/dialogs.h"
#include "app/geotiff_info_dialog.h"
#include "app/help_window.h"
#include "app/main_window.h"
#include "app/print_dialog.h"
#include "app/recent_files_menu.h"
#include "app/scale_dialog.h"
#include "controls/real_spin.h"
#include "io/format_registry.h"
#include "support/qt_test_main.h"
#include "support/qt_widgets.h"

using namespace quorvane;
using test_support::Child;

namespace {

const QString kHelpFolder = QUORVANE_HELP_DIR;

QStringList Captions(const QMenu* menu) {
  QStringList captions;
  for (const QAction* action : menu->actions()) captions << action->text();
  return captions;
}

// A small real picture, so the open succeeds wherever it loads pixels.
QString WritePicture(const QTemporaryDir& folder, const QString& name) {
  TRasterBitmap picture;
  picture.Reset(TPixelFormat::Bit24, 4, 3);
  const QString path = folder.filePath(name);
  SaveBitmapFile(picture, path.toStdString(), {});
  return path;
}

// Does `step` with the modal dialog that the action opens, from inside its
// event loop.
template <class Dialog, class Step>
void TriggerAndUse(QAction* action, Step step) {
  QTimer::singleShot(0, [step] {
    auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
    QVERIFY(dialog);
    step(dialog);
  });
  action->trigger();
}

}  // namespace

class TestDialogMenus : public QObject {
  Q_OBJECT
 private:
  std::unique_ptr<QTemporaryDir> config_;
  std::unique_ptr<TMainWindow> window_;
  TDialogs dialogs_;

  QString SettingsFile() const { return QDir(config_->path()).filePath("quorvane/quorvane.ini"); }

  void NewWindow() {
    window_ = std::make_unique<TMainWindow>();
    dialogs_ = CreateDialogs(window_.get(), kHelpFolder);
    window_->UseDialogs(dialogs_);
  }

 private slots:
  void init() {
    // Every window of this suite keeps its settings in a folder of its own.
    config_ = std::make_unique<QTemporaryDir>();
    qputenv("XDG_CONFIG_HOME", config_->path().toUtf8());
    NewWindow();
  }
  void cleanup() { window_.reset(); }

  void recentFilesAreSavedAtOnceAndReopenAfterARestart() {
    QTemporaryDir pictures;
    const QString first = WritePicture(pictures, "first.bmp");
    const QString second = WritePicture(pictures, "second.bmp");
    QMenu* reopen = window_->Menu().ReopenMnu;
    QVERIFY(Captions(reopen).isEmpty());
    QVERIFY(!QFile::exists(SettingsFile()));

    window_->OpenImageFile(first);
    window_->OpenImageFile(second);
    QCOMPARE(Captions(reopen), (QStringList{"&1 second.bmp", "&2 first.bmp"}));
    QFile ini(SettingsFile());
    QVERIFY(ini.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(ini.readAll());
    QVERIFY2(text.contains("[FileHistory]") && text.contains("Count=2") &&
                 text.contains("Path0=" + second) && text.contains("Path1=" + first),
             qPrintable(text));

    // A restart reads the list back; an entry reopens its file, which moves
    // it to the top.
    NewWindow();
    reopen = window_->Menu().ReopenMnu;
    QCOMPARE(Captions(reopen), (QStringList{"&1 second.bmp", "&2 first.bmp"}));
    reopen->actions().at(1)->trigger();
    QTRY_COMPARE(Captions(window_->Menu().ReopenMnu),
                 (QStringList{"&1 first.bmp", "&2 second.bmp"}));
    QCOMPARE(QString::fromStdString(window_->RecentFiles()->List().Paths().front()), first);
  }

  void scaleMenuStoresIntoTheSourceGeoreference() {
    TriggerAndUse<TScaleDlg>(window_->Menu().SetScaleCoords1, [](TScaleDlg* dialog) {
      Child<TRealSpin>(dialog, "BaseXSpin")->SetValue(350000);
      Child<TRealSpin>(dialog, "ScaleXSpin")->SetValue(12.5);
      Child<QPushButton>(dialog, "OKBtn")->click();
    });
    QCOMPARE(window_->Document().Source.GeoReference().BaseX, 350000.0);
    QCOMPARE(window_->Document().Source.GeoReference().ScaleX, 12.5);
    QCOMPARE(window_->Document().Destination.GeoReference().ScaleX, 1.0);
  }

  void printMenuShowsThePageCountsOfTheSource() {
    QString pages;
    TriggerAndUse<TPrintDlg>(window_->Menu().PrintMnu, [&pages](TPrintDlg* dialog) {
      pages = Child<QLabel>(dialog, "PagesDis")->text();
      Child<QPushButton>(dialog, "CancelBtn")->click();
    });
    QCOMPARE(pages, QString("X: 1 Y: 1 Total: 1"));
  }

  void helpItemsAndHelpButtonsOpenTheirTopics() {
    THelpWindow* help = dialogs_.HelpWindow;
    for (QAction* item : {window_->Menu().ContentsMnu, window_->Menu().SearchHelpMnu,
                          window_->Menu().HowtoUseMnu}) {
      help->hide();
      item->trigger();
      QVERIFY(help->isVisible());
      QCOMPARE(help->CurrentPage(), QString("index.html"));
    }
    window_->ShowHelpContext(2);  // the precise sizing dialog's Help button
    QCOMPARE(help->CurrentPage(), QString("precise-sizing.html"));
    Child<QPushButton>(dialogs_.GeoTiffInfoDlg, "BitBtn1")->click();
    QCOMPARE(help->CurrentPage(), QString("geotiff-info.html"));
    Child<QPushButton>(dialogs_.PrintDlg, "BitBtn1")->click();
    QCOMPARE(help->CurrentPage(), QString("printing.html"));
  }

  void aboutMenuShowsTheAboutBox() {
    QString caption;
    TriggerAndUse<QDialog>(window_->Menu().AboutMnu, [&caption](QDialog* box) {
      caption = box->windowTitle();
      Child<QPushButton>(box, "OKButton")->click();
    });
    QCOMPARE(caption, QString("About Quorvane"));
  }
};

QUORVANE_QTEST_MAIN(TestDialogMenus)
#include "dialog_menus_test.moc"
