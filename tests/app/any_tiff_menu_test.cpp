// "Open Any TIFF" in the Options menu: off at first, remembered in the
// settings file, and deciding whether a tiled Deflate GeoTIFF opens; and the
// View menu's "&Bands..." on a 4-band 16-bit scene it opens.
#include <tiffio.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <vector>

#include "anytiff/any_tiff_reader.h"
#include "app/bands_dialog.h"
#include "app/dialogs.h"
#include "app/main_window.h"
#include "settings/ini_file.h"
#include "settings/settings_path.h"
#include "support/qt_test_main.h"
#include "support/qt_widgets.h"
#include "support/window_files.h"

using namespace quorvane;
using test_support::TMessageWatcher;

namespace {

// 64 x 48 RGB in 16 x 16 Deflate tiles, which the program's own reader
// refuses ("Unsupported Compression = 8").
void WriteTiledTiff(const QString& file) {
  TIFF* tif = TIFFOpen(file.toLocal8Bit().constData(), "w");
  QVERIFY(tif);
  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, 64);
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, 48);
  TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
  TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 3);
  TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
  TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_ADOBE_DEFLATE);
  TIFFSetField(tif, TIFFTAG_TILEWIDTH, 16);
  TIFFSetField(tif, TIFFTAG_TILELENGTH, 16);
  std::vector<uint8_t> tile(16 * 16 * 3, 200);
  for (ttile_t t = 0; t < TIFFNumberOfTiles(tif); ++t)
    QVERIFY(TIFFWriteEncodedTile(tif, t, tile.data(), tmsize_t(tile.size())) >= 0);
  TIFFClose(tif);
}

// 40 x 30, four 16-bit bands in plain strips, grey photometric.
void WriteScene(const QString& file) {
  TIFF* tif = TIFFOpen(file.toLocal8Bit().constData(), "w");
  QVERIFY(tif);
  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, 40);
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, 30);
  TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 16);
  TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 4);
  TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
  TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, 30);
  std::vector<uint16_t> row(40 * 4);
  for (uint32_t y = 0; y < 30; ++y) {
    for (uint32_t i = 0; i < row.size(); ++i) row[i] = uint16_t(1000 * (i % 4) + (i * 7 + y) % 500);
    QVERIFY(TIFFWriteScanline(tif, row.data(), y, 0) >= 0);
  }
  TIFFClose(tif);
}

}  // namespace

class TestAnyTiffMenu : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() { qputenv("XDG_CONFIG_HOME", config_.path().toLocal8Bit()); }

  void theChoiceDecidesTheOpenAndOutlivesTheWindow() {
    QTemporaryDir dir;
    const QString file = dir.filePath("tiled.tif");
    WriteTiledTiff(file);
    {
      TMainWindow window;
      QAction* item = window.Menu().AnyTiffMnu;
      QCOMPARE(item->objectName(), QString("AnyTiffMnu"));
      QCOMPARE(item->text(), QString("Open &Any TIFF"));
      QVERIFY(item->isCheckable());
      QVERIFY(!item->isChecked());

      TMessageWatcher messages;
      window.OpenImageFile(file);
      QCOMPARE(messages.Seen().size(), 1);
      QVERIFY(messages.Seen()[0].Text.startsWith("Unsupported "));
      QCOMPARE(window.Document().Source.Picture.Width(), 150);

      item->trigger();
      QVERIFY(item->isChecked());
      QCOMPARE(TIniFile::Load(SettingsFilePath()).Read("Options", "AnyTiff").value_or(""),
               std::string("1"));
      window.OpenImageFile(file);
      QCOMPARE(messages.Seen().size(), 1);
      QCOMPARE(window.Document().Source.Picture.Width(), 64);
      QCOMPARE(window.windowTitle(), QString("tiled.tif - Quorvane"));
    }
    TMainWindow restarted;
    QVERIFY(restarted.Menu().AnyTiffMnu->isChecked());
    restarted.Menu().AnyTiffMnu->trigger();
    TMainWindow third;
    QVERIFY(!third.Menu().AnyTiffMnu->isChecked());
  }

  void bandsDialogReRendersTheSource() {
    QTemporaryDir dir;
    const QString file = dir.filePath("scene.tif");
    WriteScene(file);
    TMainWindow window;
    window.UseDialogs(CreateDialogs(&window));
    QAction* bands = window.Menu().BandsMnu;
    QCOMPARE(bands->objectName(), QString("BandsMnu"));
    QCOMPARE(bands->text(), QString("&Bands..."));
    QVERIFY(!bands->isEnabled());
    if (!window.Menu().AnyTiffMnu->isChecked()) window.Menu().AnyTiffMnu->trigger();
    window.OpenImageFile(file);
    QVERIFY(bands->isEnabled());
    QCOMPARE(window.Document().Source.Picture.PixelFormat(), TPixelFormat::Bit24);

    QString min_of_band_1;
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<TBandsDlg*>(QApplication::activeModalWidget());
      QVERIFY(dialog);
      min_of_band_1 = test_support::Child<QTableWidget>(dialog, "BandTable")->item(0, 0)->text();
      test_support::Child<QComboBox>(dialog, "RedCombo")->setCurrentIndex(3);
      test_support::Child<QComboBox>(dialog, "GreenCombo")->setCurrentIndex(2);
      test_support::Child<QComboBox>(dialog, "BlueCombo")->setCurrentIndex(1);
      test_support::Child<QPushButton>(dialog, "OKBtn")->click();
    });
    bands->trigger();
    QCOMPARE(min_of_band_1, QString("0"));

    TRasterBitmap expected;
    TGeoTiffTags tags;
    TAnyTiffOptions options;
    options.MaxPictureBytes = uint64_t(1) << 30;
    options.Display = TAnyTiffDisplay{.Bands = {3, 2, 1}};
    DecodeAnyTiffFile(file.toStdString(), expected, tags, options);
    // The selection box is drawn into the picture; its clean copy is the file's.
    const TRasterBitmap& shown = window.Document().Source.CleanCopy();
    QCOMPARE(shown.PixelFormat(), expected.PixelFormat());
    for (int y = 0; y < 30; ++y)
      QVERIFY(std::equal(shown.Scanline(y), shown.Scanline(y) + 40 * 3, expected.Scanline(y)));
    QVERIFY(bands->isEnabled());
  }

 private:
  QTemporaryDir config_;
};

QUORVANE_QTEST_MAIN(TestAnyTiffMenu)
#include "any_tiff_menu_test.moc"
