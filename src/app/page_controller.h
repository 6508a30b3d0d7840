#pragma once
// What the window hands the tool page in front: the mouse over either pane,
// in picture pixels, and the moment the page is shown. Each page has one
// controller holding what the page does with them, so the window routes
// events without asking which page is up.
#include "app/image_view.h"
#include "document/measure_page.h"

namespace quorvane {

class TPageController {
 public:
  virtual ~TPageController() = default;

  // The page came to the front, every overlay erased: its own come back.
  virtual void PageShown() {}
  virtual void MouseDown(TPaneChoice pane, const TImageMouse& mouse) = 0;
  virtual void MouseMove(TPaneChoice pane, const TImageMouse& mouse) = 0;
  // Heard by every page's controller, in front or not: a drag begun on
  // another page ends at any release.
  virtual void MouseUp(TPaneChoice pane, const TImageMouse& mouse) = 0;
};

}  // namespace quorvane
