// The Resize page's side of the main window: the sizing readouts and the
// selection box drawn into the source picture. The window calls these at
// the moments the box is shown, hidden, emptied and dragged; until the
// sizing workflow fills them in they do nothing and the box stays empty.
#include "app/main_window.h"

namespace quorvane {

void TMainWindow::ShowNewSize(const TNewSizeTexts& texts) {
  Q_UNUSED(texts);
}

void TMainWindow::ResizePageMouseDown(const TImageMouse& mouse) {
  Q_UNUSED(mouse);
}

void TMainWindow::ResizePageMouseMove(const TImageMouse& mouse) {
  Q_UNUSED(mouse);
}

void TMainWindow::ResizePageMouseUp(const TImageMouse& mouse) {
  Q_UNUSED(mouse);
}

// Draws the box into the source picture. The box keeps the pixels under it
// and puts them back itself when hidden, so it needs no clean copy; the
// window hides it before a page switch restores the panes.
void TMainWindow::ShowSelection() {}

void TMainWindow::HideSelection() {}

void TMainWindow::SetSelection(const TRect& rect) {
  Q_UNUSED(rect);
}

TRect TMainWindow::SelectionRect() const {
  return {};
}

}  // namespace quorvane
