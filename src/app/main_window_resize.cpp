// The main window's selection box and the Resize page's commands: the box
// draws into the document's source picture, and the document hides and
// empties it through hooks before it reads or replaces that picture.
#include "app/main_window.h"
#include "app/resize_workflow.h"
#include "app/source_box.h"

namespace quorvane {

void TMainWindow::BuildResizeWorkflow() {
  source_box_ =
      std::make_unique<TSourceBox>(source_.InputImage, source_.InScrollBox, source_.BoxDis);
  source_box_->SetPicture(&document_.Source.Picture);
  document_.Selection = source_box_->Hooks();
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
  resize_workflow_->ConnectMenu(menu_);
}

}  // namespace quorvane
