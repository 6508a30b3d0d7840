#pragma once
// What the library codecs (JPEG, PNG, GIF) share: the size limit checked
// before any pixel memory is taken, and stage reporting by rows done.
#include <cstdint>

#include "raster/progress.h"

namespace quorvane {

// The largest picture a decoder accepts: 2^28 pixels (16384 x 16384, or a
// 65000-pixel-wide strip 4000 rows high). A header claiming more is refused
// before anything is allocated, since a few bytes of a damaged or hostile
// file could otherwise ask for many gigabytes.
constexpr uint64_t kMaxDecodedPixels = uint64_t(1) << 28;

// Throws "<format>: image too large (W x H pixels)" or, for a zero
// dimension, "<format>: image has no pixels".
void CheckDecodedSize(const char* format, uint64_t width, uint64_t height);

// Reports Starting, then Running whenever the whole percentage of rows done
// moves, then Ending, through a codec's progress event (which may be empty).
class TRowProgress {
 public:
  TRowProgress(const TProgressEvent& event, uint64_t rows);
  void RowsDone(uint64_t done);
  void End();

 private:
  const TProgressEvent& event_;
  uint64_t rows_;
  int last_percent_ = 0;
};

}  // namespace quorvane
