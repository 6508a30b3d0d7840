#pragma once
// A spin edit holding a 64-bit float, written in general format.
#include <optional>

#include "controls/spin_edit.h"

namespace quorvane {

struct TRealSpinOptions {
  double Value = 0.0;
  double Increment = 1.0;
  QString UnitText;
  std::optional<TRealLimits> Limits;    // none: any value
  std::optional<TNumberFormat> Format;  // none: the user's locale
};

class TRealSpin : public TSpinEdit {
  Q_OBJECT
 public:
  explicit TRealSpin(const TRealSpinOptions& options = {}, QWidget* parent = nullptr);

  // The last valid value, within the limits.
  double Value() const;
  // Sets the value and writes it as text; Changed() fires when the text
  // changes.
  void SetValue(double value);
  double Increment() const { return increment_; }
  void SetIncrement(double increment) { increment_ = increment; }
  const std::optional<TRealLimits>& Limits() const { return limits_; }
  void SetLimits(const std::optional<TRealLimits>& limits);

  void stepBy(int steps) override;

 protected:
  StepEnabled stepEnabled() const override;
  void ReadText(const QString& text) override;
  QString ValueText() const override;
  bool OutsideLimits() const override;

 private:
  double value_ = 0.0;
  double increment_ = 1.0;
  std::optional<TRealLimits> limits_;
};

}  // namespace quorvane
