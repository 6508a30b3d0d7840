#include "raster/codec_support.h"

#include <algorithm>
#include <string>

#include "raster/error.h"

namespace quorvane {

void CheckDecodedSize(const char* format, uint64_t width, uint64_t height) {
  if (width == 0 || height == 0)
    throw EQuorvaneError(std::string(format) + ": image has no pixels");
  if (width > kMaxDecodedPixels || height > kMaxDecodedPixels / width)
    throw EQuorvaneError(std::string(format) + ": image too large (" + std::to_string(width) +
                         " x " + std::to_string(height) + " pixels)");
}

TRowProgress::TRowProgress(const TProgressEvent& event, uint64_t rows)
    : event_(event), rows_(rows) {
  if (event_) event_(TProgressStage::Starting, 0, false, TRect{}, "Starting");
}

void TRowProgress::RowsDone(uint64_t done) {
  if (!event_ || rows_ == 0) return;
  const int percent = int(std::min<uint64_t>(done, rows_) * 100 / rows_);
  if (percent == last_percent_) return;
  last_percent_ = percent;
  event_(TProgressStage::Running, uint8_t(percent), false, TRect{}, "Running");
}

void TRowProgress::End() {
  if (event_) event_(TProgressStage::Ending, 100, true, TRect{}, "Ending");
}

}  // namespace quorvane
