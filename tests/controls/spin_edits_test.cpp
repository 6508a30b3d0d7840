// The real and integer spin edits driven by keys and mouse as a user would:
// what they let through, how they step, which value stays in force, and
// the change signal.
#include <QAccessible>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionSpinBox>
#include <QTest>
#include <QVBoxLayout>

#include "controls/integer_spin.h"
#include "controls/real_spin.h"
#include "geo/geo_format.h"
#include "support/qt_test_main.h"

using namespace quorvane;

namespace {

const TNumberFormat kPoint{};  // "." and ","

// A spin edit with a captioned neighbour to move the focus to, shown and
// active so that focus changes happen as on a screen.
template <class TSpin, class TOptions>
struct TSpinForm {
  explicit TSpinForm(TOptions options) {
    options.Format = kPoint;
    spin = new TSpin(options, &form);
    spin->setObjectName("ScaleXSpin");
    caption = new QLabel("&East", &form);
    caption->setBuddy(spin);
    other = new QLineEdit(&form);
    auto* layout = new QVBoxLayout(&form);
    layout->addWidget(caption);
    layout->addWidget(spin);
    layout->addWidget(other);
    form.show();
    form.activateWindow();
    spin->setFocus();
  }
  QWidget form;
  TSpin* spin;
  QLabel* caption;
  QLineEdit* other;
};

using TRealForm = TSpinForm<TRealSpin, TRealSpinOptions>;
using TIntegerForm = TSpinForm<TIntegerSpin, TIntegerSpinOptions>;

QPoint ButtonCentre(QAbstractSpinBox* spin, QStyle::SubControl button) {
  QStyleOptionSpinBox option;
  option.initFrom(spin);
  option.subControls = QStyle::SC_SpinBoxUp | QStyle::SC_SpinBoxDown;
  option.stepEnabled = QAbstractSpinBox::StepUpEnabled | QAbstractSpinBox::StepDownEnabled;
  option.buttonSymbols = spin->buttonSymbols();
  option.frame = spin->hasFrame();
  return spin->style()->subControlRect(QStyle::CC_SpinBox, &option, button, spin).center();
}

void ClearField(QWidget* spin) {
  QTest::keyClick(spin, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(spin, Qt::Key_Backspace);
}

}  // namespace

class TestSpinEdits : public QObject {
  Q_OBJECT
 private slots:
  void typedKeysAreLimitedToNumberCharacters() {
    TRealForm f(TRealSpinOptions{});
    ClearField(f.spin);
    QTest::keyClicks(f.spin, "1a2, 5x.5E-1q");
    QCOMPARE(f.spin->Text(), QString("12,5.5E-1"));
    QCOMPARE(f.spin->Value(), 125.5E-1);
  }

  void integerFieldsRefuseDecimalsAndExponents() {
    TIntegerForm f(TIntegerSpinOptions{});
    ClearField(f.spin);
    QTest::keyClicks(f.spin, "-1.5e3");
    QCOMPARE(f.spin->Text(), QString("-153"));
    QCOMPARE(f.spin->Value(), -153);
  }

  void arrowKeysStepTheIncrementTenTimesWithCtrl() {
    TRealForm f(TRealSpinOptions{.Value = 1.5, .Increment = 0.25});
    QTest::keyClick(f.spin, Qt::Key_Up);
    QCOMPARE(f.spin->Value(), 1.75);
    QTest::keyClick(f.spin, Qt::Key_Down, Qt::ControlModifier);
    QCOMPARE(f.spin->Value(), -0.75);
    QCOMPARE(f.spin->Text(), QString("-0.75"));
  }

  void buttonsStepTheIncrementTenTimesWithCtrl() {
    QWidget window;
    auto* spin = new TRealSpin({.Value = 0, .Increment = 0.5, .Format = kPoint}, &window);
    window.resize(200, 40);
    spin->setGeometry(0, 0, 200, 30);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QPoint up = ButtonCentre(spin, QStyle::SC_SpinBoxUp);
    const QPoint down = ButtonCentre(spin, QStyle::SC_SpinBoxDown);
    QTest::mouseClick(spin, Qt::LeftButton, {}, up);
    QCOMPARE(spin->Value(), 0.5);
    QTest::mouseClick(spin, Qt::LeftButton, Qt::ControlModifier, up);
    QCOMPARE(spin->Value(), 5.5);
    QTest::mouseClick(spin, Qt::LeftButton, Qt::ControlModifier, down);
    QCOMPARE(spin->Value(), 0.5);
    QTest::mouseClick(spin, Qt::LeftButton, {}, down);
    QCOMPARE(spin->Value(), 0.0);
  }

  void textThatDoesNotReadKeepsTheLastValidValue() {
    TRealForm f(TRealSpinOptions{});
    ClearField(f.spin);
    QTest::keyClicks(f.spin, "12.5");
    QCOMPARE(f.spin->Value(), 12.5);
    QTest::keyClicks(f.spin, "e-");
    QCOMPARE(f.spin->Text(), QString("12.5e-"));
    QCOMPARE(f.spin->Value(), 12.5);
    QTest::keyClick(f.spin, Qt::Key_2);
    QCOMPARE(f.spin->Value(), 0.125);
    // A step starts from the value in force.
    QTest::keyClicks(f.spin, "--");
    QTest::keyClick(f.spin, Qt::Key_Up);
    QCOMPARE(f.spin->Text(), QString("1.125"));
  }

  void leavingAnEmptyFieldPutsTheLastValidValueBack() {
    TRealForm f(TRealSpinOptions{.Value = 30});
    QVERIFY(QTest::qWaitForWindowActive(&f.form));
    QVERIFY(f.spin->hasFocus());
    ClearField(f.spin);
    QCOMPARE(f.spin->Text(), QString());
    QCOMPARE(f.spin->Value(), 30.0);
    f.other->setFocus();
    QCOMPARE(f.spin->Text(), QString("30"));
    // Text that does not read stays as typed when the field is left.
    f.spin->setFocus();
    QTest::keyClicks(f.spin, "e");
    f.other->setFocus();
    QCOMPARE(f.spin->Text(), QString("30e"));
    QCOMPARE(f.spin->Value(), 30.0);
  }

  void everyTextChangeFiresTheChangeSignal() {
    TRealForm f(TRealSpinOptions{.Value = 7});
    QSignalSpy changes(f.spin, &TSpinEdit::Changed);
    QTest::keyClick(f.spin, Qt::Key_End);
    QTest::keyClicks(f.spin, "5x");  // "x" is refused: no change
    QCOMPARE(changes.size(), 1);
    QTest::keyClick(f.spin, Qt::Key_Backspace);
    QCOMPARE(changes.size(), 2);
    f.spin->SetValue(8);
    QCOMPARE(changes.size(), 3);
    f.spin->SetValue(8);  // the same text: nothing changes
    QCOMPARE(changes.size(), 3);
    QTest::keyClick(f.spin, Qt::Key_Up);
    QCOMPARE(changes.size(), 4);
  }

  void settingTheValueWritesGeneralFormatAndKeepsItExact() {
    TRealForm f(TRealSpinOptions{});
    const double feet = 30 * kFootUnits.FeetPerMetre;
    f.spin->SetValue(feet);
    QCOMPARE(f.spin->Text(), QString("98.4251968503937"));
    QCOMPARE(f.spin->Value(), feet);
    f.spin->SetValue(1.5E-7);
    QCOMPARE(f.spin->Text(), QString("1.5E-7"));
    f.spin->SetValue(2500000);
    QCOMPARE(f.spin->Text(), QString("2500000"));
  }

  void aValueSetOutsideTheFieldShowsItsStart() {
    TRealForm f(TRealSpinOptions{});
    f.other->setFocus();
    f.spin->setFixedWidth(60);
    f.spin->SetValue(300.0379266750948);
    QCOMPARE(f.spin->findChild<QLineEdit*>()->cursorPosition(), 0);
  }

  void separatorsComeFromTheFormat() {
    TRealSpin spin({.Value = 1.5, .Format = TNumberFormat{",", "."}});
    QCOMPARE(spin.Text(), QString("1,5"));
    spin.setFocus();
    QTest::keyClick(&spin, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(&spin, "1.234,25");
    QCOMPARE(spin.Value(), 1234.25);
  }

  void zoneStaysWithinItsLimits() {
    TIntegerForm f(TIntegerSpinOptions{.Value = 31, .Limits = TIntegerLimits{1, 60}});
    QVERIFY(QTest::qWaitForWindowActive(&f.form));
    f.spin->SetValue(75);
    QCOMPARE(f.spin->Value(), 60);
    QCOMPARE(f.spin->Text(), QString("60"));
    QTest::keyClick(f.spin, Qt::Key_Up);
    QCOMPARE(f.spin->Value(), 60);
    QTest::keyClick(f.spin, Qt::Key_Down, Qt::ControlModifier);
    QCOMPARE(f.spin->Value(), 50);
    ClearField(f.spin);
    QTest::keyClicks(f.spin, "0");
    QCOMPARE(f.spin->Value(), 1);
    f.other->setFocus();
    QCOMPARE(f.spin->Text(), QString("1"));
  }

  void integerWithoutLimitsTakesAnyInt() {
    TIntegerForm f(TIntegerSpinOptions{});
    ClearField(f.spin);
    QTest::keyClicks(f.spin, "-2,000,000");
    QCOMPARE(f.spin->Value(), -2000000);
    QTest::keyClick(f.spin, Qt::Key_Up, Qt::ControlModifier);
    QCOMPARE(f.spin->Value(), -1999990);
  }

  void unitTextStandsBesideTheNumber() {
    TRealSpin spin({.Value = 4, .UnitText = "M", .Format = kPoint});
    QCOMPARE(spin.UnitText(), QString("M"));
    QCOMPARE(spin.Text(), QString("4"));
    spin.SetUnitText("kM");
    const QList<QLabel*> labels = spin.findChildren<QLabel*>();
    QCOMPARE(labels.size(), 1);
    QCOMPARE(labels.first()->text(), QString("kM"));
    QCOMPARE(spin.Value(), 4.0);
  }

  void captionNamesTheFieldForScreenReaders() {
    TRealForm f(TRealSpinOptions{});
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(f.spin);
    QVERIFY(accessible);
    QCOMPARE(accessible->text(QAccessible::Name), QString("East"));
    QCOMPARE(f.spin->objectName(), QString("ScaleXSpin"));
  }

  void enterReachesTheDialogsDefaultButton() {
    QDialog dialog;
    auto* spin = new TRealSpin({.Format = kPoint}, &dialog);
    auto* ok = new QPushButton("OK", &dialog);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(spin);
    layout->addWidget(ok);
    dialog.show();
    QSignalSpy accepted(&dialog, &QDialog::accepted);
    QTest::keyClick(spin, Qt::Key_Return);
    QCOMPARE(accepted.size(), 1);
  }
};

QUORVANE_QTEST_MAIN(TestSpinEdits)
#include "spin_edits_test.moc"
