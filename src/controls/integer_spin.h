#pragma once
// The integer spin edit: a one-line edit holding a whole number, with the
// up/down spin button inside its right edge. The buttons and the Up and
// Down keys add or subtract the increment. The text may be edited freely:
// while it does not read as a number the last valid value stays in force.
// Every change of the text, typed or set, signals Changed.
#include <QLineEdit>
#include <optional>

#include "controls/auto_repeat.h"
#include "controls/inc_spin.h"

namespace quorvane {

struct TIntegerLimits {
  int Min = 0;
  int Max = 0;
};

struct TIntegerSpinOptions {
  int Value = 0;
  int Increment = 1;
  std::optional<TIntegerLimits> Limits;  // none: the whole integer range
  TRepeatTiming Timing;
};

class TIntegerSpin : public QLineEdit {
  Q_OBJECT
 public:
  explicit TIntegerSpin(const TIntegerSpinOptions& options = {}, QWidget* parent = nullptr);

  // The last value the text gave, kept within the limits.
  int Value() const { return value_; }
  // Takes `value` (brought within the limits) and writes it as the text.
  void SetValue(int value);

  int Increment() const { return increment_; }
  void SetIncrement(int increment) { increment_ = increment; }
  const std::optional<TIntegerLimits>& Limits() const { return limits_; }
  // Applies at once to the value; the text is rewritten when it changes.
  void SetLimits(const std::optional<TIntegerLimits>& limits);

  TIncSpin* Buttons() const { return buttons_; }

  // The text read as a decimal integer (surrounding blanks and a plus sign
  // allowed), or nothing when it does not read as one that fits.
  static std::optional<int> ParseInteger(const QString& text);

 signals:
  void Changed();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void TextChanged(const QString& text);
  void Step(int64_t direction);
  int Limit(int64_t value) const;

  int value_ = 0;
  int increment_ = 1;
  std::optional<TIntegerLimits> limits_;
  TIncSpin* buttons_;
};

}  // namespace quorvane
