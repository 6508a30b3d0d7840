#include "app/resize_page.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "app/qt_text.h"
#include "app/radio_choice.h"
#include "app/resize_icons.h"
#include "controls/inc_spin.h"
#include "controls/speed_button.h"

namespace quorvane {

namespace {

// The order of the "Units" and "Sharpness" items.
constexpr int kPercentItem = 0;
constexpr int kPixelsItem = 1;
constexpr int kSharpItem = 2;

QLabel* SunkenPanel(const QString& text, const char* name, QWidget* parent) {
  auto* panel = new QLabel(text, parent);
  panel->setObjectName(name);
  panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  return panel;
}

QStringList IncrementItems() {
  QStringList items;
  for (int increment : kSizeIncrements) items << QString::number(increment);
  return items;
}

int DefaultIncrementItem() {
  for (size_t i = 0; i < kSizeIncrements.size(); ++i)
    if (kSizeIncrements[i] == kDefaultSizeIncrement) return int(i);
  return 0;
}

}  // namespace

// The page scrolls when the window is too low for all of it.
TResizePage::TResizePage(QWidget* parent) : QWidget(parent) {
  setObjectName("ResizePage");
  auto* scroll = new QScrollArea(this);
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  auto* content = new QWidget(scroll);
  auto* layout = new QVBoxLayout(content);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->setSpacing(3);
  layout->addWidget(BuildButtonStrip(content));
  layout->addWidget(BuildSizeGroup(content));
  // Short items share rows, so the page fits the narrow tool pane.
  layout->addWidget(
      AddChoice(content, {"Units", "UnitsRadio", {"%", "Pixels"}, kPercentItem, 2}, &units_radio_));
  layout->addWidget(
      AddChoice(content, {"Increment", "IncRadio", IncrementItems(), DefaultIncrementItem(), 3},
                &inc_radio_));
  force24_chk_ = new QCheckBox("Force To 24-Bit", content);
  force24_chk_->setObjectName("Force24BitChk");
  layout->addWidget(force24_chk_);
  reset_size_btn_ = new QPushButton("Reset", content);
  reset_size_btn_->setObjectName("ResetSizeBtn");
  layout->addWidget(reset_size_btn_);
  layout->addWidget(
      AddChoice(content, {"Sharpness", "SharpGroup", {"Soft", "Medium", "Sharp"}, kSharpItem, 1},
                &sharp_group_));
  layout->addStretch();
  scroll->setWidget(content);
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->addWidget(scroll);

  OnChoiceChanged(units_radio_, this, [this](int) { emit UnitsClicked(); });
  connect(reset_size_btn_, &QPushButton::clicked, this, &TResizePage::ResetClicked);
}

QWidget* TResizePage::BuildButtonStrip(QWidget* host) {
  auto* strip = new QFrame(host);
  strip->setObjectName("Panel5");
  auto* row = new QHBoxLayout(strip);
  row->setContentsMargins(2, 2, 2, 2);
  stretch_btn_ = new TSpeedButton({.Hint = "Stretch"}, strip);
  stretch_btn_->setObjectName("StretchBtn");
  stretch_btn_->setIcon(StretchIcon());
  clip_btn_ = new TSpeedButton({.Hint = "Crop Image"}, strip);
  clip_btn_->setObjectName("ClipBtn");
  clip_btn_->setIcon(CropIcon());
  row->addWidget(stretch_btn_);
  row->addWidget(clip_btn_);
  row->addStretch();
  connect(stretch_btn_, &QToolButton::clicked, this, &TResizePage::StretchClicked);
  connect(clip_btn_, &QToolButton::clicked, this, &TResizePage::ClipClicked);
  return strip;
}

// " Image Size": the requested size under its caption, then the unit of
// the step and the step itself with the spin button at its right edge.
QGroupBox* TResizePage::BuildSizeGroup(QWidget* host) {
  auto* group = new QGroupBox(" Image Size", host);
  group->setObjectName("GroupBox1");
  auto* column = new QVBoxLayout(group);
  auto* caption = new QLabel("New Size", group);
  caption->setObjectName("Label6");
  image_size_dis_ = SunkenPanel(" 0 x 0", "ImageSizeDis", group);
  caption->setBuddy(image_size_dis_);
  inc_units_dis_ = new QLabel("Percent", group);
  inc_units_dis_->setObjectName("IncUnitsDis");
  percent_dis_ = SunkenPanel(" 0", "PercentDis", group);
  inc_units_dis_->setBuddy(percent_dis_);
  inc_spin_ = new TIncSpin({}, percent_dis_);
  inc_spin_->setObjectName("IncSpin");
  inc_spin_->setFixedWidth(inc_spin_->sizeHint().width());
  auto* inside = new QHBoxLayout(percent_dis_);
  inside->setContentsMargins(0, 0, 0, 0);
  inside->addStretch();
  inside->addWidget(inc_spin_);
  percent_dis_->setMinimumHeight(inc_spin_->sizeHint().height());
  // The spin button inside would make the panel take any spare height of
  // the page; it keeps its own.
  percent_dis_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
  column->addWidget(caption);
  column->addWidget(image_size_dis_);
  column->addWidget(inc_units_dis_);
  column->addWidget(percent_dis_);
  connect(inc_spin_, &TIncSpin::UpClick, this, &TResizePage::IncUpClicked);
  connect(inc_spin_, &TIncSpin::DownClick, this, &TResizePage::IncDownClicked);
  return group;
}

// The items fill the columns top to bottom.
QGroupBox* TResizePage::AddChoice(QWidget* host, const TChoice& choice, QButtonGroup** group) {
  auto* box = new QGroupBox(choice.Caption, host);
  box->setObjectName(choice.Name);
  *group = new QButtonGroup(box);
  auto* grid = new QGridLayout(box);
  const int rows = int((choice.Items.size() + choice.Columns - 1) / choice.Columns);
  for (int i = 0; i < choice.Items.size(); ++i) {
    auto* radio = new QRadioButton(choice.Items[i], box);
    (*group)->addButton(radio, i);
    grid->addWidget(radio, i % rows, i / rows);
  }
  (*group)->button(choice.Chosen)->setChecked(true);
  return box;
}

int TResizePage::Increment() const {
  const QAbstractButton* item = inc_radio_->checkedButton();
  return item ? item->text().toInt() : kDefaultSizeIncrement;
}

TSizeUnits TResizePage::Units() const {
  return units_radio_->checkedId() == kPixelsItem ? TSizeUnits::Pixels : TSizeUnits::Percent;
}

TSharpness TResizePage::Sharpness() const {
  switch (sharp_group_->checkedId()) {
    case 0:
      return TSharpness::Soft;
    case 1:
      return TSharpness::Medium;
    default:
      return TSharpness::Sharp;
  }
}

bool TResizePage::Force24Bit() const {
  return force24_chk_->isChecked();
}

void TResizePage::ShowNewSize(const TNewSizeTexts& texts) {
  image_size_dis_->setText(FromStd(texts.ImageSize));
  inc_units_dis_->setText(FromStd(texts.Units));
  percent_dis_->setText(FromStd(texts.Step));
}

}  // namespace quorvane
