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
  // The bar's maximum is 100; a caller reporting more Running steps than it
  // announced keeps the bar full rather than wrapping the byte.
  const double truncated = std::trunc(std::clamp(accumulated_, 0.0, 255.0));
  Emit(stage, uint8_t(truncated), redraw, message);
}

void TStageReporter::Emit(TProgressStage stage, uint8_t percent_done, bool redraw_now,
                          std::string_view message) const {
  if (hook_) hook_(stage, percent_done, redraw_now, TRect{}, message);
}

TRowProgress::TRowProgress(const TStageReporter* reporter, uint64_t rows)
    : reporter_(reporter), rows_(rows) {
  if (reporter_) reporter_->Emit(TProgressStage::Starting, 0, false, "Starting");
}

void TRowProgress::RowsDone(uint64_t done) {
  if (!reporter_ || rows_ == 0) return;
  const int percent = int(std::min<uint64_t>(done, rows_) * 100 / rows_);
  if (percent == last_percent_) return;
  last_percent_ = percent;
  reporter_->Emit(TProgressStage::Running, uint8_t(percent), false, "Running");
}

void TRowProgress::End() {
  if (reporter_) reporter_->Emit(TProgressStage::Ending, 100, true, "Ending");
}

}  // namespace quorvane
