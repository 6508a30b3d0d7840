// The spin controls: the up/down spin button's clicks and repeats, and the
// integer spin edit's value, text, limits and change signal.
#include <QAccessible>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <limits>
#include <vector>

#include "controls/inc_spin.h"
#include "controls/integer_spin.h"
#include "support/qt_widgets.h"

using namespace quorvane;
using testing::PressOn;
using testing::ReleaseOn;

namespace {

QPoint Middle(const QWidget* widget) {
  return widget->rect().center();
}

// A shown spin button in a window of its own, so mouse events travel
// through the window system as they do on a screen.
struct TShownSpin {
  explicit TShownSpin(const TIncSpinOptions& options = {}) : Spin(options, &Window) {
    Window.resize(60, 80);
    Spin.setGeometry(10, 10, 20, 44);
    Window.show();
    if (!QTest::qWaitForWindowExposed(&Window)) qWarning("window not exposed");
  }
  QWidget Window;
  TIncSpin Spin;
};

}  // namespace

class TestSpinControls : public QObject {
  Q_OBJECT
 private slots:
  void aPressAndReleaseIsOneClick() {
    TShownSpin shown;
    QSignalSpy up(&shown.Spin, &TIncSpin::UpClick);
    QSignalSpy down(&shown.Spin, &TIncSpin::DownClick);
    PressOn(shown.Spin.UpButton(), Middle(shown.Spin.UpButton()));
    QCOMPARE(up.count(), 1);  // at the press, not at the release
    ReleaseOn(shown.Spin.UpButton(), Middle(shown.Spin.UpButton()));
    QCOMPARE(up.count(), 1);
    QVERIFY(!shown.Spin.Repeater().Running());
    PressOn(shown.Spin.DownButton(), Middle(shown.Spin.DownButton()));
    ReleaseOn(shown.Spin.DownButton(), Middle(shown.Spin.DownButton()));
    QCOMPARE(down.count(), 1);
    QCOMPARE(up.count(), 1);
  }

  void quickClicksCountOnceEachThoughTheSecondIsADoubleClick() {
    TShownSpin shown;
    QSignalSpy up(&shown.Spin, &TIncSpin::UpClick);
    QWidget* button = shown.Spin.UpButton();
    for (int i = 0; i < 2; ++i) {
      PressOn(button, Middle(button));
      ReleaseOn(button, Middle(button));
    }
    QCOMPARE(up.count(), 2);
  }

  // The clock stepped by hand: the first repeat waits the delay, the
  // following ones the interval, and the release ends them.
  void aHeldButtonRepeatsAfterTheDelayThenAtTheInterval() {
    TShownSpin shown;
    QSignalSpy up(&shown.Spin, &TIncSpin::UpClick);
    TAutoRepeat& repeat = shown.Spin.Repeater();
    PressOn(shown.Spin.UpButton(), Middle(shown.Spin.UpButton()));
    QVERIFY(repeat.Running());
    QCOMPARE(repeat.NextWaitMs(), 400);
    repeat.Expire();
    QCOMPARE(up.count(), 2);
    QCOMPARE(repeat.NextWaitMs(), 100);
    repeat.Expire();
    repeat.Expire();
    QCOMPARE(up.count(), 4);
    ReleaseOn(shown.Spin.UpButton(), Middle(shown.Spin.UpButton()));
    QVERIFY(!repeat.Running());
    repeat.Expire();  // a timeout already on its way changes nothing
    QCOMPARE(up.count(), 4);
  }

  void repeatsPauseWhileThePointerIsOffTheHeldButton() {
    TShownSpin shown;
    QSignalSpy up(&shown.Spin, &TIncSpin::UpClick);
    QWidget* button = shown.Spin.UpButton();
    PressOn(button, Middle(button));
    QTest::mouseMove(shown.Window.windowHandle(), QPoint(55, 75));
    QVERIFY(!shown.Spin.UpButton()->isDown());
    shown.Spin.Repeater().Expire();
    QCOMPARE(up.count(), 1);
    testing::MoveOver(button, Middle(button));
    shown.Spin.Repeater().Expire();
    QCOMPARE(up.count(), 2);
    ReleaseOn(button, Middle(button));
  }

  void hidingOrDisablingStopsTheRepeat() {
    TShownSpin shown;
    PressOn(shown.Spin.DownButton(), Middle(shown.Spin.DownButton()));
    QVERIFY(shown.Spin.Repeater().Running());
    shown.Spin.setEnabled(false);
    QVERIFY(!shown.Spin.Repeater().Running());
    shown.Spin.setEnabled(true);
    PressOn(shown.Spin.DownButton(), Middle(shown.Spin.DownButton()));
    shown.Spin.hide();
    QVERIFY(!shown.Spin.Repeater().Running());
  }

  // The real clock, measured generously: the machine may be busy, so the
  // checks only rule out repeats that come early or too many of them.
  void theRealClockRepeatsNoEarlierThanItShould() {
    TShownSpin shown;
    std::vector<qint64> clicks;
    QElapsedTimer clock;
    connect(&shown.Spin, &TIncSpin::UpClick, &shown.Spin,
            [&] { clicks.push_back(clock.elapsed()); });
    QWidget* button = shown.Spin.UpButton();
    clock.start();
    PressOn(button, Middle(button));
    QTest::qWait(250);
    if (clock.elapsed() < 390) QCOMPARE(clicks.size(), size_t(1));
    while (clock.elapsed() < 800) QTest::qWait(20);
    ReleaseOn(button, Middle(button));
    const qint64 held = clock.elapsed();
    QTest::qWait(150);
    QCOMPARE(clicks.size() >= 2, true);
    QVERIFY2(clicks[1] >= 395, qPrintable(QString::number(clicks[1])));
    for (size_t i = 2; i < clicks.size(); ++i)
      QVERIFY2(clicks[i] - clicks[i - 1] >= 95, qPrintable(QString::number(clicks[i])));
    QVERIFY(qint64(clicks.size()) <= 2 + (held - 400) / 100);
    QVERIFY(clicks.back() <= held);  // nothing after the release
  }

  void upAndDownKeysClickTheSpinButton() {
    TShownSpin shown;
    QSignalSpy up(&shown.Spin, &TIncSpin::UpClick);
    QSignalSpy down(&shown.Spin, &TIncSpin::DownClick);
    QTest::keyClick(&shown.Spin, Qt::Key_Up);
    QTest::keyClick(&shown.Spin, Qt::Key_Down);
    QTest::keyClick(&shown.Spin, Qt::Key_Down);
    QCOMPARE(up.count(), 1);
    QCOMPARE(down.count(), 2);
  }

  void settingTheValueWritesTheTextAndSignalsOnce() {
    TIntegerSpin spin({.Value = 150});
    QCOMPARE(spin.text(), QString("150"));
    QSignalSpy changed(&spin, &TIntegerSpin::Changed);
    spin.SetValue(-76);
    QCOMPARE(spin.text(), QString("-76"));
    QCOMPARE(spin.Value(), -76);
    QCOMPARE(changed.count(), 1);
    spin.SetValue(-76);  // the same text: nothing changed
    QCOMPARE(changed.count(), 1);
  }

  void textThatIsNoNumberKeepsTheLastValidValue() {
    TIntegerSpin spin({.Value = 200});
    QSignalSpy changed(&spin, &TIntegerSpin::Changed);
    std::vector<int> seen;
    connect(&spin, &TIntegerSpin::Changed, &spin, [&] { seen.push_back(spin.Value()); });
    spin.selectAll();
    QTest::keyClicks(&spin, "-3x");
    QCOMPARE(spin.text(), QString("-3x"));
    QCOMPARE(spin.Value(), -3);
    // Every change of the text is heard, with the value it left in force:
    // the selection replaced by "-" (no number yet), "-3", "-3x".
    QCOMPARE(seen, (std::vector<int>{200, -3, -3}));
    spin.setText("");
    QCOMPARE(spin.Value(), -3);
    for (const char* text : {" 42 ", "+42"}) {
      spin.setText(text);
      QCOMPARE(spin.Value(), 42);
    }
    for (const char* text : {"4 2", "0x10", "2147483648", "1e3", "12.5"}) {
      spin.setText(text);
      QCOMPARE(spin.Value(), 42);
    }
    QCOMPARE(changed.count(), 3 + 1 + 2 + 5);
  }

  void buttonsAndKeysStepByTheIncrement() {
    TIntegerSpin spin({.Value = 10});
    spin.resize(80, 24);
    spin.Buttons()->UpButton()->click();  // as a screen reader presses it
    QCOMPARE(spin.text(), QString("11"));
    QVERIFY(!spin.Buttons()->Repeater().Running());
    emit spin.Buttons()->DownClick();
    emit spin.Buttons()->DownClick();
    QCOMPARE(spin.Value(), 9);
    spin.SetIncrement(5);
    QTest::keyClick(&spin, Qt::Key_Up);
    QCOMPARE(spin.Value(), 14);
    QTest::keyClick(&spin, Qt::Key_Down);
    QCOMPARE(spin.text(), QString("9"));
    spin.SetValue(std::numeric_limits<int>::max());
    QTest::keyClick(&spin, Qt::Key_Up);  // no limits: stops at the integer range
    QCOMPARE(spin.Value(), std::numeric_limits<int>::max());
  }

  void limitsHoldTheValueButNotTheTypedText() {
    TIntegerSpin spin({.Value = 31, .Limits = TIntegerLimits{1, 60}});
    spin.setText("75");
    QCOMPARE(spin.text(), QString("75"));
    QCOMPARE(spin.Value(), 60);
    spin.SetValue(-4);
    QCOMPARE(spin.text(), QString("1"));
    QTest::keyClick(&spin, Qt::Key_Down);
    QCOMPARE(spin.Value(), 1);
    spin.SetLimits(TIntegerLimits{10, 20});
    QCOMPARE(spin.text(), QString("10"));
    spin.SetLimits(std::nullopt);
    spin.SetValue(-4);
    QCOMPARE(spin.Value(), -4);
  }

  void theArrowsSitInsideTheEditAndLeaveItTheFocus() {
    QWidget window;
    auto* layout = new QHBoxLayout(&window);
    auto* label = new QLabel("Width", &window);
    auto* spin = new TIntegerSpin({.Value = 7}, &window);
    label->setBuddy(spin);
    layout->addWidget(label);
    layout->addWidget(spin);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    spin->setFocus();
    const QRect arrows = spin->Buttons()->geometry();
    QVERIFY(spin->rect().contains(arrows));
    QVERIFY(arrows.right() >= spin->width() - 4);
    QWidget* up = spin->Buttons()->UpButton();
    PressOn(up, Middle(up));
    ReleaseOn(up, Middle(up));
    QCOMPARE(spin->Value(), 8);
    QCOMPARE(QApplication::focusWidget(), spin);
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(spin);
    QVERIFY(accessible);
    QCOMPARE(accessible->text(QAccessible::Name), QString("Width"));
  }
};

QTEST_MAIN(TestSpinControls)
#include "spin_controls_test.moc"
