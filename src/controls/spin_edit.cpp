#include "controls/spin_edit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

namespace quorvane {

namespace {
constexpr int kUnitGap = 3;  // pixels between the number's room and the unit text
}  // namespace

TNumberFormat LocaleNumberFormat(const QLocale& locale) {
  return {.DecimalSeparator = locale.decimalPoint().toStdString(),
          .ThousandSeparator = locale.groupSeparator().toStdString()};
}

TSpinEdit::TSpinEdit(TSpinNumberKind kind, const TNumberFormat& format, QWidget* parent)
    : QAbstractSpinBox(parent), kind_(kind), format_(format) {
  setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  unit_ = new QLabel(lineEdit());
  unit_->setAttribute(Qt::WA_TransparentForMouseEvents);
  unit_->hide();
  connect(lineEdit(), &QLineEdit::textChanged, this, &TSpinEdit::OnTextChanged);
}

QString TSpinEdit::UnitText() const {
  return unit_->text();
}

void TSpinEdit::SetUnitText(const QString& text) {
  unit_->setText(text);
  unit_->setVisible(!text.isEmpty());
  PlaceUnit();
  updateGeometry();
}

QString TSpinEdit::Text() const {
  return lineEdit()->text();
}

void TSpinEdit::WriteText(const QString& text) {
  writing_ = true;
  lineEdit()->setText(text);
  writing_ = false;
}

void TSpinEdit::OnTextChanged(const QString& text) {
  if (!writing_) ReadText(text);
  emit Changed();
}

void TSpinEdit::keyPressEvent(QKeyEvent* event) {
  const bool up = event->key() == Qt::Key_Up;
  if (up || event->key() == Qt::Key_Down) {
    event->accept();
    if (!isReadOnly()) stepBy(SpinSteps(up, event->modifiers() & Qt::ControlModifier));
    return;
  }
  const std::string typed = event->text().toStdString();
  const bool chord =
      event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
  if (JudgeSpinKey({typed, chord}, kind_, format_) == TSpinKeyVerdict::Refuse) {
    event->accept();
    QApplication::beep();
    return;
  }
  // Enter among them: the spin box passes it on to the dialog's default
  // button, as it does for every spin box.
  QAbstractSpinBox::keyPressEvent(event);
}

void TSpinEdit::focusOutEvent(QFocusEvent* event) {
  if (lineEdit()->text().trimmed().isEmpty() || OutsideLimits()) WriteText(ValueText());
  QAbstractSpinBox::focusOutEvent(event);
}

QValidator::State TSpinEdit::validate(QString&, int&) const {
  return QValidator::Intermediate;
}

void TSpinEdit::fixup(QString&) const {}

void TSpinEdit::resizeEvent(QResizeEvent* event) {
  QAbstractSpinBox::resizeEvent(event);
  PlaceUnit();
}

void TSpinEdit::changeEvent(QEvent* event) {
  QAbstractSpinBox::changeEvent(event);
  if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) PlaceUnit();
}

// The unit text sits at the right end of the edit field; the number's text
// keeps clear of it.
void TSpinEdit::PlaceUnit() {
  QLineEdit* edit = lineEdit();
  if (unit_->text().isEmpty()) {
    edit->setTextMargins(0, 0, 0, 0);
    return;
  }
  const int width = unit_->sizeHint().width();
  edit->setTextMargins(0, 0, width + kUnitGap, 0);
  unit_->setGeometry(edit->width() - width - 1, 0, width, edit->height());
}

QSize TSpinEdit::sizeHint() const {
  // Room for a number of the usual length, and the unit.
  QSize hint = QAbstractSpinBox::sizeHint();
  const QFontMetrics metrics(font());
  hint.rwidth() += metrics.horizontalAdvance(QStringLiteral("-0000000.000"));
  if (!unit_->text().isEmpty()) hint.rwidth() += unit_->sizeHint().width() + kUnitGap;
  return hint;
}

QSize TSpinEdit::minimumSizeHint() const {
  QSize hint = QAbstractSpinBox::minimumSizeHint();
  if (!unit_->text().isEmpty()) hint.rwidth() += unit_->sizeHint().width() + kUnitGap;
  return hint;
}

}  // namespace quorvane
