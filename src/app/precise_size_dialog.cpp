#include "app/precise_size_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "controls/integer_spin.h"
#include "about/help_commands.h"

namespace quorvane {

namespace {

TIntegerSpin* SizeSpin(const char* name, QWidget* parent) {
  // Step 1 and no limits: any size may be typed, negative ones included.
  auto* spin = new TIntegerSpin({.Value = 0, .Increment = 1}, parent);
  spin->setObjectName(name);
  return spin;
}

QPushButton* Button(const QString& caption, const char* name, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  return button;
}

}  // namespace

TPreciseSizeDlg::TPreciseSizeDlg(QWidget* parent) : QDialog(parent) {
  setObjectName("PreciseSizeDlg");
  setWindowTitle("Precise Sizing");
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
  auto* form = new QFormLayout;
  width_spin_ = SizeSpin("WidthSpin", this);
  height_spin_ = SizeSpin("HeightSpin", this);
  auto* width_label = new QLabel("Width", this);
  width_label->setObjectName("Label1");
  auto* height_label = new QLabel("Height", this);
  height_label->setObjectName("Label2");
  width_label->setBuddy(width_spin_);
  height_label->setBuddy(height_spin_);
  form->addRow(width_label, width_spin_);
  form->addRow(height_label, height_spin_);
  aspect_chk_ = new QCheckBox("Keep Aspect Ratio", this);
  aspect_chk_->setObjectName("AspectChk");
  aspect_chk_->setChecked(model_.KeepAspect);

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = Button("OK", "OKBtn", this);
  QPushButton* cancel = Button("Cancel", "CancelBtn", this);
  QPushButton* help = Button("Help", "BitBtn1", this);
  ok->setDefault(true);
  buttons->addButton(ok, QDialogButtonBox::AcceptRole);
  buttons->addButton(cancel, QDialogButtonBox::RejectRole);
  buttons->addButton(help, QDialogButtonBox::HelpRole);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(aspect_chk_);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(help, &QPushButton::clicked, this,
          [this] { emit HelpRequested(kHelpContextPreciseSizing); });
  connect(width_spin_, &TSpinEdit::Changed, this, &TPreciseSizeDlg::WidthSpinChange);
  connect(height_spin_, &TSpinEdit::Changed, this, &TPreciseSizeDlg::HeightSpinChange);
  connect(aspect_chk_, &QCheckBox::toggled, this, [this](bool on) { model_.KeepAspect = on; });
}

std::optional<TNewSizeTexts> TPreciseSizeDlg::Execute(TSizingState& sizing) {
  model_.KeepAspect = aspect_chk_->isChecked();
  model_.Open(sizing);
  // Both fields, also one whose text was left unreadable last time.
  writing_ = true;
  width_spin_->SetValue(model_.Width);
  height_spin_->SetValue(model_.Height);
  writing_ = false;
  width_spin_->setFocus();
  width_spin_->selectAll();
  if (exec() != QDialog::Accepted) return std::nullopt;
  return model_.Accept(sizing);
}

void TPreciseSizeDlg::WidthSpinChange() {
  if (writing_) return;
  model_.WidthSpinChange(width_spin_->Value());
  ShowModel();
}

void TPreciseSizeDlg::HeightSpinChange() {
  if (writing_) return;
  model_.HeightSpinChange(height_spin_->Value());
  ShowModel();
}

// Only the field that differs is written, so the one being typed keeps its
// text (and its cursor) as the user left it.
void TPreciseSizeDlg::ShowModel() {
  writing_ = true;
  if (width_spin_->Value() != model_.Width) width_spin_->SetValue(model_.Width);
  if (height_spin_->Value() != model_.Height) height_spin_->SetValue(model_.Height);
  writing_ = false;
}

}  // namespace quorvane
