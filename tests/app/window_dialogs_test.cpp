// The dialogs over the window's own document: a GeoTIFF opened through the
// window lands in the "&Reopen" list and the settings file and reopens in a
// window started afterwards; a measured line sets the scale through
// "Scale/Coordinates", and the readouts take the new scale at once.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <memory>

#include "app/dialogs.h"
#include "app/image_view.h"
#include "app/main_window.h"
#include "app/scale_dialog.h"
#include "controls/real_spin.h"
#include "support/qt_test_main.h"
#include "support/qt_widgets.h"
#include "support/window_files.h"

using namespace quorvane;
using test_support::Child;

namespace {

QStringList Captions(const QMenu* menu) {
  QStringList captions;
  for (const QAction* action : menu->actions()) captions << action->text();
  return captions;
}

QString Field(const QWidget* root, const char* name) {
  return Child<QLineEdit>(root, name)->text();
}

// The Measure page's radio item by its text; the scale dialog has an
// "ImageRadio" too, so the page is searched, not the window.
void ChooseOnMeasurePage(QWidget* window, const char* group, const QString& item) {
  QWidget* page = Child<QWidget>(window, "MeasurePage");
  for (QRadioButton* radio : Child<QGroupBox>(page, group)->findChildren<QRadioButton*>())
    if (radio->text() == item) return radio->click();
  QFAIL(qPrintable("no item " + item));
}

}  // namespace

class TestWindowDialogs : public QObject {
  Q_OBJECT
 private:
  std::unique_ptr<QTemporaryDir> config_;
  std::unique_ptr<QTemporaryDir> files_;
  std::unique_ptr<TMainWindow> window_;

  QString SettingsText() const {
    QFile ini(QDir(config_->path()).filePath("quorvane/quorvane.ini"));
    if (!ini.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(ini.readAll());
  }
  QString WriteMap(const QString& name) {
    const QString path = files_->filePath(name);
    test_support::WriteGeoPicture(path.toStdString(), test_support::GreyPicture(120, 90));
    return path;
  }
  // A window as the program starts it, reading the settings file as it is.
  void StartWindow() {
    window_.reset();
    window_ = std::make_unique<TMainWindow>();
    window_->UseDialogs(CreateDialogs(window_.get()));
    window_->resize(900, 700);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
  }
  TPane& Source() { return window_->Document().Source; }
  TImageEx* Input() { return Child<TImageEx>(window_.get(), "InputImage"); }
  void Click(QPoint at) {
    test_support::MoveOver(Input(), at);
    test_support::PressOn(Input(), at);
    test_support::ReleaseOn(Input(), at);
  }

 private slots:
  void init() {
    config_ = std::make_unique<QTemporaryDir>();
    files_ = std::make_unique<QTemporaryDir>();
    qputenv("XDG_CONFIG_HOME", config_->path().toUtf8());
    StartWindow();
  }
  void cleanup() {
    window_.reset();
    // The open made the files' folder current; it is about to go.
    QDir::setCurrent(QDir::tempPath());
  }

  void openedGeoTiffIsListedAndReopensAfterARestart() {
    const QString map = WriteMap("map.tif");
    window_->OpenImageFile(map);
    QCOMPARE(Source().Picture.Width(), 120);
    QCOMPARE(Captions(window_->Menu().ReopenMnu), QStringList{"&1 map.tif"});
    const QString ini = SettingsText();
    QVERIFY2(
        ini.contains("[FileHistory]") && ini.contains("Count=1") && ini.contains("Path0=" + map),
        qPrintable(ini));

    StartWindow();
    QVERIFY(Source().Picture.Width() != 120);
    QMenu* reopen = window_->Menu().ReopenMnu;
    QCOMPARE(Captions(reopen), QStringList{"&1 map.tif"});
    reopen->actions().at(0)->trigger();
    QTRY_COMPARE(Source().Picture.Width(), 120);
    QCOMPARE(Source().Picture.Height(), 90);
    QCOMPARE(Source().GeoReference().ScaleX, 30.0);
    QCOMPARE(Source().GeoReference().Zone, 18);
    QVERIFY2(window_->windowTitle().contains("map.tif"), qPrintable(window_->windowTitle()));
    QCOMPARE(Captions(reopen), QStringList{"&1 map.tif"});
  }

  void aFileThatFailsToLoadStaysListedAndThePictureStays() {
    const QString map = WriteMap("map.tif");
    const QString broken = files_->filePath("broken.tif");
    QFile file(broken);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("II*\0 not a picture", 18);
    file.close();
    window_->OpenImageFile(map);
    test_support::TMessageWatcher messages;
    window_->OpenImageFile(broken);
    QTRY_COMPARE(messages.Seen().size(), 1);
    QCOMPARE(messages.Seen().front().Icon, QMessageBox::Critical);
    QCOMPARE(Captions(window_->Menu().ReopenMnu), (QStringList{"&1 broken.tif", "&2 map.tif"}));
    QVERIFY(SettingsText().contains("Path0=" + broken));
    QCOMPARE(Source().Picture.Width(), 120);
  }

  void aMeasuredLineSetsTheScaleAndTheReadoutsFollowAtOnce() {
    window_->OpenImageFile(WriteMap("map.tif"));
    Child<QTabWidget>(window_.get(), "PageControl")->setCurrentIndex(int(TPage::Measure));
    ChooseOnMeasurePage(window_.get(), "LengthRadio", "Meters");
    // 80 + 60 + 60 pixels
    for (QPoint at : {QPoint(10, 10), QPoint(90, 10), QPoint(90, 70), QPoint(30, 70)}) Click(at);
    QCOMPARE(Field(window_.get(), "LengthDis"), QString("6000.0M"));
    test_support::MoveOver(Input(), {40, 10});
    QCOMPARE(Field(window_.get(), "EastDis"), QString("501,200.0"));

    QString pixels, calculated;
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<TScaleDlg*>(QApplication::activeModalWidget());
      QVERIFY(dialog);
      pixels = Field(dialog, "PixelsDis");
      Child<TRealSpin>(dialog, "LineSpin")->SetValue(1000);
      calculated = Field(dialog, "LineScaleDis");
      Child<QPushButton>(dialog, "UseBothBtn")->click();
      Child<QPushButton>(dialog, "OKBtn")->click();
    });
    window_->Menu().SetScaleCoords1->trigger();
    QCOMPARE(pixels, QString("200"));
    QCOMPARE(calculated, QString("5.000"));
    QCOMPARE(Source().GeoReference().ScaleX, 5.0);
    QCOMPARE(Source().GeoReference().ScaleY, 5.0);
    QCOMPARE(window_->Document().Destination.GeoReference().ScaleX, 1.0);

    // No mouse event since: the readouts were refreshed by OK.
    QCOMPARE(Field(window_.get(), "LengthDis"), QString("1000.0M"));
    QCOMPARE(Field(window_.get(), "EastDis"), QString("500,200.0"));
    QCOMPARE(Field(window_.get(), "NorthDis"), QString("4,649,726.0"));
    window_->Menu().CopyCoordinatesMnu->trigger();
    const QString line = QGuiApplication::clipboard()->text();
    QVERIFY2(line.startsWith("Pixel 40,10; East 500,200.0; North 4,649,726.0;"), qPrintable(line));
  }
};

QUORVANE_QTEST_MAIN(TestWindowDialogs)
#include "window_dialogs_test.moc"
