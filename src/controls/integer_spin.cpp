#include "controls/integer_spin.h"

#include <QKeyEvent>
#include <QStyle>
#include <algorithm>
#include <limits>

namespace quorvane {

TIntegerSpin::TIntegerSpin(const TIntegerSpinOptions& options, QWidget* parent)
    : QLineEdit(parent), increment_(options.Increment), limits_(options.Limits) {
  buttons_ = new TIncSpin({.Timing = options.Timing}, this);
  buttons_->setObjectName("Buttons");
  // The arrows sit inside the edit; only the edit takes the keyboard.
  buttons_->setFocusPolicy(Qt::NoFocus);
  buttons_->setCursor(Qt::ArrowCursor);
  setTextMargins(0, 0, buttons_->sizeHint().width(), 0);
  connect(this, &QLineEdit::textChanged, this, &TIntegerSpin::TextChanged);
  connect(buttons_, &TIncSpin::UpClick, this, [this] { Step(+1); });
  connect(buttons_, &TIncSpin::DownClick, this, [this] { Step(-1); });
  SetValue(options.Value);
}

std::optional<int> TIntegerSpin::ParseInteger(const QString& text) {
  bool ok = false;
  const int value = text.trimmed().toInt(&ok, 10);
  if (!ok) return std::nullopt;
  return value;
}

int TIntegerSpin::Limit(int64_t value) const {
  int64_t low = std::numeric_limits<int>::min(), high = std::numeric_limits<int>::max();
  if (limits_) {
    low = std::min(limits_->Min, limits_->Max);
    high = std::max(limits_->Min, limits_->Max);
  }
  return int(std::clamp(value, low, high));
}

void TIntegerSpin::SetValue(int value) {
  value_ = Limit(value);
  setText(QString::number(value_));
}

void TIntegerSpin::SetLimits(const std::optional<TIntegerLimits>& limits) {
  limits_ = limits;
  if (Limit(value_) != value_) SetValue(value_);
}

// The value follows the text before anyone hears of the change, so a
// handler of Changed reads the new value.
void TIntegerSpin::TextChanged(const QString& text) {
  if (const std::optional<int> parsed = ParseInteger(text)) value_ = Limit(*parsed);
  emit Changed();
}

void TIntegerSpin::Step(int64_t direction) {
  SetValue(Limit(value_ + direction * increment_));
}

void TIntegerSpin::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Up) {
    Step(+1);
  } else if (event->key() == Qt::Key_Down) {
    Step(-1);
  } else {
    QLineEdit::keyPressEvent(event);
  }
}

void TIntegerSpin::resizeEvent(QResizeEvent* event) {
  QLineEdit::resizeEvent(event);
  const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
  const int width = buttons_->sizeHint().width();
  buttons_->setGeometry(this->width() - frame - width, frame, width, height() - 2 * frame);
}

}  // namespace quorvane
