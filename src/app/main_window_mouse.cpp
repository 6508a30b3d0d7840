// The mouse on the two panes: each pane's readout is written here, the rest
// goes to the controller of the page in front (a release to every page's).
#include <QLabel>

#include "app/main_window.h"
#include "app/qt_text.h"
#include "document/readouts.h"

namespace quorvane {

TPageController& TMainWindow::ActiveController() const {
  return *controllers_[size_t(ActivePage())];
}

void TMainWindow::InputImageMouseDown(const TImageMouse& mouse) {
  ActiveController().MouseDown(TPaneChoice::Input, mouse);
  ShowBoxReadout();
}

void TMainWindow::InputImageMouseMove(const TImageMouse& mouse) {
  ActiveController().MouseMove(TPaneChoice::Input, mouse);
  source_.Mouse1Dis->setText(FromStd(MouseReadoutText(mouse.X, mouse.Y)));
  ShowBoxReadout();
}

void TMainWindow::InputImageMouseUp(const TImageMouse& mouse) {
  for (TPageController* controller : controllers_) controller->MouseUp(TPaneChoice::Input, mouse);
  ShowBoxReadout();
}

void TMainWindow::OutputImageMouseDown(const TImageMouse& mouse) {
  ActiveController().MouseDown(TPaneChoice::Output, mouse);
}

void TMainWindow::OutputImageMouseMove(const TImageMouse& mouse) {
  destination_.Mouse2Dis->setText(FromStd(MouseReadoutText(mouse.X, mouse.Y)));
  ActiveController().MouseMove(TPaneChoice::Output, mouse);
}

void TMainWindow::OutputImageMouseUp(const TImageMouse& mouse) {
  for (TPageController* controller : controllers_) controller->MouseUp(TPaneChoice::Output, mouse);
}

}  // namespace quorvane
