#pragma once
// A flat tool button that shows only an icon and tells what it does through
// its hint, which is also the name screen readers give it. Buttons that step
// a value repeat while held: the first repeat 400 ms after the press, then
// one every 100 ms.
#include <QToolButton>

#include "controls/auto_repeat.h"  // the repeat delays

namespace quorvane {

struct TSpeedButtonOptions {
  QString Hint;
  bool AutoRepeat = false;
};

class TSpeedButton : public QToolButton {
  Q_OBJECT
 public:
  TSpeedButton(const TSpeedButtonOptions& options, QWidget* parent = nullptr);
};

}  // namespace quorvane
