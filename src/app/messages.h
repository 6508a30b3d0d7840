#pragma once
// The window's message boxes: errors with the failure's text, warnings with
// one OK button.
#include <QString>

class QWidget;

namespace quorvane {

void ShowErrorMessage(QWidget* parent, const QString& text);
void ShowWarningMessage(QWidget* parent, const QString& text);

}  // namespace quorvane
