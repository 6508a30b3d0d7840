// The tool pages' controllers as the window builds them, the Resize page's
// sizing readouts and the selection box drawn into the source picture
// (TSourceBox). The window calls the box hooks below at the moments the
// box is shown, hidden, emptied and dragged.
#include "app/main_window.h"
#include "app/measure_controller.h"
#include "app/resize_page.h"
#include "app/resize_workflow.h"
#include "app/source_box.h"
#include "app/tools_controller.h"

namespace quorvane {

TMainWindow::~TMainWindow() = default;

void TMainWindow::UseDialogs(const TDialogs& dialogs) {
  dialogs_ = dialogs;
  resize_workflow_->UseDialogs(dialogs.ProgressDlg, dialogs.PreciseSizeDlg);
}

void TMainWindow::BuildControllers() {
  source_box_ =
      std::make_unique<TSourceBox>(source_.InputImage, source_.InScrollBox, source_.BoxDis);
  source_box_->SetPicture(&document_.Source.Picture);
  source_box_->OnErased = [this](const TRect& rect) { document_.Source.NoteOverlay(rect); };
  resize_workflow_ =
      new TResizeWorkflow({.Document = &document_,
                           .Page = resize_page_,
                           .Box = source_box_.get(),
                           .DimenDis = source_.DimenDis,
                           .InputImage = source_.InputImage,
                           .OutputImage = destination_.OutputImage,
                           .Tools = tools_page_,
                           .ResizePageActive = [this] { return ActivePage() == TPage::Resize; }},
                          this);
  measure_ = new TMeasureController({.Document = &document_,
                                     .Page = measure_page_,
                                     .InputImage = source_.InputImage,
                                     .OutputImage = destination_.OutputImage},
                                    this);
  tools_ = new TToolsController({.Document = &document_,
                                 .Page = tools_page_,
                                 .OutputImage = destination_.OutputImage,
                                 .Measure = measure_},
                                this);
  controllers_[size_t(TPage::Resize)] = resize_workflow_;
  controllers_[size_t(TPage::Measure)] = measure_;
  controllers_[size_t(TPage::Tools)] = tools_;
}

const std::optional<TCursorReadout>& TMainWindow::LastReadout() const {
  return measure_->LastReadout();
}

void TMainWindow::ResetToneSliders(bool apply) {
  tools_->ResetToneSliders(apply);
}

void TMainWindow::ShowNewSize(const TNewSizeTexts& texts) {
  resize_page_->ShowNewSize(texts);
}

// Draws the box into the source picture. The box keeps the pixels under it
// and puts them back itself when hidden, so it needs no clean copy; the
// window hides it before a page switch restores the panes.
void TMainWindow::ShowSelection() {
  source_box_->ShowBox();
}

// Hidden, the box no longer shapes the pointer: the arrow comes back until
// it is shown and hovered again.
void TMainWindow::HideSelection() {
  source_box_->HideBox();
  source_.InputImage->unsetCursor();
}

void TMainWindow::SetSelection(const TRect& rect) {
  source_box_->SetBox(rect);
}

TRect TMainWindow::SelectionRect() const {
  return source_box_->Box().Selection();
}

}  // namespace quorvane
