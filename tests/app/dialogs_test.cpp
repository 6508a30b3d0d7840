// The dialogs without document logic: TIFF options, GeoTIFF information and
// the two progress windows.
#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <stdexcept>

#include "app/geotiff_info_dialog.h"
#include "app/progress_windows.h"
#include "app/tiff_options_dialog.h"
#include "support/qt_test_main.h"
#include "support/qt_widgets.h"

using namespace quorvane;
using test_support::Child;

namespace {

// Runs the dialog modally and, from inside its event loop, does `step`
// and presses `button`.
template <class Step>
int ExecAndPress(QDialog& dialog, const char* button, Step step) {
  QTimer::singleShot(0, &dialog, [&dialog, button, step] {
    step();
    Child<QPushButton>(&dialog, button)->click();
  });
  return dialog.exec();
}

}  // namespace

class TestDialogs : public QObject {
  Q_OBJECT
 private slots:
  void tiffOptionsStartWithGeoTiffOnAndCompressionOff() {
    TTiffOptionsDlg dialog;
    QCOMPARE(dialog.objectName(), QString("TiffOptionsDlg"));
    QCOMPARE(dialog.windowTitle(), QString("Tiff Options"));
    auto* geotiff = Child<QCheckBox>(&dialog, "GeoTiffChk");
    auto* compress = Child<QCheckBox>(&dialog, "CompressChk");
    QCOMPARE(geotiff->text(), QString("Save GeoTiff Information"));
    QCOMPARE(compress->text(), QString("Use Packbits Compression"));
    QCOMPARE(Child<QPushButton>(&dialog, "CancelBtn")->text(), QString("Close"));
    QVERIFY(dialog.SaveGeoTiff());
    QVERIFY(!dialog.UsePackbits());
  }

  void tiffOptionsKeepTheirStatesBetweenOpenings() {
    TTiffOptionsDlg dialog;
    const int result = ExecAndPress(dialog, "CancelBtn", [&] {
      Child<QCheckBox>(&dialog, "CompressChk")->click();
      Child<QCheckBox>(&dialog, "GeoTiffChk")->click();
    });
    QCOMPARE(result, int(QDialog::Rejected));
    QVERIFY(dialog.UsePackbits());
    QVERIFY(!dialog.SaveGeoTiff());
    ExecAndPress(dialog, "CancelBtn", [] {});
    QVERIFY(dialog.UsePackbits());
    QVERIFY(!dialog.SaveGeoTiff());
  }

  void geoTiffInfoShowsTheReportLineByLine() {
    TGeoTiffInfoDlg dialog;
    QCOMPARE(dialog.objectName(), QString("GeoTiffInfoDlg"));
    QCOMPARE(dialog.windowTitle(), QString("GeoTiff Info"));
    dialog.SetReport({"Version: 1", "", "Keys ------------------------"});
    auto* memo = Child<QPlainTextEdit>(&dialog, "GeoTiffMemo");
    QCOMPARE(memo->toPlainText(), QString("Version: 1\n\nKeys ------------------------"));
    dialog.SetReport({"Count: 0"});
    QCOMPARE(memo->toPlainText(), QString("Count: 0"));
    dialog.SetReport({std::string("Citation \xB5|", 11)});  // a byte beyond ASCII from a file
    QCOMPARE(memo->toPlainText(), QString::fromLatin1("Citation \xB5|"));
  }

  void geoTiffInfoButtons() {
    TGeoTiffInfoDlg dialog;
    auto* ok = Child<QPushButton>(&dialog, "OKBtn");
    QCOMPARE(ok->text(), QString("OK"));
    QVERIFY(ok->isDefault());
    QCOMPARE(Child<QPushButton>(&dialog, "CancelBtn")->text(), QString("Cancel"));
    auto* help = Child<QPushButton>(&dialog, "BitBtn1");
    QCOMPARE(help->text(), QString("Help"));
    QSignalSpy helps(&dialog, &TGeoTiffInfoDlg::HelpRequested);
    help->click();
    QCOMPARE(helps.size(), 1);
    QCOMPARE(helps.first().first().toInt(), 3);
    QCOMPARE(ExecAndPress(dialog, "OKBtn", [] {}), int(QDialog::Accepted));
  }

  void percentWindowShowsMovesAndClamps() {
    TProgressDlg dialog;
    QCOMPARE(dialog.objectName(), QString("ProgressDlg"));
    QCOMPARE(dialog.windowTitle(), QString("Resizing Image"));
    QVERIFY(dialog.isHidden());
    QProgressBar* bar = Child<QProgressBar>(&dialog, "ProgressBar1");
    dialog.SetProgress(70);
    dialog.ShowProgress("Printing Image");
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.windowTitle(), QString("Printing Image"));
    // Exposed and painted before the work starts, its caption inside: no
    // window manager frame that could add buttons or cut the caption.
    QVERIFY(dialog.windowHandle()->isExposed());
    QVERIFY(dialog.windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(Child<QLabel>(&dialog, "CaptionDis")->text(), QString("Printing Image"));
    QVERIFY(Child<QLabel>(&dialog, "CaptionDis")->isVisible());
    QCOMPARE(bar->value(), 0);
    dialog.Proc()(40);
    QCOMPARE(bar->value(), 40);
    dialog.SetProgress(130);  // more reports than announced: stays full
    QCOMPARE(bar->value(), 100);
    dialog.SetProgress(-5);
    QCOMPARE(bar->value(), 0);
  }

  void percentWindowIsHiddenWhenTheWorkFails() {
    TProgressDlg dialog;
    try {
      const TProgressScope shown(dialog, "Resizing Image");
      QVERIFY(dialog.isVisible());
      dialog.SetProgress(50);
      throw std::runtime_error("Out of memory");
    } catch (const std::runtime_error&) {
    }
    QVERIFY(dialog.isHidden());
  }

  void stageWindowFollowsTheCodecsReports() {
    QPointer<TBitmapProgress> window;
    {
      TLoadProgress progress;
      window = progress.Window();
      QVERIFY(window->isVisible());
      QCOMPARE(window->objectName(), QString("BitmapProgress"));
      QCOMPARE(window->windowTitle(), QString("Loading Bitmap"));
      QCOMPARE(Child<QLabel>(window.data(), "CaptionDis")->text(), QString("Loading Bitmap"));
      QVERIFY(window->windowHandle()->isExposed());
      QProgressBar* bar = Child<QProgressBar>(window.data(), "ProgressBar");
      const TProgressEvent hook = progress.Hook();
      hook(TProgressStage::Running, 60, false, {}, "Running");
      QCOMPARE(bar->value(), 60);
      hook(TProgressStage::Starting, 0, false, {}, "Starting");
      QCOMPARE(bar->value(), 0);
      hook(TProgressStage::Running, 33, false, {}, "Running");
      hook(TProgressStage::Ending, 99, true, {}, "Ending");
      QCOMPARE(bar->value(), 33);
    }
    QVERIFY(window.isNull());  // released with the save
  }

  void stageWindowDesignCaption() {
    TBitmapProgress window;
    QCOMPARE(window.windowTitle(), QString("Loading Image"));
    QVERIFY(window.isHidden());
  }
};

QUORVANE_QTEST_MAIN(TestDialogs)
#include "dialogs_test.moc"
