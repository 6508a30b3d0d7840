#pragma once
// The "Precise Sizing" dialog without its window: a width and a height typed
// by hand, the height following the width (or the width the height) through
// the source's aspect ratio while "Keep Aspect Ratio" is checked. Setting a
// field's value fires its change handler; guard flags stop the value one
// handler writes from running the other handler back, so the field being
// edited keeps exactly what was typed. The coupling truncates towards zero.
#include <cstdint>

#include "document/sizing_state.h"

namespace quorvane {

class TPreciseSizeModel {
 public:
  // WidthSpin and HeightSpin: integer fields without limits.
  int32_t Width = 0;
  int32_t Height = 0;
  // AspectChk; checked at start, kept between openings.
  bool KeepAspect = true;

  // Opening: the fields take the requested size without any coupling, and
  // the ratio is the main window's at this moment.
  void Open(const TSizingState& sizing);
  // The text of a field changed (typed, or set by the other handler).
  void WidthSpinChange(int32_t width);
  void HeightSpinChange(int32_t height);
  // OK: the typed size becomes the requested size.
  TNewSizeTexts Accept(TSizingState& sizing) const;

 private:
  bool width_guard_ = false;
  bool height_guard_ = false;
  double aspect_ratio_ = 1.0;
};

}  // namespace quorvane
