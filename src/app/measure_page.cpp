#include "app/measure_page.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "app/radio_choice.h"

namespace quorvane {

namespace {

// A read-only field narrower than Qt's default hint, so two fit side by
// side, and a little lower, so that every readout of the page fits the tool
// pane: its line of text, a pixel above and below it and the frame.
class TReadoutField : public QLineEdit {
 public:
  using QLineEdit::QLineEdit;
  QSize sizeHint() const override { return {QLineEdit::sizeHint().width(), CompactHeight()}; }
  QSize minimumSizeHint() const override { return {kMinimumWidth, CompactHeight()}; }

 private:
  static constexpr int kMinimumWidth = 20;
  static constexpr int kPadding = 7;
  int CompactHeight() const { return fontMetrics().height() + kPadding; }
};

QLineEdit* ReadOnlyField(QWidget* parent, const char* name) {
  auto* edit = new TReadoutField(parent);
  edit->setObjectName(name);
  edit->setReadOnly(true);
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

// Caption above field, for the pairs that share a row of the narrow tool
// pane.
QLineEdit* TMeasurePage::AddField(QGridLayout* grid, int row, int column, const char* caption,
                                  const char* name) {
  QWidget* host = grid->parentWidget();
  auto* label = new QLabel(caption, host);
  QLineEdit* edit = ReadOnlyField(host, name);
  label->setBuddy(edit);
  grid->addWidget(label, row, column);
  grid->addWidget(edit, row + 1, column);
  return edit;
}

// Caption beside field, for the readouts that take the whole width.
QLineEdit* TMeasurePage::AddRow(QFormLayout* form, const char* caption, const char* name) {
  QLineEdit* edit = ReadOnlyField(form->parentWidget(), name);
  form->addRow(caption, edit);
  return edit;
}

QLineEdit* TMeasurePage::AddBeside(QBoxLayout* row, const char* caption, const char* name,
                                   int stretch) {
  auto* label = new QLabel(caption);
  QLineEdit* edit = ReadOnlyField(nullptr, name);
  label->setBuddy(edit);
  row->addWidget(label);
  row->addWidget(edit, stretch);
  return edit;
}

// The items fill two columns row by row.
QButtonGroup* TMeasurePage::AddChoice(QBoxLayout* page, const char* caption, const char* name,
                                      const QStringList& items) {
  constexpr int kColumns = 2;
  auto* box = new QGroupBox(caption);
  box->setObjectName(name);
  auto* buttons = new QButtonGroup(box);
  auto* layout = new QGridLayout(box);
  layout->setContentsMargins(2, 0, 2, 0);
  layout->setVerticalSpacing(0);
  for (int i = 0; i < items.size(); ++i) {
    auto* radio = new QRadioButton(items[i], box);
    buttons->addButton(radio, i);
    layout->addWidget(radio, i / kColumns, i % kColumns);
  }
  buttons->button(0)->setChecked(true);
  OnChoiceChanged(buttons, this, [this](int) { emit ChoiceClicked(); });
  page->addWidget(box);
  return buttons;
}

QGridLayout* TMeasurePage::AddGrid(QBoxLayout* page) {
  auto* grid = new QGridLayout;
  grid->setVerticalSpacing(0);
  grid->setHorizontalSpacing(2);
  page->addLayout(grid);
  return grid;
}

QFormLayout* TMeasurePage::AddForm(QBoxLayout* page) {
  auto* form = new QFormLayout;
  form->setVerticalSpacing(0);
  form->setHorizontalSpacing(4);
  form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
  page->addLayout(form);
  return form;
}

// The page is laid out to show every control and every readout's whole
// text in the tool pane at the window's start size, with room for one more
// readout row; it scrolls when the window is made lower.
TMeasurePage::TMeasurePage(QWidget* parent) : QWidget(parent) {
  setObjectName("MeasurePage");
  auto* scroll = new QScrollArea(this);
  scroll->setWidgetResizable(true);
  scroll->setFrameShape(QFrame::NoFrame);
  auto* content = new QWidget(scroll);
  auto* page = new QVBoxLayout(content);
  page->setContentsMargins(2, 0, 2, 0);
  page->setSpacing(1);

  QGridLayout* position = AddGrid(page);
  long_dis_ = AddField(position, 0, 0, "Longitude", "LongDIs");
  lat_dis_ = AddField(position, 0, 1, "Latitude", "LatDis");
  // The degrees-minutes-seconds fields sit below the decimal ones without a
  // caption of their own; screen readers name them after the column.
  long2_dis_ = ReadOnlyField(content, "Long2Dis");
  long2_dis_->setAccessibleName("Longitude");
  lat2_dis_ = ReadOnlyField(content, "Lat2Dis");
  lat2_dis_->setAccessibleName("Latitude");
  position->addWidget(long2_dis_, 2, 0);
  position->addWidget(lat2_dis_, 2, 1);
  auto* datum_label = new QLabel("Datum", content);
  datum_combo_ = new QComboBox(content);
  datum_combo_->setObjectName("DatumCombo");
  datum_combo_->setMinimumContentsLength(8);
  datum_combo_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  datum_label->setBuddy(datum_combo_);
  position->addWidget(datum_label, 3, 0, 1, 2);
  position->addWidget(datum_combo_, 4, 0, 1, 2);

  QFormLayout* map = AddForm(page);
  east_dis_ = AddRow(map, "Cursor East", "EastDis");
  north_dis_ = AddRow(map, "Cursor North", "NorthDis");
  last_east_dis_ = AddRow(map, "Last East", "LastEastDis");
  last_north_dis_ = AddRow(map, "Last North", "LastNorthDis");

  // Azimuth and zone share a row, each caption beside its field.
  auto* line = new QHBoxLayout;
  line->setSpacing(2);
  azm_edit_ = AddBeside(line, "Azimuth", "AzmEdit", 3);
  zone_dis_ = AddBeside(line, "Zone", "ZoneDis", 2);
  page->addLayout(line);
  QFormLayout* measured = AddForm(page);
  length_dis_ = AddRow(measured, "Length", "LengthDis");
  area_dis_ = AddRow(measured, "Area", "AreaDis");

  // The choices take the whole width, their items in two columns: the
  // groups' captions are too wide for two groups side by side.
  image_radio_ = AddChoice(page, "Image", "ImageRadio", {"Input", "Output"});
  length_radio_ = AddChoice(page, "Length Units", "LengthRadio", LengthItems());
  area_radio_ = AddChoice(page, "Area Units", "AreaRadio", AreaItems());

  auto* reset = new QPushButton("Reset Measurements", content);
  reset->setObjectName("ResetMeasureBtn");
  connect(reset, &QPushButton::clicked, this, &TMeasurePage::ResetClicked);
  page->addWidget(reset);
  // The file's coordinate system by its short name ("EPSG:3857").
  QFormLayout* system = AddForm(page);
  crs_dis_ = AddRow(system, "Coordinate System", "CrsDis");
  // Spare height stays below the controls, which keep their natural size.
  page->addStretch(1);

  scroll->setWidget(content);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(scroll);
}

void TMeasurePage::FillDatumList(const TDatumList& list) {
  datum_combo_->clear();
  for (const std::string& name : list.Names) datum_combo_->addItem(FromUtf8(name));
  SetDatum(list.Selected);
}

int TMeasurePage::DatumIndex() const {
  return datum_combo_->currentIndex();
}

TDatumChoice TMeasurePage::Datum() const {
  return DatumAtPosition(DatumIndex());
}

void TMeasurePage::SetDatum(TDatumChoice datum) {
  datum_combo_->setCurrentIndex(int(datum));
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
