#include "controls/auto_repeat.h"

namespace quorvane {

TAutoRepeat::TAutoRepeat(const TRepeatTiming& timing, QObject* parent)
    : QObject(parent), timing_(timing) {
  // Coarse timers may fire up to 5 % early; a repeat must never come before
  // its time.
  timer_.setTimerType(Qt::PreciseTimer);
  connect(&timer_, &QTimer::timeout, this, &TAutoRepeat::Expire);
}

void TAutoRepeat::Start() {
  timer_.start(timing_.DelayMs);
}

void TAutoRepeat::Stop() {
  timer_.stop();
}

void TAutoRepeat::Expire() {
  if (!timer_.isActive()) return;  // stopped while the expiry was pending
  timer_.start(timing_.IntervalMs);
  emit Repeat();
}

}  // namespace quorvane
