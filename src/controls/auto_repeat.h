#pragma once
// The repeat of a held button: the first repeat comes a while after the
// press, the following ones faster, until the button is let go. Timed by a
// QTimer; the wait ahead is visible and Expire() steps time by hand, so tests
// need not sleep.
#include <QObject>
#include <QTimer>

namespace quorvane {

constexpr int kAutoRepeatDelayMs = 400;
constexpr int kAutoRepeatIntervalMs = 100;

struct TRepeatTiming {
  int DelayMs = kAutoRepeatDelayMs;        // from the press to the first repeat
  int IntervalMs = kAutoRepeatIntervalMs;  // between later repeats
};

class TAutoRepeat : public QObject {
  Q_OBJECT
 public:
  explicit TAutoRepeat(const TRepeatTiming& timing = {}, QObject* parent = nullptr);

  // The button went down: the first repeat is due after the delay.
  void Start();
  // The button came up (or went away): no more repeats.
  void Stop();
  bool Running() const { return timer_.isActive(); }
  // The wait from the last press or repeat to the next repeat.
  int NextWaitMs() const { return timer_.interval(); }
  const TRepeatTiming& Timing() const { return timing_; }

  // What the timer does when its wait is over: signals Repeat and waits the
  // interval for the next. Public so tests can run the clock themselves.
  void Expire();

 signals:
  void Repeat();

 private:
  TRepeatTiming timing_;
  QTimer timer_;
};

}  // namespace quorvane
