#pragma once
// "Bands": which bands of a measurement file show as red, green and blue, or
// which one shows as grey, and the stretch that brings them to 8 bits, with
// each band's minimum, maximum and nodata value. The dialog only shows and
// returns the choice; the document re-reads the source with it.
#include <QDialog>
#include <optional>
#include <vector>

#include "anytiff/any_tiff_display.h"
#include "document/band_choice.h"

class QButtonGroup;
class QComboBox;
class QTableWidget;

namespace quorvane {

class TBandsDlg : public QDialog {
  Q_OBJECT
 public:
  explicit TBandsDlg(QWidget* parent = nullptr);

  // Fills the controls from the bands of the source and the choice it is
  // shown with, shows the dialog modally and returns the choice on OK.
  std::optional<TAnyTiffDisplay> Execute(const std::vector<TBandRowTexts>& rows,
                                         const TAnyTiffDisplay& shown);
  void Load(const std::vector<TBandRowTexts>& rows, const TAnyTiffDisplay& shown);
  TAnyTiffDisplay Choice() const;

 private:
  void ShowModeChange();

  QButtonGroup* mode_group_;
  QButtonGroup* stretch_group_;
  QComboBox* red_combo_;
  QComboBox* green_combo_;
  QComboBox* blue_combo_;
  QComboBox* grey_combo_;
  QTableWidget* band_table_;
};

}  // namespace quorvane
