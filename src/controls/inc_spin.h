#pragma once
// The up/down spin button: two small arrow buttons, one above the other,
// that step a value. A press and release is one click; a button held down
// clicks again after the repeat delay and then at every repeat interval
// until it is let go. A button pressed without the mouse (by a screen
// reader, say) clicks once. The Up and Down keys click too, once per key
// press (held keys repeat at the keyboard's rate).
#include <QToolButton>
#include <QWidget>

#include "controls/auto_repeat.h"

namespace quorvane {

struct TIncSpinOptions {
  TRepeatTiming Timing;
};

class TIncSpin : public QWidget {
  Q_OBJECT
 public:
  explicit TIncSpin(const TIncSpinOptions& options = {}, QWidget* parent = nullptr);

  QToolButton* UpButton() const { return up_; }
  QToolButton* DownButton() const { return down_; }
  // The repeat of the held button, for tests to watch and step.
  TAutoRepeat& Repeater() { return repeat_; }

  QSize sizeHint() const override;

 signals:
  void UpClick();
  void DownClick();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void Pressed(QToolButton* button);
  void Released();
  void Release();
  void RepeatHeld();
  void Click(const QToolButton* button);

  QToolButton* up_;
  QToolButton* down_;
  QToolButton* held_ = nullptr;
  TAutoRepeat repeat_;
};

}  // namespace quorvane
