// The File and Edit commands through the window: open (menu, drop, command
// line) with its caption, size readout, report and failure handling; saves
// with each pane's own georeference and the TIFF options as they stand;
// paste and copies through the system clipboard; the message texts.
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "app/clipboard_pictures.h"
#include "app/dialogs.h"
#include "app/geotiff_info_dialog.h"
#include "app/image_view.h"
#include "app/main_window.h"
#include "app/progress_windows.h"
#include "app/tiff_options_dialog.h"
#include "imaging/canvas.h"
#include "raster/pixel_convert.h"
#include "support/geo_grid.h"
#include "support/outside_tools.h"
#include "support/qt_test_main.h"
#include "support/qt_widgets.h"
#include "support/window_files.h"

using namespace quorvane;
using test_support::Child;
using test_support::TMessageWatcher;

namespace {

TColor ColorAt(const TRasterBitmap& picture, int x, int y) {
  uint8_t bgr[3];
  ReadRowAs24(picture, y, x, 1, bgr);
  return {bgr[2], bgr[1], bgr[0]};
}

}  // namespace

class TestFileCommands : public QObject {
  Q_OBJECT
 private:
  std::unique_ptr<QTemporaryDir> dir_;  // a fresh folder for each test
  TMainWindow* window_ = nullptr;
  QString save_name_;  // what the save "dialog" answers; empty is a cancel
  int save_asked_ = 0;

  QString MakeMap(const QString& name, int width = 120, int height = 90) {
    const QString file = dir_->filePath(name);
    test_support::WriteGeoPicture(file.toStdString(), test_support::GreyPicture(width, height));
    return file;
  }
  QString Text(const char* label) { return Child<QLabel>(window_, label)->text(); }
  void MakeDestination() {
    window_->Document().ToneBase = test_support::GreyPicture(60, 40, 200);
    Child<QPushButton>(window_, "ResetBCGBtn")->click();
  }

 private slots:
  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    window_ = new TMainWindow;
    window_->UseDialogs(CreateDialogs(window_));
    save_asked_ = 0;
    save_name_.clear();
    window_->UseFileChoosers({[](QWidget*) { return QString(); },
                              [this](QWidget*) {
                                ++save_asked_;
                                return save_name_;
                              }});
  }
  void cleanup() {
    delete window_;
    QDir::setCurrent(QDir::tempPath());
  }

  void openShowsTheFileItsSizeCaptionReportAndGeoreference() {
    QDir::setCurrent(QDir::tempPath());
    const QString file = MakeMap("map.tif");
    window_->OpenImageFile(file);
    QCOMPARE(window_->windowTitle(), QString("map.tif - Quorvane"));
    QCOMPARE(Text("DimenDis"), QString("Source Image - Size: 120 X 90 Pixels: 24-bit"));
    QCOMPARE(Child<TImageEx>(window_, "InputImage")->size(), QSize(120, 90));
    // the folder is current
    QCOMPARE(QDir::currentPath(), QDir(dir_->path()).canonicalPath());
    QCOMPARE(test_support::GridPart(window_->Document().Source.GeoReference()),
             test_support::kTestGeoReference);
    const QString report = Child<TGeoTiffInfoDlg>(window_, "GeoTiffInfoDlg")->Report();
    QVERIFY2(report.contains("Projected Coord. Sys: 32618"), qPrintable(report));
  }

  void aFailedOpenShowsOneErrorAndKeepsThePicture() {
    window_->OpenImageFile(MakeMap("map.tif"));
    const QString broken = dir_->filePath("sub/broken.tif");
    QDir().mkpath(dir_->filePath("sub"));
    QFile file(broken);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("not a picture at all");
    file.close();
    TMessageWatcher messages;
    window_->OpenImageFile(broken);
    QCOMPARE(messages.Seen().size(), 1);
    QCOMPARE(messages.Seen()[0].Icon, QMessageBox::Critical);
    QVERIFY(!messages.Seen()[0].Text.isEmpty());
    QCOMPARE(window_->windowTitle(), QString("map.tif - Quorvane"));
    QCOMPARE(Text("DimenDis"), QString("Source Image - Size: 120 X 90 Pixels: 24-bit"));
    // What the open had done before the load stays done.
    QCOMPARE(QDir::currentPath(), QDir(dir_->filePath("sub")).canonicalPath());
    // Origin and scale reset; zone and hemisphere as they were.
    QCOMPARE(window_->Document().Source.GeoReference(), (TGeoReference{0, 0, 1, 1, 18, true}));
    QVERIFY(window_->Document().GeoTiffTags.NumberOfKeys == 0);
    // The window goes on: the next open works.
    window_->OpenImageFile(MakeMap("other.tif", 30, 20));
    QCOMPARE(Text("DimenDis"), QString("Source Image - Size: 30 X 20 Pixels: 24-bit"));
  }

  void theCommandLineFileOpensOnceAtTheFirstActivation() {
    const QString broken = dir_->filePath("broken.tif");
    QFile file(broken);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("not a picture at all");
    file.close();
    TMessageWatcher messages;
    window_->SetCommandLineFile(broken);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_));
    window_->FormActivate();
    window_->FormActivate();
    QTRY_COMPARE(messages.Seen().size(), 1);
    test_support::DrainEvents();
    // reported once
    QCOMPARE(messages.Seen().size(), 1);
    QCOMPARE(window_->windowTitle(), QString("Quorvane"));
  }

  void aMissingCommandLineFileOpensNothingSilently() {
    TMessageWatcher messages;
    window_->SetCommandLineFile(dir_->filePath("no such file.tif"));
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_));
    window_->FormActivate();
    test_support::DrainEvents();
    QVERIFY(messages.Seen().isEmpty());
    QCOMPARE(Text("DimenDis"), QString("Source Image - Size: 150 X 76 Pixels: 8-bit"));
  }

  void aDroppedFileOpensAsTheOpenCommandDoes() {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(MakeMap("dropped.tif", 40, 30))});
    // A drop reaches the widget that accepted the drag's entry.
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(window_, &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
    QCoreApplication::sendEvent(window_, &drop);
    QCOMPARE(window_->windowTitle(), QString("dropped.tif - Quorvane"));
    QCOMPARE(Text("DimenDis"), QString("Source Image - Size: 40 X 30 Pixels: 24-bit"));
  }

  void eachPaneIsSavedWithItsOwnGeoreference() {
    window_->OpenImageFile(MakeMap("map.tif"));
    MakeDestination();
    const TGeoReference destination{1000, 2000, 2, 2, 33, false};
    window_->Document().Destination.GeoReference() = destination;
    save_name_ = dir_->filePath("source.tif");
    window_->Menu().SaveSourceAsMnu->trigger();
    save_name_ = dir_->filePath("destination.tif");
    window_->Menu().SaveDestinationAs1->trigger();
    const test_support::TReadBack source =
        test_support::ReadGeoPicture(dir_->filePath("source.tif").toStdString());
    QCOMPARE(source.GeoReference, test_support::kTestGeoReference);
    QCOMPARE(source.Picture.Width(), 120);
    const test_support::TReadBack saved =
        test_support::ReadGeoPicture(dir_->filePath("destination.tif").toStdString());
    QCOMPARE(saved.GeoReference, destination);
    QCOMPARE(saved.Picture.Width(), 60);
    QCOMPARE(ColorAt(saved.Picture, 5, 5), (TColor{200, 200, 200}));
    // Another reader agrees, where one is installed.
    QUORVANE_QT_TOOL_OR_SKIP("gdalinfo");
    const QString gdalinfo = QStandardPaths::findExecutable("gdalinfo");
    QProcess info;
    info.start(gdalinfo, {dir_->filePath("source.tif")});
    QVERIFY(info.waitForFinished(30000));
    const QString text = QString::fromLocal8Bit(info.readAllStandardOutput());
    QVERIFY2(text.contains("UTM zone 18N"), qPrintable(text));
    QVERIFY2(text.contains("Origin = (500000.000000000000000,4649776.000000000000000)"),
             qPrintable(text));
    QVERIFY2(text.contains("Pixel Size = (30.000000000000000,-30.000000000000000)"),
             qPrintable(text));
  }

  void theTiffOptionsAreReadAtTheMomentOfSaving() {
    window_->OpenImageFile(MakeMap("map.tif"));
    auto* dialog = Child<TTiffOptionsDlg>(window_, "TiffOptionsDlg");
    save_name_ = dir_->filePath("plain.tif");
    window_->Menu().SaveSourceAsMnu->trigger();
    Child<QCheckBox>(dialog, "GeoTiffChk")->setChecked(false);
    Child<QCheckBox>(dialog, "CompressChk")->setChecked(true);
    save_name_ = dir_->filePath("packed.tif");
    window_->Menu().SaveSourceAsMnu->trigger();
    const test_support::TReadBack plain =
        test_support::ReadGeoPicture(dir_->filePath("plain.tif").toStdString());
    const test_support::TReadBack packed =
        test_support::ReadGeoPicture(dir_->filePath("packed.tif").toStdString());
    QVERIFY(plain.Tags.NumberOfKeys != 0);
    QVERIFY(packed.Tags.NumberOfKeys == 0);
    QVERIFY(QFileInfo(dir_->filePath("packed.tif")).size() <
            QFileInfo(dir_->filePath("plain.tif")).size() / 4);
  }

  void aSaveOnTheMeasurePageWritesThePolyline() {
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_));
    window_->OpenImageFile(MakeMap("map.tif"));
    Child<QTabWidget>(window_, "PageControl")->setCurrentIndex(int(TPage::Measure));
    auto* input = Child<TImageEx>(window_, "InputImage");
    for (const QPoint at : {QPoint(20, 20), QPoint(70, 20)}) {
      test_support::MoveOver(input, at);
      test_support::PressOn(input, at);
      test_support::ReleaseOn(input, at);
    }
    save_name_ = dir_->filePath("measured.bmp");
    window_->Menu().SaveSourceAsMnu->trigger();
    const test_support::TReadBack saved =
        test_support::ReadGeoPicture(dir_->filePath("measured.bmp").toStdString());
    QCOMPARE(ColorAt(saved.Picture, 17, 22), kColorRed);
    QCOMPARE(ColorAt(saved.Picture, 45, 20), kColorBlack);
    QCOMPARE(ColorAt(saved.Picture, 45, 19), kColorRed);
  }

  void savingAnEmptyDestinationWarnsBeforeAskingForAName() {
    TMessageWatcher messages;
    save_name_ = dir_->filePath("never.tif");
    window_->Menu().SaveDestinationAs1->trigger();
    QCOMPARE(messages.Texts(), QStringList({"Destination Is Empty"}));
    QCOMPARE(messages.Seen()[0].Icon, QMessageBox::Warning);
    QCOMPARE(messages.Seen()[0].Buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(save_asked_, 0);
    QVERIFY(!QFile::exists(save_name_));
  }

  void aCancelledSaveWritesNothing() {
    TMessageWatcher messages;
    window_->Menu().SaveSourceAsMnu->trigger();
    QCOMPARE(save_asked_, 1);
    QVERIFY(messages.Seen().isEmpty());
    QVERIFY(QDir(dir_->path()).entryList(QDir::Files).isEmpty());
  }

  void aFailedSaveShowsItsErrorWithNoProgressWindowLeft() {
    TMessageWatcher messages;
    save_name_ = dir_->filePath("no folder/map.tif");
    window_->Menu().SaveSourceAsMnu->trigger();
    QCOMPARE(messages.Seen().size(), 1);
    QCOMPARE(messages.Seen()[0].Icon, QMessageBox::Critical);
    QVERIFY2(messages.Seen()[0].OtherWindows.isEmpty(),
             qPrintable(messages.Seen()[0].OtherWindows.join(", ")));
    QVERIFY(window_->findChildren<TBitmapProgress*>().isEmpty());
  }

  void pasteTakesAPictureAndRefusesText() {
    window_->OpenImageFile(MakeMap("map.tif"));
    TMessageWatcher messages;
    QGuiApplication::clipboard()->setText("just words");
    window_->Menu().PasteMnu->trigger();
    QCOMPARE(messages.Texts(), QStringList({"Unsupported clipboard format"}));
    QCOMPARE(Text("DimenDis"), QString("Source Image - Size: 120 X 90 Pixels: 24-bit"));

    PutPictureOnClipboard(test_support::GreyPicture(33, 22, 90));
    window_->Menu().PasteMnu->trigger();
    QCOMPARE(Text("DimenDis"), QString("Source Image - Size: 33 X 22 Pixels: 24-bit"));
    QCOMPARE(ColorAt(window_->Document().Source.Picture, 5, 5), (TColor{90, 90, 90}));
    // Neither the caption nor the georeference follow a paste.
    QCOMPARE(window_->windowTitle(), QString("map.tif - Quorvane"));
    QCOMPARE(test_support::GridPart(window_->Document().Source.GeoReference()),
             test_support::kTestGeoReference);
    QCOMPARE(messages.Seen().size(), 1);
  }

  void copiesPutEitherPaneOnTheClipboard() {
    window_->OpenImageFile(MakeMap("map.tif"));
    window_->Menu().CopyInputMnu->trigger();
    QCOMPARE(QGuiApplication::clipboard()->image().size(), QSize(120, 90));
    // An empty destination: a warning, and the clipboard keeps its picture.
    TMessageWatcher messages;
    window_->Menu().CopyOutputMnu->trigger();
    QCOMPARE(messages.Texts(), QStringList({"Destination Is Empty"}));
    QCOMPARE(QGuiApplication::clipboard()->image().size(), QSize(120, 90));
    MakeDestination();
    window_->Menu().CopyOutputMnu->trigger();
    const QImage copied = QGuiApplication::clipboard()->image();
    QCOMPARE(copied.size(), QSize(60, 40));
    QCOMPARE(copied.pixel(3, 3), qRgb(200, 200, 200));
  }

  void copyCoordinatesBeforeAnyReadoutLeavesTheClipboard() {
    QGuiApplication::clipboard()->setText("kept");
    window_->Menu().CopyCoordinatesMnu->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), QString("kept"));
  }

  void exitClosesTheWindow() {
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_));
    window_->Menu().ExitMnu->trigger();
    QVERIFY(!window_->isVisible());
  }
};

QUORVANE_QTEST_MAIN(TestFileCommands)
#include "file_commands_test.moc"
