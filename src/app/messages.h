#pragma once
// The window's message boxes: errors with the failure's text, warnings with
// one OK button.
#include <QString>
#include <functional>

class QWidget;

namespace quorvane {

void ShowErrorMessage(QWidget* parent, const QString& text);
void ShowWarningMessage(QWidget* parent, const QString& text);

// Runs one command; a failure it raises ends up in an error message with its
// text (after whatever it held open, such as a progress window, has been
// released by the unwinding), and the window carries on. Returns whether the
// command finished.
bool RunCommand(QWidget* parent, const std::function<void()>& command);

}  // namespace quorvane
