#pragma once
// Percent reporting as the resampler does it: every step adds 100 / steps to
// a running total and passes the total, truncated, to the callback.
#include <cmath>

#include "raster/progress.h"

namespace quorvane {

class TPercentProgress {
 public:
  TPercentProgress(const TProgressProc& proc, double steps)
      : proc_(proc), step_(steps > 0 ? 100.0 / steps : 0.0) {}

  void Step(long long count = 1) {
    for (long long i = 0; i < count; ++i) {
      total_ += step_;
      if (proc_) proc_(int(std::trunc(total_)));
    }
  }
  double Total() const { return total_; }

 private:
  const TProgressProc& proc_;
  double step_;
  double total_ = 0.0;
};

}  // namespace quorvane
