// "Open Any TIFF" in the Options menu: off at first, remembered in the
// settings file, and deciding whether a tiled Deflate GeoTIFF opens.
#include <tiffio.h>

#include <QAction>
#include <QTemporaryDir>
#include <QTest>
#include <vector>

#include "app/main_window.h"
#include "document/ini_file.h"
#include "document/settings_path.h"
#include "support/qt_test_main.h"
#include "support/window_files.h"

using namespace quorvane;
using testing::TMessageWatcher;

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

 private:
  QTemporaryDir config_;
};

QUORVANE_QTEST_MAIN(TestAnyTiffMenu)
#include "any_tiff_menu_test.moc"
