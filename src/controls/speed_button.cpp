#include "controls/speed_button.h"

namespace quorvane {

TSpeedButton::TSpeedButton(const TSpeedButtonOptions& options, QWidget* parent)
    : QToolButton(parent) {
  setAutoRaise(true);
  setToolTip(options.Hint);
  setAccessibleName(options.Hint);
  if (options.AutoRepeat) {
    setAutoRepeat(true);
    setAutoRepeatDelay(kAutoRepeatDelayMs);
    setAutoRepeatInterval(kAutoRepeatIntervalMs);
  }
}

}  // namespace quorvane
