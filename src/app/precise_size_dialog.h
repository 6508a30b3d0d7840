#pragma once
// "Precise Sizing": a width and a height typed by hand for the next
// stretch. While "Keep Aspect Ratio" is checked, typing one field sets the
// other through the source's aspect ratio (truncated); the field being typed
// keeps exactly what was typed. The dialog is created once and keeps the
// state of "Keep Aspect Ratio" between openings.
#include <QDialog>
#include <optional>

#include "document/precise_sizing.h"

class QCheckBox;
class QPushButton;

namespace quorvane {

class TIntegerSpin;

class TPreciseSizeDlg : public QDialog {
  Q_OBJECT
 public:
  explicit TPreciseSizeDlg(QWidget* parent = nullptr);

  // Loads the requested size of `sizing` without coupling the fields and
  // shows the dialog modally. OK makes the typed size the requested one and
  // returns the new sizing texts; Cancel changes nothing.
  std::optional<TNewSizeTexts> Execute(TSizingState& sizing);

  TIntegerSpin* WidthSpin() const { return width_spin_; }
  TIntegerSpin* HeightSpin() const { return height_spin_; }
  const TPreciseSizeModel& Model() const { return model_; }

  // The two change handlers: the field's text changed, typed or set.
  void WidthSpinChange();
  void HeightSpinChange();

 signals:
  // The Help button asks for the help page of this context number.
  void HelpRequested(qint64 context);

 private:
  // Writes the model's size into the fields. The guard keeps the fields'
  // own change reports from coupling the values back.
  void ShowModel();

  TIntegerSpin* width_spin_;
  TIntegerSpin* height_spin_;
  QCheckBox* aspect_chk_;
  TPreciseSizeModel model_;
  bool writing_ = false;
};

}  // namespace quorvane
