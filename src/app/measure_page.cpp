#include "app/measure_page.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace quorvane {

namespace {

QLineEdit* ReadOnlyField(QWidget* parent, const char* name) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(name);
  edit->setReadOnly(true);
  // Narrower than Qt's default hint, so two fit side by side.
  edit->setMinimumWidth(20);
  return edit;
}

QString FromUtf8(const std::string& text) {
  return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// The fields are narrow: show a readout from its start (sign and leading
// digits), not from the cursor that setText leaves at its end.
void Show(QLineEdit* field, const std::string& text) {
  field->setText(FromUtf8(text));
  field->setCursorPosition(0);
}

QStringList LengthItems() {
  QStringList items;
  for (const TLengthUnit& unit : LengthUnits()) items << unit.Item;
  return items;
}

QStringList AreaItems() {
  QStringList items;
  for (const TAreaUnit& unit : AreaUnits()) items << unit.Item;
  return items;
}

}  // namespace

// Caption above field, so the page fits the narrow tool pane; the page
// scrolls when the window is too low for all of it.
QLineEdit* TMeasurePage::AddField(QGridLayout* grid, int row, int column, const char* caption,
                                  const char* name) {
  QWidget* host = grid->parentWidget();
  auto* label = new QLabel(caption, host);
  QLineEdit* edit = ReadOnlyField(host, name);
  label->setBuddy(edit);
  const int first = column == kWholeRow ? 0 : column;
  const int span = column == kWholeRow ? 2 : 1;
  grid->addWidget(label, row, first, 1, span);
  grid->addWidget(edit, row + 1, first, 1, span);
  return edit;
}

QButtonGroup* TMeasurePage::AddChoice(QGridLayout* grid, int row, const char* caption,
                                      const char* name, const QStringList& items) {
  QWidget* host = grid->parentWidget();
  auto* box = new QGroupBox(caption, host);
  box->setObjectName(name);
  auto* buttons = new QButtonGroup(box);
  auto* layout = new QVBoxLayout(box);
  for (int i = 0; i < items.size(); ++i) {
    auto* radio = new QRadioButton(items[i], box);
    buttons->addButton(radio, i);
    layout->addWidget(radio);
  }
  buttons->button(0)->setChecked(true);
  connect(buttons, &QButtonGroup::idClicked, this, [this] { emit ChoiceClicked(); });
  grid->addWidget(box, row, 0, 1, 2);
  return buttons;
}

TMeasurePage::TMeasurePage(QWidget* parent) : QWidget(parent) {
  setObjectName("MeasurePage");
  auto* scroll = new QScrollArea(this);
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  auto* content = new QWidget(scroll);
  auto* grid = new QGridLayout(content);
  grid->setContentsMargins(2, 2, 2, 2);

  // Short captions share a row; long ones and the choices take the width.
  long_dis_ = AddField(grid, 0, 0, "Longitude", "LongDIs");
  lat_dis_ = AddField(grid, 0, 1, "Latitude", "LatDis");
  // The degrees-minutes-seconds fields sit below the decimal ones without a
  // caption of their own; screen readers name them after the column.
  long2_dis_ = ReadOnlyField(content, "Long2Dis");
  long2_dis_->setAccessibleName("Longitude");
  lat2_dis_ = ReadOnlyField(content, "Lat2Dis");
  lat2_dis_->setAccessibleName("Latitude");
  grid->addWidget(long2_dis_, 2, 0);
  grid->addWidget(lat2_dis_, 2, 1);

  auto* datum_label = new QLabel("Datum", content);
  datum_combo_ = new QComboBox(content);
  datum_combo_->setObjectName("DatumCombo");
  datum_combo_->setMinimumContentsLength(8);
  datum_combo_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  datum_label->setBuddy(datum_combo_);
  grid->addWidget(datum_label, 3, 0, 1, 2);
  grid->addWidget(datum_combo_, 4, 0, 1, 2);

  east_dis_ = AddField(grid, 5, kWholeRow, "Cursor East", "EastDis");
  north_dis_ = AddField(grid, 7, kWholeRow, "Cursor North", "NorthDis");
  last_east_dis_ = AddField(grid, 9, kWholeRow, "Last East", "LastEastDis");
  last_north_dis_ = AddField(grid, 11, kWholeRow, "Last North", "LastNorthDis");
  azm_edit_ = AddField(grid, 13, 0, "Azimuth", "AzmEdit");
  zone_dis_ = AddField(grid, 13, 1, "Zone", "ZoneDis");
  length_dis_ = AddField(grid, 15, 0, "Length", "LengthDis");
  area_dis_ = AddField(grid, 15, 1, "Area", "AreaDis");

  image_radio_ = AddChoice(grid, 17, "Image", "ImageRadio", {"Input", "Output"});
  length_radio_ = AddChoice(grid, 18, "Length Units", "LengthRadio", LengthItems());
  area_radio_ = AddChoice(grid, 19, "Area Units", "AreaRadio", AreaItems());

  auto* reset = new QPushButton("Reset Measurements", content);
  reset->setObjectName("ResetMeasureBtn");
  connect(reset, &QPushButton::clicked, this, &TMeasurePage::ResetClicked);
  grid->addWidget(reset, 20, 0, 1, 2);
  // The file's coordinate system by its short name ("EPSG:3857").
  crs_dis_ = AddField(grid, 21, kWholeRow, "Coordinate System", "CrsDis");
  grid->setRowStretch(23, 1);

  scroll->setWidget(content);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(scroll);
}

void TMeasurePage::FillDatumList(const TDatumList& list) {
  datum_combo_->clear();
  for (const std::string& name : list.Names) datum_combo_->addItem(FromUtf8(name));
  datum_combo_->setCurrentIndex(list.Selected);
}

int TMeasurePage::DatumIndex() const {
  return datum_combo_->currentIndex();
}

void TMeasurePage::SetDatumIndex(int index) {
  datum_combo_->setCurrentIndex(index);
}

QString TMeasurePage::DatumName() const {
  return datum_combo_->currentText();
}

TMeasureImage TMeasurePage::Image() const {
  return image_radio_->checkedId() == 1 ? TMeasureImage::Output : TMeasureImage::Input;
}

int TMeasurePage::LengthUnit() const {
  return length_radio_->checkedId();
}

int TMeasurePage::AreaUnit() const {
  return area_radio_->checkedId();
}

void TMeasurePage::ShowCursorCoordinates(const TCursorTexts& texts) {
  Show(east_dis_, texts.EastText);
  Show(north_dis_, texts.NorthText);
  Show(long_dis_, texts.LongitudeText);
  Show(lat_dis_, texts.LatitudeText);
  Show(long2_dis_, texts.LongitudeDms);
  Show(lat2_dis_, texts.LatitudeDms);
  Show(zone_dis_, texts.ZoneText);
  Show(crs_dis_, texts.CrsText);
}

void TMeasurePage::ShowLastPoint(const TLastPointTexts& texts) {
  Show(last_east_dis_, texts.EastText);
  Show(last_north_dis_, texts.NorthText);
}

void TMeasurePage::ShowMeasurements(const TMeasurementTexts& texts) {
  Show(length_dis_, texts.LengthText);
  Show(area_dis_, texts.AreaText);
  Show(azm_edit_, texts.AzimuthText);
}

}  // namespace quorvane
