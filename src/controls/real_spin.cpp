#include "controls/real_spin.h"

namespace quorvane {

TRealSpin::TRealSpin(const TRealSpinOptions& options, QWidget* parent)
    : TSpinEdit(TSpinNumberKind::Real, options.Format.value_or(LocaleNumberFormat()), parent),
      increment_(options.Increment),
      limits_(options.Limits) {
  SetUnitText(options.UnitText);
  SetValue(options.Value);
}

double TRealSpin::Value() const {
  return ClampSpinValue(value_, limits_);
}

void TRealSpin::SetValue(double value) {
  value_ = ClampSpinValue(value, limits_);
  WriteText(ValueText());
}

void TRealSpin::SetLimits(const std::optional<TRealLimits>& limits) {
  limits_ = limits;
  if (OutsideLimits()) SetValue(value_);
}

void TRealSpin::stepBy(int steps) {
  SetValue(StepSpinValue(Value(), increment_, steps, limits_));
}

QAbstractSpinBox::StepEnabled TRealSpin::stepEnabled() const {
  if (isReadOnly()) return StepNone;
  if (!limits_) return StepUpEnabled | StepDownEnabled;
  StepEnabled enabled = StepNone;
  if (Value() < limits_->Max) enabled |= StepUpEnabled;
  if (Value() > limits_->Min) enabled |= StepDownEnabled;
  return enabled;
}

void TRealSpin::ReadText(const QString& text) {
  if (const auto value = ParseSpinReal(text.toStdString(), NumberFormat())) value_ = *value;
}

QString TRealSpin::ValueText() const {
  return QString::fromStdString(SpinRealText(Value(), NumberFormat()));
}

bool TRealSpin::OutsideLimits() const {
  return Value() != value_;
}

}  // namespace quorvane
