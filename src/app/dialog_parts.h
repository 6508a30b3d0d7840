#pragma once
// Pieces the scale and print dialogs build from: a titled radio group laid
// out in columns, a read-only display with its caption, and the button row
// under a dialog's pages.
#include <QStringList>

class QButtonGroup;
class QGridLayout;
class QLineEdit;
class QPushButton;
class QWidget;

namespace quorvane {

struct TRadioGroupOptions {
  const char* Caption = "";
  const char* Name = "";  // objectName of the group box
  QStringList Items;      // the buttons' ids are their positions
  int Columns = 1;        // items fill the columns row by row
  int Checked = 0;
};
// A QGroupBox titled with the caption holding one radio button per item,
// the first checked; the group box is a child of `parent`.
QButtonGroup* AddRadioGroup(QWidget* parent, const TRadioGroupOptions& options);
// The group box holding `group`'s buttons.
QWidget* RadioGroupBox(const QButtonGroup* group);

// A grey read-only field with its caption as the label's buddy, added as one
// row of `grid`.
QLineEdit* AddDisplay(QGridLayout* grid, int row, const char* caption, const char* name);

QPushButton* MakeButton(QWidget* parent, const char* caption, const char* name);

}  // namespace quorvane
