#include "raster/progress.h"

#include <algorithm>
#include <cmath>

namespace quorvane {

void TStageReporter::Report(TProgressStage stage, int steps) {
  std::string_view message;
  bool redraw = false;
  switch (stage) {
    case TProgressStage::Starting:
      accumulated_ = 0.0;
      step_ = 100.0 / double(std::max(steps, 1));
      message = "Starting";
      break;
    case TProgressStage::Running:
      accumulated_ += step_;
      message = "Running";
      break;
    case TProgressStage::Ending:
      message = "Ending";
      redraw = true;
      break;
  }
  if (!hook_) return;
  // The bar's maximum is 100; a caller reporting more Running steps than it
  // announced keeps the bar full rather than wrapping the byte.
  const double truncated = std::trunc(std::clamp(accumulated_, 0.0, 255.0));
  hook_(stage, uint8_t(truncated), redraw, TRect{}, message);
}

}  // namespace quorvane
