#pragma once
// "Scale/Coordinates": the georeference of either image set by hand, or its
// pixel size derived from a measured line of known real length. The dialog
// lives for the whole run; its unit and image choices, and the real length
// last confirmed, persist between openings. The arithmetic is
// TScaleDialogModel's; the widgets show its values and forward their events.
#include <QDialog>

#include "document/pane.h"
#include "geo/scale_dialog.h"

class QButtonGroup;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace quorvane {

class TIntegerSpin;
class TRealSpin;

class TScaleDlg : public QDialog {
  Q_OBJECT
 public:
  explicit TScaleDlg(QWidget* parent = nullptr);

  // Loads the fields from the image chosen under "Which Image", runs the
  // dialog and, on OK, stores them into the image chosen at that moment.
  // True when it closed with OK.
  bool OpenScaleDialog(TPane& input, TPane& output);

  const TScaleDialogModel& Model() const { return model_; }

 private:
  void BuildScalePage(QWidget* page);
  void BuildLinePage(QWidget* page);
  void BuildSettingsPage(QWidget* page);

  // Handlers, named after the control and the event they serve.
  void ImageRadioClick();
  void UnitsRadioClick();
  void LineSpinChange();
  void UseEastBtnClick();
  void UseNorthBtnClick();
  void UseBothBtnClick();

  TPane& ChosenPane() const;
  void ShowFields();
  void ShowUnitText();
  void ShowLineScale();
  // The fields as the user left them, into the model.
  void ReadFields();

  TScaleDialogModel model_;
  TPane* input_ = nullptr;
  TPane* output_ = nullptr;
  bool showing_ = false;  // fields being written: their change events are ours

  QTabWidget* pages_ = nullptr;
  TRealSpin* base_x_spin_ = nullptr;
  TRealSpin* base_y_spin_ = nullptr;
  TRealSpin* scale_x_spin_ = nullptr;
  TRealSpin* scale_y_spin_ = nullptr;
  TIntegerSpin* zone_spin_ = nullptr;
  QPushButton* north_south_btn_ = nullptr;
  TRealSpin* line_spin_ = nullptr;
  QLineEdit* pixels_dis_ = nullptr;
  QLineEdit* line_scale_dis_ = nullptr;
  QButtonGroup* image_radio_ = nullptr;
  QButtonGroup* units_radio_ = nullptr;
};

}  // namespace quorvane
