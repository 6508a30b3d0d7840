// The open and save dialogs: the type list, the preview of the selected
// file, and the save dialog's start folder and overwrite behaviour.
#include <QDir>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "app/picture_dialogs.h"
#include "app/picture_rows.h"
#include "io/format_registry.h"
#include "support/qt_test_main.h"
#include "support/qt_widgets.h"

using namespace quorvane;

namespace {

TRasterBitmap Picture(int width, int height) {
  TRasterBitmap b;
  b.Reset(TPixelFormat::Bit24, width, height);
  return b;
}

// A loader that counts its calls and fails on names containing "bad".
struct TFakeLoader {
  int* Calls;
  std::unique_ptr<TRasterBitmap> operator()(const std::string& name) const {
    ++*Calls;
    if (name.find("bad") != std::string::npos) throw std::runtime_error("Invalid TIF File");
    return std::make_unique<TRasterBitmap>(Picture(40, 20));
  }
};

QString Touch(const QTemporaryDir& dir, const char* name) {
  const QString path = dir.filePath(name);
  QFile file(path);
  file.open(QIODevice::WriteOnly);
  file.write("x");
  return path;
}

}  // namespace

class TestFileDialogs : public QObject {
  Q_OBJECT
 private slots:
  void typeFilterBecomesQtNameFilters() {
    QCOMPARE(NameFilters("All (*.tif;*.bmp)|*.tif;*.bmp|Bitmaps (*.bmp)|*.bmp|TIFF (*.tif)|*.tif"),
             QStringList({"All (*.tif *.bmp)", "Bitmaps (*.bmp)", "TIFF (*.tif)"}));
    QCOMPARE(NameFilters("Only|*.x"), QStringList({"Only (*.x)"}));
    QCOMPARE(NameFilters(""), QStringList());
    const QStringList registered = NameFilters(BuildTypeFilter());
    QVERIFY(registered.size() > 5);
    QVERIFY(registered.first().startsWith("All ("));
    QVERIFY(registered.first().contains("*.tif"));
  }

  void openDialogPreselectsAll() {
    int calls = 0;
    TOpenPictureDialog dialog(BuildTypeFilter(), TFakeLoader{&calls});
    QCOMPARE(dialog.objectName(), QString("OpenPictureDialog"));
    QVERIFY(dialog.selectedNameFilter().startsWith("All ("));
    QCOMPARE(dialog.fileMode(), QFileDialog::ExistingFile);
  }

  void previewShowsThePictureAndItsSizeOrNone() {
    QTemporaryDir dir;
    int calls = 0;
    TPicturePreview preview{TFakeLoader{&calls}};
    QCOMPARE(preview.SizeText(), QString("(None)"));
    preview.ShowFile(Touch(dir, "good.tif"));
    QCOMPARE(preview.SizeText(), QString("40 x 20"));
    QCOMPARE(preview.Picture().size(), QSize(40, 20));
    preview.ShowFile(Touch(dir, "bad.tif"));
    QCOMPARE(preview.SizeText(), QString("(None)"));
    QVERIFY(preview.Picture().isNull());
    preview.ShowFile(dir.filePath("missing.tif"));
    preview.ShowFile(dir.path());  // a folder
    QCOMPARE(preview.SizeText(), QString("(None)"));
    QCOMPARE(calls, 2);
  }

  void previewLoadsThroughTheRegistry() {
    QTemporaryDir dir;
    const QString file = dir.filePath("picture.bmp");
    SaveBitmapFile(Picture(300, 100), file.toStdString(), {});
    TPicturePreview preview([](const std::string& name) {
      TGeoTiffTags preview_tags;  // a preview never touches the window's tags
      return LoadPicture(name, preview_tags);
    });
    preview.ShowFile(file);
    QCOMPARE(preview.SizeText(), QString("300 x 100"));
    QVERIFY(preview.Picture().width() <= 150);
  }

  void thumbnailsShrinkButNeverGrow() {
    QCOMPARE(PictureThumbnail(Picture(300, 100), QSize(146, 146)).size(), QSize(146, 48));
    QCOMPARE(PictureThumbnail(Picture(10, 400), QSize(146, 146)).size(), QSize(3, 146));
    QCOMPARE(PictureThumbnail(Picture(1, 5000), QSize(146, 146)).size(), QSize(1, 146));
    QCOMPARE(PictureThumbnail(Picture(30, 20), QSize(146, 146)).size(), QSize(30, 20));
    QVERIFY(PictureThumbnail(TRasterBitmap{}, QSize(146, 146)).isNull());
  }

  void saveDialogStartsInTheCurrentFolderAndNeverAsks() {
    QTemporaryDir dir;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path());
    TSavePictureDialog dialog(BuildTypeFilter());
    QCOMPARE(dialog.objectName(), QString("SavePictureDialog1"));
    QVERIFY(dialog.testOption(QFileDialog::DontConfirmOverwrite));
    QVERIFY(dialog.defaultSuffix().isEmpty());
    QCOMPARE(dialog.acceptMode(), QFileDialog::AcceptSave);
    QVERIFY(dialog.selectedNameFilter().startsWith("All ("));
    QString shown;
    QTimer::singleShot(0, &dialog, [&] {
      shown = dialog.directory().absolutePath();
      dialog.reject();
    });
    QCOMPARE(dialog.Run(), QString());
    QCOMPARE(QDir(shown).canonicalPath(), QDir(dir.path()).canonicalPath());
    QDir::setCurrent(previous);
  }
};

QUORVANE_QTEST_MAIN(TestFileDialogs)
#include "file_dialogs_test.moc"
