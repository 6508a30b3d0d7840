// "Print Options" driven as a user would, printing into PDF files that are
// rendered back with pdftoppm (where installed) to see where the picture
// landed on the page.
#include <QApplication>
#include <QButtonGroup>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/print_dialog.h"
#include "app/print_surface.h"
#include "app/progress_windows.h"
#include "support/outside_tools.h"
#include "support/qt_message_boxes.h"
#include "support/qt_test_main.h"
#include "support/qt_widgets.h"
#include "support/window_files.h"

using namespace quorvane;
using test_support::Child;

namespace {

constexpr int kDpi = 100;  // one printer pixel is one pixel of the rendering

// A picture of one colour, 24-bit.
TRasterBitmap Solid(int width, int height, uint8_t red, uint8_t green, uint8_t blue) {
  TRasterBitmap picture;
  picture.Reset(TPixelFormat::Bit24, width, height);
  for (int y = 0; y < height; ++y) {
    uint8_t* p = picture.Scanline(y);
    for (int x = 0; x < width; ++x, p += 3) p[0] = blue, p[1] = green, p[2] = red;
  }
  return picture;
}

// "Print to File (PDF)" on A4 without margins, so the printable area starts
// at the paper's corner.
void PrintToPdf(QPrinter& printer, const QString& file) {
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(file);
  printer.setResolution(kDpi);
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setPageOrientation(QPageLayout::Portrait);
  printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

// The pages of a PDF file rendered at kDpi; empty when pdftoppm fails.
QList<QImage> RenderPdf(const QString& pdf, const QString& folder) {
  const QString prefix = QDir(folder).filePath("page");
  QProcess::execute("pdftoppm", {"-r", QString::number(kDpi), "-png", pdf, prefix});
  QList<QImage> pages;
  QStringList names = QDir(folder).entryList({"page-*.png"}, QDir::Files, QDir::Name);
  for (const QString& name : names) pages << QImage(QDir(folder).filePath(name));
  return pages;
}

bool IsRed(QRgb c) {
  return qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60;
}
bool IsWhite(QRgb c) {
  return qRed(c) > 240 && qGreen(c) < 256 && qGreen(c) > 240 && qBlue(c) > 240;
}
bool IsDark(QRgb c) {
  return qRed(c) < 80 && qGreen(c) < 80 && qBlue(c) < 80;
}
// The frame is 2 printer pixels wide around its line: dark within one
// pixel of `x`.
bool FrameAt(const QImage& page, int x, int y) {
  return IsDark(page.pixel(x - 1, y)) || IsDark(page.pixel(x, y)) || IsDark(page.pixel(x + 1, y));
}

// The first and last columns and rows holding red.
QRect RedExtent(const QImage& page) {
  QRect extent;
  for (int y = 0; y < page.height(); ++y)
    for (int x = 0; x < page.width(); ++x)
      if (IsRed(page.pixel(x, y))) extent = extent.united(QRect(x, y, 1, 1));
  return extent;
}

// The renderer also paints the pixel on which a picture's right or bottom
// edge falls, so a printed extent may be one pixel larger than the picture.
bool AboutSize(const QRect& extent, int width, int height) {
  const bool ok = (extent.width() == width || extent.width() == width + 1) &&
                  (extent.height() == height || extent.height() == height + 1);
  if (!ok) qWarning() << "printed extent" << extent << "for" << width << "x" << height;
  return ok;
}

// Runs Execute with the two pictures and, from inside the dialog, does
// `step` and closes it.
void ExecuteAndClose(TPrintDlg& dialog, const TRasterBitmap& source,
                     const TRasterBitmap& destination, const std::function<void()>& step) {
  QTimer::singleShot(0, &dialog, [&dialog, step] {
    step();
    Child<QPushButton>(&dialog, "CancelBtn")->click();
  });
  dialog.Execute(source, destination);
}

void Choose(TPrintDlg& dialog, const char* group, const char* item) {
  for (QRadioButton* radio : Child<QWidget>(&dialog, group)->findChildren<QRadioButton*>())
    if (radio->text() == item) return radio->click();
  throw std::runtime_error(std::string("no choice ") + item);
}

QString PagesText(TPrintDlg& dialog) {
  return Child<QLabel>(&dialog, "PagesDis")->text();
}

}  // namespace

class TestPrintDialog : public QObject {
  Q_OBJECT
 private slots:
  void initTestCase() {
    if (QStandardPaths::findExecutable("pdftoppm").isEmpty())
      qWarning("pdftoppm is not installed: the PDF renderings are skipped");
  }

  void controlsAndCaptions() {
    TPrintDlg dialog;
    QCOMPARE(dialog.windowTitle(), QString("Print Options"));
    QCOMPARE(Child<QPushButton>(&dialog, "PrintBtn")->text(), QString("Print"));
    QVERIFY(Child<QPushButton>(&dialog, "PrintBtn")->isDefault());
    QCOMPARE(Child<QPushButton>(&dialog, "SetupBtn")->text(), QString("Print Setup"));
    QCOMPARE(Child<QPushButton>(&dialog, "CancelBtn")->text(), QString("Close"));
    QCOMPARE(dialog.Pane(), TPrintPane::Source);
    QCOMPARE(dialog.Method(), TPrintMethod::ShrinkToPage);
  }

  void pageCountsFollowThePaneAndThePrinter() {
    TPrintDlg dialog({.PageSetup = [](QPrinter& printer) {
      printer.setPageOrientation(QPageLayout::Landscape);
    }});
    QTemporaryDir folder;
    PrintToPdf(dialog.Printer(), folder.filePath("counts.pdf"));
    const int area_width = PrinterPage(dialog.Printer()).Width - 25;
    const TRasterBitmap exact = Solid(area_width, 40, 0, 0, 0);
    const TRasterBitmap wider = Solid(area_width + 1, 40, 0, 0, 0);
    QStringList seen;
    ExecuteAndClose(dialog, exact, wider, [&] {
      seen << PagesText(dialog);
      Choose(dialog, "SelectRadio", "Destination Page");
      seen << PagesText(dialog);
      Child<QPushButton>(&dialog, "SetupBtn")->click();  // landscape: the page is wider
      seen << PagesText(dialog);
    });
    QCOMPARE(seen, (QStringList{"X: 1 Y: 1 Total: 1", "X: 2 Y: 1 Total: 2", "X: 1 Y: 1 Total: 1"}));
  }

  void shrinkToPagePrintsASmallPictureAtItsSizeFivePixelsIn() {
    QUORVANE_QT_TOOL_OR_SKIP("pdftoppm");
    QTemporaryDir folder;
    TProgressDlg progress;
    int confirmations = 0;
    TPrintDlg dialog({.Progress = &progress, .ConfirmPrint = [&](QPrinter&) {
                        ++confirmations;
                        return true;
                      }});
    const QString pdf = folder.filePath("shrink.pdf");
    PrintToPdf(dialog.Printer(), pdf);
    const TRasterBitmap picture = Solid(40, 250, 255, 0, 0);
    QSignalSpy bar(Child<QProgressBar>(&progress, "ProgressBar1"), &QProgressBar::valueChanged);
    ExecuteAndClose(dialog, picture, {}, [&] { Child<QPushButton>(&dialog, "PrintBtn")->click(); });
    QCOMPARE(confirmations, 1);
    QCOMPARE(progress.windowTitle(), QString("Printing Image"));
    QVERIFY(progress.isHidden());
    QList<int> values;
    for (const QList<QVariant>& change : bar) values << change.first().toInt();
    QVERIFY2(values.contains(40) && values.contains(80),
             qPrintable(QString::number(values.size())));

    const QList<QImage> pages = RenderPdf(pdf, folder.path());
    QCOMPARE(pages.size(), 1);
    const QRect red = RedExtent(pages[0]);
    QCOMPARE(red.topLeft(), QPoint(5, 5));
    QVERIFY(IsWhite(pages[0].pixel(4, 5)));
    QVERIFY(IsWhite(pages[0].pixel(5, 4)));
    QVERIFY(AboutSize(red, 40, 250));
    // Lossless: the picture's own colour, not a compressed approximation.
    QCOMPARE(pages[0].pixel(20, 100), qRgb(255, 0, 0));
  }

  void fitToPageEnlargesToTheAreaWidth() {
    QUORVANE_QT_TOOL_OR_SKIP("pdftoppm");
    QTemporaryDir folder;
    TPrintDlg dialog({.ConfirmPrint = [](QPrinter&) { return true; }});
    const QString pdf = folder.filePath("fit.pdf");
    PrintToPdf(dialog.Printer(), pdf);
    const TPrintArea area = PrintableArea(PrinterPage(dialog.Printer()));
    const TRasterBitmap picture = Solid(40, 30, 255, 0, 0);
    ExecuteAndClose(dialog, picture, {}, [&] {
      Choose(dialog, "MethodRadio", "Fit To Page");
      Child<QPushButton>(&dialog, "PrintBtn")->click();
    });
    const QList<QImage> pages = RenderPdf(pdf, folder.path());
    QCOMPARE(pages.size(), 1);
    // The spare height is the larger, so the picture fills the area's width.
    const QRect red = RedExtent(pages[0]);
    QCOMPARE(red.topLeft(), QPoint(5, 5));
    QVERIFY(AboutSize(red, area.Width, area.Width * 30 / 40));
  }

  void multipagePrintToAFileKeepsEveryPageWithItsFrame() {
    QUORVANE_QT_TOOL_OR_SKIP("pdftoppm");
    QTemporaryDir folder;
    TPrintDlg dialog({.ConfirmPrint = [](QPrinter&) { return true; }});
    const QString pdf = folder.filePath("tiles.pdf");
    PrintToPdf(dialog.Printer(), pdf);
    const TPrintArea area = PrintableArea(PrinterPage(dialog.Printer()));
    const TRasterBitmap picture = Solid(area.Width + 30, 60, 255, 0, 0);
    ExecuteAndClose(dialog, {}, picture, [&] {
      Choose(dialog, "SelectRadio", "Destination Page");
      Choose(dialog, "MethodRadio", "Multipage Print");
      Child<QPushButton>(&dialog, "PrintBtn")->click();
    });
    const QList<QImage> pages = RenderPdf(pdf, folder.path());
    QCOMPARE(pages.size(), 2);
    // The first page holds the left piece with the frame's left edge, the
    // second the remaining 30 columns with its right edge.
    QVERIFY(FrameAt(pages[0], 5, 30));                    // left edge
    QVERIFY(FrameAt(pages[0], 100, 5));                   // top edge
    QVERIFY(!FrameAt(pages[0], 5 + area.Width - 2, 30));  // no right edge inside the picture
    QVERIFY(IsRed(pages[0].pixel(100, 30)));
    QVERIFY(FrameAt(pages[1], 35, 30));  // right edge after the last 30 columns
    QVERIFY(!FrameAt(pages[1], 5 - 2, 30) && IsRed(pages[1].pixel(8, 30)));
    QVERIFY(IsWhite(pages[1].pixel(50, 30)));
  }

  void thePlatformsPrintDialogAsksBeforePrintingToAFile() {
    QTemporaryDir folder;
    TPrintDlg dialog;
    const QString pdf = folder.filePath("asked.pdf");
    PrintToPdf(dialog.Printer(), pdf);
    const TRasterBitmap picture = Solid(10, 10, 255, 0, 0);
    QString asked_by;
    ExecuteAndClose(dialog, picture, {}, [&] {
      QTimer::singleShot(50, [&] {
        auto* print_dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!print_dialog) return;
        asked_by = print_dialog->objectName();
        print_dialog->accept();
      });
      Child<QPushButton>(&dialog, "PrintBtn")->click();
    });
    QCOMPARE(asked_by, QString("PrintDialog1"));
    QVERIFY(QFile::exists(pdf));
  }

  void cancelledPrintDialogPrintsNothing() {
    QTemporaryDir folder;
    TPrintDlg dialog({.ConfirmPrint = [](QPrinter&) { return false; }});
    const QString pdf = folder.filePath("never.pdf");
    PrintToPdf(dialog.Printer(), pdf);
    const TRasterBitmap picture = Solid(10, 10, 255, 0, 0);
    ExecuteAndClose(dialog, picture, {}, [&] { Child<QPushButton>(&dialog, "PrintBtn")->click(); });
    QVERIFY(!QFile::exists(pdf));
  }

  void emptyDestinationWarnsWithoutAskingForAPrinter() {
    bool asked = false;
    TPrintDlg dialog({.ConfirmPrint = [&](QPrinter&) { return asked = true; }});
    test_support::TSeenMessage seen;
    const TRasterBitmap source = Solid(10, 10, 255, 0, 0);
    ExecuteAndClose(dialog, source, {}, [&] {
      Choose(dialog, "SelectRadio", "Destination Page");
      test_support::CloseNextMessageBox(seen);
      Child<QPushButton>(&dialog, "PrintBtn")->click();
    });
    QVERIFY(!asked);
    QCOMPARE(seen.Text, QString("Destination Is Empty"));
    QCOMPARE(seen.Icon, QMessageBox::Warning);
  }

  void aPrinterFailureHidesTheProgressThenShowsTheError() {
    TProgressDlg progress;
    TPrintDlg dialog({.Progress = &progress, .ConfirmPrint = [](QPrinter&) { return true; }});
    QTemporaryDir folder;
    PrintToPdf(dialog.Printer(), folder.filePath("no/such/folder/out.pdf"));
    const TRasterBitmap picture = Solid(10, 10, 255, 0, 0);
    test_support::TMessageWatcher messages;
    ExecuteAndClose(dialog, picture, {}, [&] { Child<QPushButton>(&dialog, "PrintBtn")->click(); });
    QCOMPARE(messages.Seen().size(), 1);
    const test_support::TMessageWatcher::TSeen& seen = messages.Seen().first();
    QCOMPARE(seen.Icon, QMessageBox::Critical);
    QVERIFY2(seen.Text.startsWith("Printing failed"), qPrintable(seen.Text));
    QVERIFY2(!seen.OtherWindows.contains("Printing Image"),
             qPrintable(seen.OtherWindows.join(",")));
    QVERIFY(progress.isHidden());
  }

  void helpButtonOpensContextOne() {
    QList<int> contexts;
    TPrintDlg dialog({.ShowHelp = [&](int context) { contexts << context; }});
    Child<QPushButton>(&dialog, "BitBtn1")->click();
    QCOMPARE(contexts, QList<int>{1});
  }
};

QUORVANE_QTEST_MAIN(TestPrintDialog)
#include "print_dialog_test.moc"
