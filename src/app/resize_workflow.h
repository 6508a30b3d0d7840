#pragma once
// The commands of the "Resize" page and of the Edit menu's sizing items:
// stepping the requested size, switching units, "Reset", Stretch, Crop and
// Precise Sizing, and the mouse on the selection box. Each reads its controls, runs the document's
// command and writes back the texts and pictures it changed; the selection box is hidden around
// whatever reads or replaces the source picture.
#include <QObject>
#include <functional>

#include "app/page_controller.h"

class QLabel;
class QWidget;

namespace quorvane {

class TDocument;
class TPreciseSizeDlg;
class TProgressDlg;
class TResizePage;
class TSourceBox;
class TToolsPage;

struct TResizeWorkflowParts {
  TDocument* Document = nullptr;
  TResizePage* Page = nullptr;
  TSourceBox* Box = nullptr;
  QLabel* DimenDis = nullptr;
  TImageEx* InputImage = nullptr;
  TImageEx* OutputImage = nullptr;
  TToolsPage* Tools = nullptr;
  // Whether "Resize" is the active page: the box comes back after a crop
  // only there.
  std::function<bool()> ResizePageActive;
};

class TResizeWorkflow : public QObject, public TPageController {
  Q_OBJECT
 public:
  // `window` owns the workflow and carries its message boxes.
  TResizeWorkflow(const TResizeWorkflowParts& parts, QWidget* window);

  // The progress window of the stretch and the precise sizing dialog; a
  // stretch without a progress window runs without one.
  void UseDialogs(TProgressDlg* progress, TPreciseSizeDlg* precise);

  // The mouse drags the selection box on the source; the box is shown
  // with the page.
  void PageShown() override;
  void MouseDown(TPaneChoice pane, const TImageMouse& mouse) override;
  void MouseMove(TPaneChoice pane, const TImageMouse& mouse) override;
  void MouseUp(TPaneChoice pane, const TImageMouse& mouse) override;

  void IncSpinUpClick();
  void IncSpinDownClick();
  void UnitsRadioClick();
  void ResetSizeBtnClick();
  void StretchMnuClick();
  void ClipBtnClick();
  void PreciseMnuClick();

 private:
  bool RunStretch();

  TResizeWorkflowParts parts_;
  QWidget* window_;
  TProgressDlg* progress_ = nullptr;
  TPreciseSizeDlg* precise_ = nullptr;
};

}  // namespace quorvane
