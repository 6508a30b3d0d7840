#include "controls/integer_spin.h"

namespace quorvane {

TIntegerSpin::TIntegerSpin(const TIntegerSpinOptions& options, QWidget* parent)
    : TSpinEdit(TSpinNumberKind::Integer, options.Format.value_or(LocaleNumberFormat()), parent),
      increment_(options.Increment),
      limits_(options.Limits) {
  SetUnitText(options.UnitText);
  SetValue(options.Value);
}

int TIntegerSpin::Value() const {
  return ClampSpinValue(int64_t(value_), limits_);
}

void TIntegerSpin::SetValue(int value) {
  value_ = ClampSpinValue(int64_t(value), limits_);
  WriteText(ValueText());
}

void TIntegerSpin::SetLimits(const std::optional<TIntegerLimits>& limits) {
  limits_ = limits;
  if (OutsideLimits()) SetValue(value_);
}

void TIntegerSpin::stepBy(int steps) {
  SetValue(StepSpinValue(Value(), increment_, steps, limits_));
}

QAbstractSpinBox::StepEnabled TIntegerSpin::stepEnabled() const {
  if (isReadOnly()) return StepNone;
  if (!limits_ || limits_->Wrap) return StepUpEnabled | StepDownEnabled;
  StepEnabled enabled = StepNone;
  if (Value() < limits_->Max) enabled |= StepUpEnabled;
  if (Value() > limits_->Min) enabled |= StepDownEnabled;
  return enabled;
}

void TIntegerSpin::ReadText(const QString& text) {
  if (const auto value = ParseSpinInteger(text.toStdString(), NumberFormat())) value_ = *value;
}

QString TIntegerSpin::ValueText() const {
  return QString::fromStdString(SpinIntegerText(Value()));
}

bool TIntegerSpin::OutsideLimits() const {
  return Value() != value_;
}

}  // namespace quorvane
