#pragma once
// The "Resize" page: the stretch and crop buttons on its top strip, the
// requested size with its step and the spin button that changes it, the
// unit and increment choices, "Force To 24-Bit", "Reset" and the sharpness
// choice. The page shows the sizing texts it is given and reports clicks;
// the window runs the commands behind them.
#include <QStringList>
#include <QWidget>

#include "document/resize_driver.h"
#include "document/sizing_state.h"

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace quorvane {

class TIncSpin;
class TSpeedButton;

class TResizePage : public QWidget {
  Q_OBJECT
 public:
  explicit TResizePage(QWidget* parent = nullptr);

  // The chosen item of "Increment" read as a number.
  int Increment() const;
  TSizeUnits Units() const;
  TSharpness Sharpness() const;
  bool Force24Bit() const;

  // ImageSizeDis, IncUnitsDis and PercentDis.
  void ShowNewSize(const TNewSizeTexts& texts);

  TSpeedButton* StretchBtn() const { return stretch_btn_; }
  TSpeedButton* ClipBtn() const { return clip_btn_; }
  TIncSpin* IncSpin() const { return inc_spin_; }

 signals:
  void StretchClicked();
  void ClipClicked();
  void IncUpClicked();
  void IncDownClicked();
  void UnitsClicked();
  void ResetClicked();

 private:
  // A radio group: its caption and items, the item chosen at start, and
  // how many items share a row.
  struct TChoice {
    const char* Caption;
    const char* Name;
    QStringList Items;
    int Chosen = 0;
    int Columns = 1;
  };
  QWidget* BuildButtonStrip(QWidget* host);
  QGroupBox* BuildSizeGroup(QWidget* host);
  QGroupBox* AddChoice(QWidget* host, const TChoice& choice, QButtonGroup** group);

  TSpeedButton* stretch_btn_ = nullptr;
  TSpeedButton* clip_btn_ = nullptr;
  QLabel* image_size_dis_ = nullptr;
  QLabel* inc_units_dis_ = nullptr;
  QLabel* percent_dis_ = nullptr;
  TIncSpin* inc_spin_ = nullptr;
  QButtonGroup* units_radio_ = nullptr;
  QButtonGroup* inc_radio_ = nullptr;
  QCheckBox* force24_chk_ = nullptr;
  QPushButton* reset_size_btn_ = nullptr;
  QButtonGroup* sharp_group_ = nullptr;
};

}  // namespace quorvane
