#include "app/scale_dialog.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/dialog_parts.h"
#include "app/qt_text.h"
#include "app/radio_choice.h"
#include "controls/integer_spin.h"
#include "controls/real_spin.h"

namespace quorvane {

namespace {

enum TImageChoice { kInputImage = 0, kOutputImage = 1 };

TRealSpin* AddRealField(QGridLayout* grid, int row, const char* caption, const char* name) {
  QWidget* host = grid->parentWidget();
  auto* spin = new TRealSpin({.Increment = 1.0, .UnitText = "M"}, host);
  spin->setObjectName(name);
  auto* label = new QLabel(caption, host);
  label->setBuddy(spin);
  grid->addWidget(label, row, 0);
  grid->addWidget(spin, row, 1);
  return spin;
}

QGridLayout* AddGroup(QBoxLayout* layout, const char* caption) {
  auto* box = new QGroupBox(caption, layout->parentWidget());
  layout->addWidget(box);
  return new QGridLayout(box);
}

}  // namespace

TScaleDlg::TScaleDlg(QWidget* parent) : QDialog(parent) {
  setObjectName("ScaleDlg");
  setWindowTitle("Scale/Coordinates");
  pages_ = new QTabWidget(this);
  pages_->setObjectName("PageControl1");
  // All three page tabs in view: the dialog grows to fit them.
  pages_->setUsesScrollButtons(false);
  auto* scale_page = new QWidget;
  scale_page->setObjectName("ScalePage");
  auto* line_page = new QWidget;
  line_page->setObjectName("LinePage");
  auto* settings_page = new QWidget;
  settings_page->setObjectName("SettingsPage");
  pages_->addTab(scale_page, "Scale/Coordinates");
  pages_->addTab(line_page, "Scale-By-Line");
  pages_->addTab(settings_page, "Settings");
  BuildScalePage(scale_page);
  BuildLinePage(line_page);
  BuildSettingsPage(settings_page);

  auto* ok = new QPushButton("OK", this);
  ok->setObjectName("OKBtn");
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  auto* cancel = MakeButton(this, "Cancel", "CancelBtn");
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(pages_);
  layout->addLayout(buttons);
  // A fixed dialog border, at least the client area it was designed with.
  setMinimumSize(301, 278);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  // FormCreate: the first page is shown first.
  pages_->setCurrentIndex(0);
}

void TScaleDlg::BuildScalePage(QWidget* page) {
  auto* layout = new QVBoxLayout(page);
  QGridLayout* corner = AddGroup(layout, "Coordinates - Upper Left Corner");
  base_x_spin_ = AddRealField(corner, 0, "East", "BaseXSpin");
  base_y_spin_ = AddRealField(corner, 1, "North", "BaseYSpin");
  QGridLayout* scale = AddGroup(layout, "Scale - Per Pixel");
  scale_x_spin_ = AddRealField(scale, 0, "East", "ScaleXSpin");
  scale_y_spin_ = AddRealField(scale, 1, "North", "ScaleYSpin");

  QGridLayout* zone = AddGroup(layout, "UTM Zone");
  QWidget* zone_box = zone->parentWidget();
  zone_spin_ = new TIntegerSpin(
      {.Value = 31, .Limits = TIntegerLimits{.Min = kMinZone, .Max = kMaxZone}}, zone_box);
  zone_spin_->setObjectName("ZoneSpin");
  auto* zone_label = new QLabel("Zone", zone_box);
  zone_label->setBuddy(zone_spin_);
  // Down means the southern hemisphere; it stays down until pressed again.
  north_south_btn_ = MakeButton(zone_box, "South", "NorthSouthBtn");
  north_south_btn_->setCheckable(true);
  zone->addWidget(zone_label, 0, 0);
  zone->addWidget(zone_spin_, 0, 1);
  zone->addWidget(north_south_btn_, 0, 2);
  layout->addStretch();
}

void TScaleDlg::BuildLinePage(QWidget* page) {
  auto* layout = new QVBoxLayout(page);
  QGridLayout* grid = AddGroup(layout, "Scale By Line-Length");
  line_spin_ = AddRealField(grid, 0, "Real Length", "LineSpin");
  pixels_dis_ = AddDisplay(grid, 1, "Line Length - Pixels", "PixelsDis");
  line_scale_dis_ = AddDisplay(grid, 2, "Calculated Scake", "LineScaleDis");
  QWidget* box = grid->parentWidget();
  auto* use_east = MakeButton(box, "Use As East Scale", "UseEastBtn");
  auto* use_north = MakeButton(box, "Use As North Scale", "UseNorthBtn");
  auto* use_both = MakeButton(box, "Use As Both", "UseBothBtn");
  grid->addWidget(use_east, 3, 0, 1, 2);
  grid->addWidget(use_north, 4, 0, 1, 2);
  grid->addWidget(use_both, 5, 0, 1, 2);
  layout->addStretch();
  connect(line_spin_, &TRealSpin::Changed, this, &TScaleDlg::LineSpinChange);
  connect(use_east, &QPushButton::clicked, this, &TScaleDlg::UseEastBtnClick);
  connect(use_north, &QPushButton::clicked, this, &TScaleDlg::UseNorthBtnClick);
  connect(use_both, &QPushButton::clicked, this, &TScaleDlg::UseBothBtnClick);
}

void TScaleDlg::BuildSettingsPage(QWidget* page) {
  auto* layout = new QVBoxLayout(page);
  image_radio_ = AddRadioGroup(
      page,
      {.Caption = "Which Image", .Name = "ImageRadio", .Items = {"Input", "Output"}, .Columns = 2});
  QStringList units;
  for (const TScaleUnit& unit : ScaleUnits()) units << unit.Item;
  units_radio_ = AddRadioGroup(
      page, {.Caption = "Length Units", .Name = "UnitsRadio", .Items = units, .Columns = 2});
  layout->addWidget(RadioGroupBox(image_radio_));
  layout->addWidget(RadioGroupBox(units_radio_));
  layout->addStretch();
  OnChoiceChanged(image_radio_, this, [this](int) { ImageRadioClick(); });
  OnChoiceChanged(units_radio_, this, [this](int) { UnitsRadioClick(); });
}

bool TScaleDlg::OpenScaleDialog(TPane& input, TPane& output) {
  input_ = &input;
  output_ = &output;
  // The unit chosen last time is the model's already; Open takes its factor.
  model_.Open(ChosenPane().Measure, ChosenPane().GeoReference());
  ShowUnitText();
  ShowFields();
  const bool ok = exec() == QDialog::Accepted;
  if (ok) {
    ReadFields();
    model_.Store(ChosenPane().GeoReference());
  }
  input_ = output_ = nullptr;
  return ok;
}

TPane& TScaleDlg::ChosenPane() const {
  return image_radio_->checkedId() == kOutputImage ? *output_ : *input_;
}

void TScaleDlg::ShowUnitText() {
  const QString text = model_.UnitText();
  for (TRealSpin* spin : {base_x_spin_, base_y_spin_, scale_x_spin_, scale_y_spin_, line_spin_})
    spin->SetUnitText(text);
}

void TScaleDlg::ShowFields() {
  showing_ = true;
  base_x_spin_->SetValue(model_.BaseX);
  base_y_spin_->SetValue(model_.BaseY);
  scale_x_spin_->SetValue(model_.ScaleX);
  scale_y_spin_->SetValue(model_.ScaleY);
  line_spin_->SetValue(model_.LineLength);
  zone_spin_->SetValue(model_.Zone);
  north_south_btn_->setChecked(!model_.North);
  showing_ = false;
  pixels_dis_->setText(FromStd(model_.PixelsText(line_spin_->NumberFormat())));
  ShowLineScale();
}

void TScaleDlg::ShowLineScale() {
  line_scale_dis_->setText(FromStd(model_.LineScaleText(line_spin_->NumberFormat())));
}

void TScaleDlg::ReadFields() {
  model_.BaseX = base_x_spin_->Value();
  model_.BaseY = base_y_spin_->Value();
  model_.ScaleX = scale_x_spin_->Value();
  model_.ScaleY = scale_y_spin_->Value();
  model_.LineLength = line_spin_->Value();
  model_.SetZone(zone_spin_->Value());
  model_.North = !north_south_btn_->isChecked();
}

void TScaleDlg::ImageRadioClick() {
  // Outside OpenScaleDialog there is no image to show.
  if (!input_) return;
  model_.ImageRadioClick(ChosenPane().Measure, ChosenPane().GeoReference());
  ShowFields();
}

void TScaleDlg::UnitsRadioClick() {
  // What the user typed is converted, not what the fields showed at opening.
  ReadFields();
  model_.UnitsRadioClick(units_radio_->checkedId());
  ShowUnitText();
  showing_ = true;
  base_x_spin_->SetValue(model_.BaseX);
  base_y_spin_->SetValue(model_.BaseY);
  scale_x_spin_->SetValue(model_.ScaleX);
  scale_y_spin_->SetValue(model_.ScaleY);
  line_spin_->SetValue(model_.LineLength);
  showing_ = false;
  ShowLineScale();
}

void TScaleDlg::LineSpinChange() {
  if (showing_) return;
  model_.LineSpinChange(line_spin_->Value());
  ShowLineScale();
}

void TScaleDlg::UseEastBtnClick() {
  scale_x_spin_->SetValue(model_.LineScale());
}

void TScaleDlg::UseNorthBtnClick() {
  scale_y_spin_->SetValue(model_.LineScale());
}

void TScaleDlg::UseBothBtnClick() {
  UseEastBtnClick();
  UseNorthBtnClick();
}

}  // namespace quorvane
