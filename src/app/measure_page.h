#pragma once
// The "Measure" page: read-only fields for the cursor's and the last
// click's position, the measured length, area and azimuth, the datum list,
// and the choices of pane and units. The page shows texts it is given and
// reports clicks; the window decides what they mean.
#include <QWidget>

#include "geo/datums.h"
#include "geo/measure_readouts.h"

class QBoxLayout;
class QButtonGroup;
class QComboBox;
class QFormLayout;
class QGridLayout;
class QLineEdit;

namespace quorvane {

// Items of the "Image" choice.
enum class TMeasureImage { Input = 0, Output = 1 };

class TMeasurePage : public QWidget {
  Q_OBJECT
 public:
  explicit TMeasurePage(QWidget* parent = nullptr);

  void FillDatumList(const TDatumList& list);
  int DatumIndex() const;  // the list position
  TDatumChoice Datum() const;
  void SetDatum(TDatumChoice datum);
  QString DatumName() const;
  TMeasureImage Image() const;
  int LengthUnit() const;  // index into LengthUnits()
  int AreaUnit() const;    // index into AreaUnits()

  void ShowCursorCoordinates(const TCursorTexts& texts);
  void ShowLastPoint(const TLastPointTexts& texts);
  void ShowMeasurements(const TMeasurementTexts& texts);

 signals:
  // Another item of "Image", "Length Units" or "Area Units" was chosen, by
  // the mouse, the keyboard or an accessibility action.
  void ChoiceClicked();
  void ResetClicked();

 private:
  QGridLayout* AddGrid(QBoxLayout* page);
  QFormLayout* AddForm(QBoxLayout* page);
  QLineEdit* AddField(QGridLayout* grid, int row, int column, const char* caption,
                      const char* name);
  QLineEdit* AddRow(QFormLayout* form, const char* caption, const char* name);
  QLineEdit* AddBeside(QBoxLayout* row, const char* caption, const char* name, int stretch);
  QButtonGroup* AddChoice(QBoxLayout* page, const char* caption, const char* name,
                          const QStringList& items);

  QLineEdit* long_dis_;
  QLineEdit* lat_dis_;
  QLineEdit* long2_dis_;
  QLineEdit* lat2_dis_;
  QComboBox* datum_combo_;
  QLineEdit* east_dis_;
  QLineEdit* north_dis_;
  QLineEdit* last_east_dis_;
  QLineEdit* last_north_dis_;
  QLineEdit* azm_edit_;
  QLineEdit* zone_dis_;
  QLineEdit* crs_dis_;
  QLineEdit* length_dis_;
  QLineEdit* area_dis_;
  QButtonGroup* image_radio_;
  QButtonGroup* length_radio_;
  QButtonGroup* area_radio_;
};

}  // namespace quorvane
