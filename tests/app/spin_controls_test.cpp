// The up/down spin button: one click per press and release, repeats while
// held, and its keys.
#include <QSignalSpy>
#include <QTest>
#include <limits>
#include <vector>

#include "controls/inc_spin.h"
#include "support/qt_test_main.h"
#include "support/qt_widgets.h"

using namespace quorvane;
using test_support::PressOn;
using test_support::ReleaseOn;

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
    test_support::MoveOver(button, Middle(button));
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

  // The timings are the hand-stepped test's; this one shows the real timer
  // drives the repeats and that nothing waiting in the queue outlives the
  // release.
  void theRealTimerRepeatsUntilTheRelease() {
    TShownSpin shown;
    QSignalSpy up(&shown.Spin, &TIncSpin::UpClick);
    QWidget* button = shown.Spin.UpButton();
    PressOn(button, Middle(button));
    QTRY_VERIFY_WITH_TIMEOUT(up.count() >= 3, 30000);
    ReleaseOn(button, Middle(button));
    const qsizetype released = up.count();
    test_support::DrainEvents();
    QVERIFY(!shown.Spin.Repeater().Running());
    QCOMPARE(up.count(), released);
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
};

QUORVANE_QTEST_MAIN(TestSpinControls)
#include "spin_controls_test.moc"
