#pragma once
// The "Tools" page's behaviour: the tone sliders rebuild the destination
// from its tone base, "Reset" centres them. The mouse measures on the
// source pane alone, as the Measure page would.
#include <QObject>

#include "app/page_controller.h"

class QWidget;

namespace quorvane {

class TDocument;
class TToolsPage;

struct TToolsControllerParts {
  TDocument* Document = nullptr;
  TToolsPage* Page = nullptr;
  TImageEx* OutputImage = nullptr;
  // Measures on the source while this page is in front.
  TPageController* Measure = nullptr;
};

class TToolsController : public QObject, public TPageController {
  Q_OBJECT
 public:
  // `window` owns the controller and carries its message boxes.
  TToolsController(const TToolsControllerParts& parts, QWidget* window);

  void MouseDown(TPaneChoice pane, const TImageMouse& mouse) override;
  void MouseMove(TPaneChoice pane, const TImageMouse& mouse) override;
  // The Measure page's controller hears the release itself.
  void MouseUp(TPaneChoice, const TImageMouse&) override {}

  void BrightnessBarChange();
  void ResetBCGBtnClick();
  // Centres the tone sliders without adjusting (a new resize result), or
  // with one adjustment (Reset).
  void ResetToneSliders(bool apply);

 private:
  TToolsControllerParts parts_;
  QWidget* window_;
};

}  // namespace quorvane
