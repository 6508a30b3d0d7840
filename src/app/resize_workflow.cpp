#include "app/resize_workflow.h"

#include <QLabel>
#include <optional>

#include "app/image_view.h"
#include "app/messages.h"
#include "app/precise_size_dialog.h"
#include "app/progress_windows.h"
#include "app/qt_text.h"
#include "app/resize_page.h"
#include "app/source_box.h"
#include "app/tools_page.h"
#include "document/crop.h"
#include "document/stretch.h"

namespace quorvane {

namespace {

// The resampler reports every row and column; the bar is repainted only
// when the whole percentage it shows moves on.
TProgressProc ChangesOf(TProgressDlg& dialog) {
  return [&dialog, shown = -1](int percent) mutable {
    if (percent == shown) return;
    shown = percent;
    dialog.SetProgress(percent);
  };
}

}  // namespace

TResizeWorkflow::TResizeWorkflow(const TResizeWorkflowParts& parts, QWidget* window)
    : QObject(window), parts_(parts), window_(window) {
  TResizePage* page = parts_.Page;
  connect(page, &TResizePage::IncUpClicked, this, &TResizeWorkflow::IncSpinUpClick);
  connect(page, &TResizePage::IncDownClicked, this, &TResizeWorkflow::IncSpinDownClick);
  connect(page, &TResizePage::UnitsClicked, this, &TResizeWorkflow::UnitsRadioClick);
  connect(page, &TResizePage::ResetClicked, this, &TResizeWorkflow::ResetSizeBtnClick);
  connect(page, &TResizePage::StretchClicked, this, &TResizeWorkflow::StretchMnuClick);
  connect(page, &TResizePage::ClipClicked, this, &TResizeWorkflow::ClipBtnClick);
}

void TResizeWorkflow::UseDialogs(TProgressDlg* progress, TPreciseSizeDlg* precise) {
  progress_ = progress;
  precise_ = precise;
}

void TResizeWorkflow::PageShown() {
  parts_.Box->ShowBox();
}

void TResizeWorkflow::MouseDown(TPaneChoice pane, const TImageMouse& mouse) {
  if (pane == TPaneChoice::Input) parts_.Box->BoxMouseDown(mouse.X, mouse.Y);
}

void TResizeWorkflow::MouseMove(TPaneChoice pane, const TImageMouse& mouse) {
  if (pane == TPaneChoice::Input) parts_.Box->BoxMouseMove(mouse.X, mouse.Y);
}

void TResizeWorkflow::MouseUp(TPaneChoice pane, const TImageMouse& mouse) {
  Q_UNUSED(mouse);
  if (pane == TPaneChoice::Input) parts_.Box->BoxMouseUp();
}

void TResizeWorkflow::IncSpinUpClick() {
  parts_.Page->ShowNewSize(parts_.Document->Sizing.StepUp(parts_.Page->Increment()));
}

void TResizeWorkflow::IncSpinDownClick() {
  parts_.Page->ShowNewSize(parts_.Document->Sizing.StepDown(parts_.Page->Increment()));
}

void TResizeWorkflow::UnitsRadioClick() {
  parts_.Page->ShowNewSize(parts_.Document->Sizing.SetUnits(parts_.Page->Units()));
}

// The source size label stays as it is.
void TResizeWorkflow::ResetSizeBtnClick() {
  parts_.Page->ShowNewSize(parts_.Document->ResetSizing());
}

// The box is shown again whatever the page, also after a warning; after a
// failure it stays hidden until the next command that shows it.
void TResizeWorkflow::StretchMnuClick() {
  parts_.Box->HideBox();
  if (const auto warning = StretchWarning(*parts_.Document)) {
    ShowWarningMessage(window_, FromStd(*warning));
  } else if (!RunStretch()) {
    return;
  }
  parts_.Box->ShowBox();
  parts_.Box->ShowBoxReadout();
}

// The progress window is gone before an error is shown.
bool TResizeWorkflow::RunStretch() {
  TStretchOptions options{.Filter = SharpnessFilter(parts_.Page->Sharpness()),
                          .Force24Bit = parts_.Page->Force24Bit()};
  const bool done = RunCommand(window_, [&] {
    std::optional<TProgressScope> progress;
    if (progress_) {
      progress.emplace(*progress_, "Resizing Image");
      options.Progress = ChangesOf(*progress_);
    }
    if (parts_.Tools) parts_.Tools->CentreTrackBars();
    Stretch(*parts_.Document, options);
  });
  if (done) parts_.OutputImage->PictureReplaced();
  return done;
}

// A crop that fails (no width or height, nothing of it on the picture)
// changes nothing; the box comes back either way while "Resize" is shown.
void TResizeWorkflow::ClipBtnClick() {
  const TRect selection = parts_.Box->Box().Selection();
  const bool done = RunCommand(window_, [&] {
    const TCropResult result = Crop(*parts_.Document, selection);
    if (result.Cropped) {
      parts_.InputImage->PictureReplaced();
      parts_.DimenDis->setText(FromStd(result.Texts.SourceSize));
      parts_.Page->ShowNewSize(result.Texts.NewSize);
    }
  });
  if (!done) return;
  if (parts_.ResizePageActive && parts_.ResizePageActive()) parts_.Box->ShowBox();
  parts_.Box->ShowBoxReadout();
}

void TResizeWorkflow::PreciseMnuClick() {
  if (!precise_) return;
  if (const auto texts = precise_->Execute(parts_.Document->Sizing))
    parts_.Page->ShowNewSize(*texts);
}

}  // namespace quorvane
