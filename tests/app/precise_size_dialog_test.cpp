// "Precise Sizing" from the Edit menu: the fields loaded from the requested
// size, the truncating aspect coupling with the typed field kept as typed,
// OK and Cancel, "Keep Aspect Ratio" kept between openings, and Help.
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/dialogs.h"
#include "app/main_window.h"
#include "app/precise_size_dialog.h"
#include "app/resize_workflow.h"
#include "controls/integer_spin.h"
#include "support/qt_test_main.h"
#include "support/qt_widgets.h"

using namespace quorvane;
using test_support::Child;

namespace {

void Type(TIntegerSpin* spin, const QString& text) {
  spin->setFocus();
  spin->selectAll();
  QTest::keyClicks(spin, text);
}

}  // namespace

class TestPreciseSizeDialog : public QObject {
  Q_OBJECT
 private:
  TMainWindow* window_ = nullptr;
  TPreciseSizeDlg* dialog_ = nullptr;

  QString Text(const char* label) const { return Child<QLabel>(window_, label)->text(); }
  // Opens the dialog from the menu and runs `inside` while it is shown.
  void Open(const std::function<void(TPreciseSizeDlg*)>& inside) {
    QTimer::singleShot(0, dialog_, [this, inside] { inside(dialog_); });
    window_->Menu().PreciseMnu->trigger();
    QVERIFY(dialog_->isHidden());
  }
  TIntegerSpin* Width() const { return Child<TIntegerSpin>(dialog_, "WidthSpin"); }
  TIntegerSpin* Height() const { return Child<TIntegerSpin>(dialog_, "HeightSpin"); }
  static void Press(TPreciseSizeDlg* dialog, const char* button) {
    Child<QPushButton>(dialog, button)->click();
  }

 private slots:
  void init() {
    window_ = new TMainWindow;
    window_->UseDialogs(CreateDialogs(window_, QUORVANE_HELP_DIR));
    dialog_ = Child<TPreciseSizeDlg>(window_, "PreciseSizeDlg");
  }
  void cleanup() { delete window_; }

  void captionsAndButtons() {
    QCOMPARE(dialog_->windowTitle(), QString("Precise Sizing"));
    QCOMPARE(Child<QLabel>(dialog_, "Label1")->text(), QString("Width"));
    QCOMPARE(Child<QLabel>(dialog_, "Label2")->text(), QString("Height"));
    QCOMPARE(Child<QLabel>(dialog_, "Label1")->buddy(), Width());
    QCOMPARE(Child<QLabel>(dialog_, "Label2")->buddy(), Height());
    auto* aspect = Child<QCheckBox>(dialog_, "AspectChk");
    QCOMPARE(aspect->text(), QString("Keep Aspect Ratio"));
    QVERIFY(aspect->isChecked());
    QCOMPARE(Child<QPushButton>(dialog_, "OKBtn")->text(), QString("OK"));
    QVERIFY(Child<QPushButton>(dialog_, "OKBtn")->isDefault());
    QCOMPARE(Child<QPushButton>(dialog_, "CancelBtn")->text(), QString("Cancel"));
    QCOMPARE(Child<QPushButton>(dialog_, "BitBtn1")->text(), QString("Help"));
    QCOMPARE(Width()->Increment(), 1);
    QVERIFY(!Width()->Limits() && !Height()->Limits());
  }

  void helpAsksForItsContext() {
    QSignalSpy help(dialog_, &TPreciseSizeDlg::HelpRequested);
    Child<QPushButton>(dialog_, "BitBtn1")->click();
    QCOMPARE(help.count(), 1);
    QCOMPARE(help.first().first().toLongLong(), 2);
  }

  // 150 x 76: a typed width of 200 gives a height of 101 (101.33 truncated);
  // OK takes the size and leaves the step where it was.
  void aTypedWidthSetsTheHeightAndOkTakesTheSize() {
    Open([](TPreciseSizeDlg* dialog) {
      auto* width = Child<TIntegerSpin>(dialog, "WidthSpin");
      QCOMPARE(width->Value(), 150);
      QCOMPARE(Child<TIntegerSpin>(dialog, "HeightSpin")->Value(), 76);
      Type(width, "200");
      QCOMPARE(width->Text(), QString("200"));
      QCOMPARE(Child<TIntegerSpin>(dialog, "HeightSpin")->Value(), 101);
      Press(dialog, "OKBtn");
    });
    QCOMPARE(Text("ImageSizeDis"), QString(" 200 x 101"));
    QCOMPARE(Text("PercentDis"), QString(" 0"));
    QCOMPARE(window_->Document().Sizing.NewWidth, 200);
    // The next step starts again from the source size.
    window_->ResizeWorkflow().IncSpinUpClick();
    QCOMPARE(Text("ImageSizeDis"), QString(" 165 x 84"));
  }

  // A typed height of 100 gives a width of 197 (197.37 truncated); Cancel
  // changes nothing.
  void aTypedHeightSetsTheWidthAndCancelKeepsTheSize() {
    Open([this](TPreciseSizeDlg* dialog) {
      Type(Height(), "100");
      QCOMPARE(Height()->Text(), QString("100"));
      QCOMPARE(Width()->Value(), 197);
      Press(dialog, "CancelBtn");
    });
    QCOMPARE(Text("ImageSizeDis"), QString(" 150 x 76"));
    QCOMPARE(window_->Document().Sizing.NewHeight, 76);
  }

  // Unchecked, any size goes; the check box keeps its state for the next
  // opening, and loading the fields never couples them.
  void keepAspectRatioStaysAsLeftAndLoadingDoesNotCouple() {
    Open([this](TPreciseSizeDlg* dialog) {
      Child<QCheckBox>(dialog, "AspectChk")->click();
      Type(Width(), "300");
      QCOMPARE(Height()->Value(), 76);
      Type(Height(), "50");
      QCOMPARE(Width()->Value(), 300);
      Press(dialog, "OKBtn");
    });
    QCOMPARE(Text("ImageSizeDis"), QString(" 300 x 50"));
    Open([](TPreciseSizeDlg* dialog) {
      QVERIFY(!Child<QCheckBox>(dialog, "AspectChk")->isChecked());
      Child<QCheckBox>(dialog, "AspectChk")->click();
      Press(dialog, "CancelBtn");
    });
    Open([this](TPreciseSizeDlg* dialog) {
      QVERIFY(Child<QCheckBox>(dialog, "AspectChk")->isChecked());
      QCOMPARE(Width()->Value(), 300);
      QCOMPARE(Height()->Value(), 50);
      Press(dialog, "CancelBtn");
    });
  }

  // Text that is no number leaves the last valid value, and the other field
  // follows that value.
  void unreadableTextKeepsTheLastValidValue() {
    Open([this](TPreciseSizeDlg* dialog) {
      Type(Width(), "-");
      QCOMPARE(Width()->Value(), 150);
      QCOMPARE(Height()->Value(), 76);
      Type(Width(), "-30");
      QCOMPARE(Height()->Value(), -15);
      Press(dialog, "OKBtn");
    });
    QCOMPARE(Text("ImageSizeDis"), QString(" -30 x -15"));
  }
};

QUORVANE_QTEST_MAIN(TestPreciseSizeDialog)
#include "precise_size_dialog_test.moc"
