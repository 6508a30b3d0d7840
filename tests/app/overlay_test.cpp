// Overlays never enter a picture: the selection box and the measuring
// polyline are tools. Whatever a user does, the source's clean copy and
// every picture cropped, stretched, copied, saved or printed hold the file's
// pixels, except that a polyline shown on the Measure page is part of what
// is saved, copied and printed.
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <random>

#include "app/clipboard_pictures.h"
#include "app/dialogs.h"
#include "app/image_view.h"
#include "app/main_window.h"
#include "app/print_dialog.h"
#include "app/source_box.h"
#include "document/measure_drawing.h"
#include "document/stretch.h"
#include "imaging/bitmap_utils.h"
#include "support/pixel_probe.h"
#include "support/qt_test_main.h"
#include "support/qt_widgets.h"
#include "support/window_files.h"
#include "support/window_pictures.h"

using namespace quorvane;
using testing::Child;
using testing::SameColours;

class TestOverlays : public QObject {
  Q_OBJECT
 private:
  QTemporaryDir dir_;
  TMainWindow* window_ = nullptr;
  TImageEx* input_ = nullptr;
  TDialogs dialogs_;
  int saves_ = 0;
  // The model: the file's pixels as the crops so far cut them, the
  // destination the last stretch made of them, and whether a polyline is
  // drawn on the source.
  TRasterBitmap expected_;
  TRasterBitmap expected_destination_;
  bool polyline_shown_ = false;

  TDocument& Document() { return window_->Document(); }
  TPage Page() const { return window_->ActivePage(); }

  void Open() {
    const QString file = dir_.filePath("pattern.bmp");
    expected_ = testing::Pattern(96, 72);
    testing::WriteGeoPicture(file.toStdString(), expected_);
    window_->OpenImageFile(file);
    polyline_shown_ = false;
  }
  void SwitchTo(TPage page) {
    if (page == Page()) return;
    Child<QTabWidget>(window_, "PageControl")->setCurrentIndex(int(page));
    polyline_shown_ = page == TPage::Measure && !Document().Source.Measure.Points.empty();
  }
  void Drag(QPoint from, QPoint to) {
    testing::MoveOver(input_, from);
    testing::PressOn(input_, from);
    testing::MoveOver(input_, to);
    testing::ReleaseOn(input_, to);
    if (Page() != TPage::Resize) polyline_shown_ = true;
  }
  void Click(QPoint at, Qt::MouseButton button = Qt::LeftButton) {
    testing::MoveOver(input_, at);
    testing::PressOn(input_, at, button);
    testing::ReleaseOn(input_, at, button);
    if (Page() != TPage::Resize) polyline_shown_ = true;
  }
  void Stretch() {
    window_->Menu().StretchMnu->trigger();
    TDocument batch(expected_, {.KeepCleanCopies = false});
    batch.Sizing = Document().Sizing;
    quorvane::Stretch(batch);
    expected_destination_ = batch.Destination.Picture;
  }
  void Crop() {
    const TRect box = window_->SourceBox().Box().Selection();
    window_->Menu().CropMnu->trigger();
    if (auto cut = CroppedCopy(expected_, box)) {
      expected_ = std::move(*cut);
      polyline_shown_ = false;
    }
  }
  // What a command hands on: the clean pixels, with the polyline when it
  // is shown on the Measure page.
  TRasterBitmap ExpectedOutput(const TRasterBitmap& clean, const TPane& pane) {
    TRasterBitmap output = clean;
    if (Page() == TPage::Measure && polyline_shown_ && &pane == &Document().Source)
      Draw(pane.Measure, output);
    return output;
  }
  TRasterBitmap SaveAndRead(void (TMainWindow::*save)()) {
    const QString file = dir_.filePath(QString("saved%1.bmp").arg(++saves_));
    window_->UseFileChoosers({.SaveName = [file](QWidget*) { return file; }});
    (window_->*save)();
    return testing::ReadGeoPicture(file.toStdString()).Picture;
  }
  // What the print dialog would print of the pane named `item`.
  TRasterBitmap Printed(const char* item) {
    TRasterBitmap printed;
    QTimer::singleShot(0, dialogs_.PrintDlg, [&] {
      for (QRadioButton* radio :
           Child<QWidget>(dialogs_.PrintDlg, "SelectRadio")->findChildren<QRadioButton*>())
        if (radio->text() == item) radio->click();
      printed = dialogs_.PrintDlg->ChosenPicture();
      dialogs_.PrintDlg->reject();
    });
    window_->Menu().PrintMnu->trigger();
    return printed;
  }

  void CheckCleanCopies() {
    QVERIFY(testing::SameBytes(Document().Source.CleanCopy(), expected_));
    if (!expected_destination_.Empty())
      QVERIFY(testing::SameBytes(Document().Destination.CleanCopy(), expected_destination_));
  }

  // Copy (0), save (1) or print (2) both panes and compare.
  void CheckOutputs(int kind) {
    CheckCleanCopies();
    const TRasterBitmap with_polyline = ExpectedOutput(expected_, Document().Source);
    switch (kind) {
      case 0:
        window_->Menu().CopyInputMnu->trigger();
        QVERIFY(SameColours(PictureFromClipboard(), with_polyline));
        break;
      case 1:
        QVERIFY(SameColours(SaveAndRead(&TMainWindow::SaveSourceAsMnuClick), with_polyline));
        if (!expected_destination_.Empty())
          QVERIFY(SameColours(SaveAndRead(&TMainWindow::SaveDestinationAs1Click),
                              expected_destination_));
        break;
      default:
        QVERIFY(SameColours(Printed("Destination Page"), expected_destination_));
        QVERIFY(SameColours(Printed("Source Page"), with_polyline));
    }
  }

 private slots:
  void init() {
    window_ = new TMainWindow;
    dialogs_ = CreateDialogs(window_, QUORVANE_HELP_DIR);
    window_->UseDialogs(dialogs_);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_));
    input_ = Child<TImageEx>(window_, "InputImage");
    expected_destination_ = {};
    Open();
  }
  void cleanup() { delete window_; }

  // The box drawn on the source by a stretch on the Tools page, then two
  // clicks there: the first click no longer takes the clean copy from a
  // picture carrying the box.
  void theBoxNeverReachesTheCleanCopy() {
    Drag({10, 20}, {50, 60});
    SwitchTo(TPage::Tools);
    Stretch();
    Click({30, 30});
    Click({40, 10});
    SwitchTo(TPage::Measure);
    SwitchTo(TPage::Tools);
    QCOMPARE(testing::PixelColor(Document().Source.CleanCopy(), 20, 60),
             testing::PixelColor(expected_, 20, 60));
    CheckOutputs(0);
  }

  // The crop cuts the clean pixels, on the Measure page and the Tools page.
  void aCropLeavesThePolylineOut() {
    for (TPage page : {TPage::Measure, TPage::Tools}) {
      SwitchTo(TPage::Resize);
      Drag({5, 5}, {60, 44});
      SwitchTo(page);
      Click({10, 10});
      Click({30, 25});
      Crop();
      CheckOutputs(1);
    }
  }

  void printingLeavesTheBoxOutAndKeepsTheShownPolyline() {
    Drag({10, 20}, {50, 60});
    CheckOutputs(2);
    SwitchTo(TPage::Measure);
    Click({12, 30});
    Click({40, 8});
    CheckOutputs(2);
  }

  // Random sequences of everything a user does with overlays on screen.
  void anySequenceKeepsEveryPictureClean() {
    std::mt19937 random(16);
    testing::TMessageWatcher messages;
    for (int step = 0; step < 300; ++step) {
      // Presses land on the picture; drags may end beyond it.
      const int w = expected_.Width(), h = expected_.Height();
      auto at = [&](int reach) {
        return QPoint(std::uniform_int_distribution<int>(-reach, w - 1 + reach)(random),
                      std::uniform_int_distribution<int>(-reach, h - 1 + reach)(random));
      };
      const int action = std::uniform_int_distribution<int>(0, 9)(random);
      const TPage page_before = Page();
      if (action <= 1) SwitchTo(TPage(std::uniform_int_distribution<int>(0, 2)(random)));
      if (action == 2) Drag(at(0), at(6));
      if (action == 3) Click(at(0), step % 5 ? Qt::LeftButton : Qt::RightButton);
      if (action == 4) Stretch();
      if (action == 5) Crop();
      if (action == 6 && (w < 12 || h < 12)) Open();
      if (action >= 7) {
        CheckOutputs(action - 7);
      } else {
        CheckCleanCopies();
      }
      if (QTest::currentTestFailed()) QFAIL(qPrintable(QString("at step %1").arg(step)));
      // A switch to the Tools page leaves nothing on the picture shown.
      if (Page() == TPage::Tools && page_before != TPage::Tools)
        QVERIFY(testing::SameBytes(Document().Source.Picture, expected_));
    }
    QVERIFY(messages.Texts().isEmpty());
  }
};

QUORVANE_QTEST_MAIN(TestOverlays)
#include "overlay_test.moc"
