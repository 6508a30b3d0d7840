#include "app/bands_dialog.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/dialog_parts.h"
#include "app/qt_text.h"

namespace quorvane {

namespace {

constexpr int kColour = 0, kGrey = 1;

QComboBox* AddBandCombo(QFormLayout* form, const char* caption, const char* name) {
  auto* combo = new QComboBox;
  combo->setObjectName(name);
  auto* label = new QLabel(caption);
  label->setBuddy(combo);
  form->addRow(label, combo);
  return combo;
}

int StretchIndex(TDisplayStretch stretch) {
  return stretch == TDisplayStretch::MinMax ? 1 : stretch == TDisplayStretch::None ? 2 : 0;
}

QTableWidgetItem* Cell(const std::string& text) {
  auto* item = new QTableWidgetItem(FromStd(text));
  item->setFlags(Qt::ItemIsEnabled);
  return item;
}

}  // namespace

TBandsDlg::TBandsDlg(QWidget* parent) : QDialog(parent) {
  setObjectName("BandsDlg");
  setWindowTitle("Bands");
  auto* layout = new QVBoxLayout(this);
  mode_group_ = AddRadioGroup(this, {.Caption = "Show",
                                     .Name = "ModeRadio",
                                     .Items = {"Colour (red, green, blue)", "Grey (one band)"},
                                     .Columns = 2});
  layout->addWidget(RadioGroupBox(mode_group_));
  auto* form = new QFormLayout;
  red_combo_ = AddBandCombo(form, "&Red:", "RedCombo");
  green_combo_ = AddBandCombo(form, "&Green:", "GreenCombo");
  blue_combo_ = AddBandCombo(form, "&Blue:", "BlueCombo");
  grey_combo_ = AddBandCombo(form, "Gr&ey:", "GreyCombo");
  layout->addLayout(form);
  stretch_group_ = AddRadioGroup(this, {.Caption = "Stretch",
                                        .Name = "StretchRadio",
                                        .Items = {"Cut 2% - 98%", "Min-max", "None"},
                                        .Columns = 3});
  layout->addWidget(RadioGroupBox(stretch_group_));
  band_table_ = new QTableWidget(0, 3);
  band_table_->setObjectName("BandTable");
  band_table_->setHorizontalHeaderLabels({"Minimum", "Maximum", "Nodata"});
  band_table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  auto* table_label = new QLabel("Band &values:");
  table_label->setBuddy(band_table_);
  layout->addWidget(table_label);
  layout->addWidget(band_table_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  buttons->button(QDialogButtonBox::Ok)->setObjectName("OKBtn");
  buttons->button(QDialogButtonBox::Cancel)->setObjectName("CancelBtn");
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  connect(mode_group_, &QButtonGroup::idToggled, this, [this](int, bool on) {
    if (on) ShowModeChange();
  });
}

void TBandsDlg::ShowModeChange() {
  const bool colour = mode_group_->checkedId() == kColour;
  for (QComboBox* combo : {red_combo_, green_combo_, blue_combo_}) combo->setEnabled(colour);
  grey_combo_->setEnabled(!colour);
}

void TBandsDlg::Load(const std::vector<TBandRowTexts>& rows, const TAnyTiffDisplay& shown) {
  band_table_->setRowCount(int(rows.size()));
  QStringList names;
  for (int r = 0; r < int(rows.size()); ++r) {
    const TBandRowTexts& row = rows[size_t(r)];
    names << FromStd(row.Name);
    band_table_->setItem(r, 0, Cell(row.Min));
    band_table_->setItem(r, 1, Cell(row.Max));
    band_table_->setItem(r, 2, Cell(row.NoData));
  }
  band_table_->setVerticalHeaderLabels(names);
  for (QComboBox* combo : {red_combo_, green_combo_, blue_combo_, grey_combo_}) {
    combo->clear();
    combo->addItems(names);
  }
  const std::vector<int>& bands = shown.Bands;
  const bool colour = bands.size() == 3;
  if (colour) {
    red_combo_->setCurrentIndex(bands[0]);
    green_combo_->setCurrentIndex(bands[1]);
    blue_combo_->setCurrentIndex(bands[2]);
  } else {
    grey_combo_->setCurrentIndex(bands.empty() ? 0 : bands[0]);
  }
  mode_group_->button(colour ? kColour : kGrey)->setChecked(true);
  stretch_group_->button(StretchIndex(shown.Stretch))->setChecked(true);
  ShowModeChange();
}

TAnyTiffDisplay TBandsDlg::Choice() const {
  TAnyTiffDisplay display;
  const int stretch = stretch_group_->checkedId();
  display.Stretch = stretch == 1   ? TDisplayStretch::MinMax
                    : stretch == 2 ? TDisplayStretch::None
                                   : TDisplayStretch::Cut;
  if (mode_group_->checkedId() == kColour) {
    display.Bands = {red_combo_->currentIndex(), green_combo_->currentIndex(),
                     blue_combo_->currentIndex()};
  } else {
    display.Bands = {grey_combo_->currentIndex()};
  }
  return display;
}

std::optional<TAnyTiffDisplay> TBandsDlg::Execute(const std::vector<TBandRowTexts>& rows,
                                                  const TAnyTiffDisplay& shown) {
  Load(rows, shown);
  if (exec() != QDialog::Accepted) return std::nullopt;
  return Choice();
}

}  // namespace quorvane
