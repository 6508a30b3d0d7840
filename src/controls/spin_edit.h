#pragma once
// The common part of the number spin edits: a one-line edit with up and
// down buttons and a unit text beside the number. Typed keys are limited to
// what can make a number (others are refused with a beep), the Up and Down
// buttons and arrow keys step the value, ten steps at a time with Ctrl, and
// every change of the text, typed or set, fires Changed(). Text that does
// not read as a number leaves the last valid value in force; leaving the
// field empty puts that value back.
#include <QAbstractSpinBox>
#include <QLocale>

#include "typing/spin_edit_rules.h"

class QLabel;

namespace quorvane {

// The separators of the user's regional settings.
TNumberFormat LocaleNumberFormat(const QLocale& locale = QLocale());

class TSpinEdit : public QAbstractSpinBox {
  Q_OBJECT
 public:
  QString UnitText() const;
  void SetUnitText(const QString& text);
  const TNumberFormat& NumberFormat() const { return format_; }
  // The text as shown, without the unit.
  QString Text() const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 signals:
  void Changed();

 protected:
  TSpinEdit(TSpinNumberKind kind, const TNumberFormat& format, QWidget* parent);

  // The edit's text changed: the last valid value follows it when it reads.
  virtual void ReadText(const QString& text) = 0;
  // The last valid value as text, within the limits.
  virtual QString ValueText() const = 0;
  // Whether the text shows a value beyond the limits, to be corrected when
  // the field is left.
  virtual bool OutsideLimits() const = 0;

  // Shows `text` without reading it back: the value set stays exact even
  // where its text is rounded to 15 digits.
  void WriteText(const QString& text);
  // The value set, as text; outside a focused field its start in view.
  void ShowValueText();

  void keyPressEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  // Any text may stand in the field while it is edited.
  QValidator::State validate(QString& input, int& pos) const override;
  void fixup(QString& input) const override;

 private:
  void OnTextChanged(const QString& text);
  void PlaceUnit();

  TSpinNumberKind kind_;
  TNumberFormat format_;
  QLabel* unit_ = nullptr;
  bool writing_ = false;
};

}  // namespace quorvane
