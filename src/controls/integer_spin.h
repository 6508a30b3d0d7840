#pragma once
// A spin edit holding an int, optionally kept within limits (the UTM zone:
// 1 to 60) or wrapping around them.
#include <optional>

#include "controls/spin_edit.h"

namespace quorvane {

struct TIntegerSpinOptions {
  int Value = 0;
  int Increment = 1;
  QString UnitText;
  std::optional<TIntegerLimits> Limits;  // none: any int
  std::optional<TNumberFormat> Format;   // none: the user's locale
};

class TIntegerSpin : public TSpinEdit {
  Q_OBJECT
 public:
  explicit TIntegerSpin(const TIntegerSpinOptions& options = {}, QWidget* parent = nullptr);

  // The last valid value, within the limits.
  int Value() const;
  void SetValue(int value);
  int Increment() const { return increment_; }
  void SetIncrement(int increment) { increment_ = increment; }
  const std::optional<TIntegerLimits>& Limits() const { return limits_; }
  void SetLimits(const std::optional<TIntegerLimits>& limits);

  void stepBy(int steps) override;

 protected:
  StepEnabled stepEnabled() const override;
  void ReadText(const QString& text) override;
  QString ValueText() const override;
  bool OutsideLimits() const override;

 private:
  int value_ = 0;
  int increment_ = 1;
  std::optional<TIntegerLimits> limits_;
};

}  // namespace quorvane
