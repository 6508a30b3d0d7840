#include "app/dialog_parts.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

namespace quorvane {

QButtonGroup* AddRadioGroup(QWidget* parent, const TRadioGroupOptions& options) {
  auto* box = new QGroupBox(options.Caption, parent);
  box->setObjectName(options.Name);
  auto* buttons = new QButtonGroup(box);
  auto* layout = new QGridLayout(box);
  const int columns = std::max(options.Columns, 1);
  for (int i = 0; i < options.Items.size(); ++i) {
    auto* radio = new QRadioButton(options.Items[i], box);
    buttons->addButton(radio, i);
    layout->addWidget(radio, i / columns, i % columns);
  }
  if (QAbstractButton* checked = buttons->button(options.Checked)) checked->setChecked(true);
  return buttons;
}

QWidget* RadioGroupBox(const QButtonGroup* group) {
  return qobject_cast<QWidget*>(group->parent());
}

QLineEdit* AddDisplay(QGridLayout* grid, int row, const char* caption, const char* name) {
  QWidget* host = grid->parentWidget();
  auto* edit = new QLineEdit(host);
  edit->setObjectName(name);
  edit->setReadOnly(true);
  // Grey like a disabled field, but still focusable and readable.
  QPalette palette = edit->palette();
  palette.setColor(QPalette::Base, palette.color(QPalette::Window));
  edit->setPalette(palette);
  auto* label = new QLabel(caption, host);
  label->setBuddy(edit);
  grid->addWidget(label, row, 0);
  grid->addWidget(edit, row, 1);
  return edit;
}

QPushButton* MakeButton(QWidget* parent, const char* caption, const char* name) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  // Only the dialog's default button answers Enter.
  button->setAutoDefault(false);
  return button;
}

}  // namespace quorvane
