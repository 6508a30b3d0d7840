#pragma once
// Progress reporting. Two styles feed the user's progress bar:
// - percent reporting: a callback taking a whole percentage (resampling);
// - stage reporting: every codec reports Starting, Running and Ending
//   through a TStageReporter. The program's own codecs (TIFF, PCX, IFF)
//   report the truncated sum of equal steps; the codecs over the JPEG, PNG
//   and GIF libraries report the whole percentage of rows done
//   (TRowProgress).
#include <cstdint>
#include <functional>
#include <string_view>

#include "raster/rect.h"

namespace quorvane {

using TProgressProc = std::function<void(int percent)>;

enum class TProgressStage : uint8_t { Starting = 0, Running = 1, Ending = 2 };

// The stage signature the codecs report through; the sender is always none.
using TProgressEvent =
    std::function<void(TProgressStage stage, uint8_t percent_done, bool redraw_now,
                       const TRect& changed, std::string_view message)>;

// One codec's stage reporter: its hook, the accumulated percentage and the
// step per Running report. Starting with `steps` Running reports to follow
// sets the step to 100 / steps; the hook sees the sum truncated towards zero,
// so twelve steps of 100/12 end on 99.
class TStageReporter {
 public:
  void SetHook(TProgressEvent hook) { hook_ = std::move(hook); }
  void ClearHook() { hook_ = nullptr; }
  bool HasHook() const { return static_cast<bool>(hook_); }

  // `steps` is read with Starting only and must then be at least 1.
  void Report(TProgressStage stage, int steps = 1);
  double Accumulated() const { return accumulated_; }

  // Passes one report to the hook as it is (the sender is none and the
  // changed area empty); nothing is accumulated.
  void Emit(TProgressStage stage, uint8_t percent_done, bool redraw_now,
            std::string_view message) const;

 private:
  TProgressEvent hook_;
  double accumulated_ = 0.0;
  double step_ = 0.0;
};

// Reports Starting, then Running whenever the whole percentage of rows done
// moves, then Ending with 100, through a reporter that may be null.
class TRowProgress {
 public:
  TRowProgress(const TStageReporter* reporter, uint64_t rows);
  void RowsDone(uint64_t done);
  void End();

 private:
  const TStageReporter* reporter_;
  uint64_t rows_;
  int last_percent_ = 0;
};

// Installs a hook for the duration of one operation and empties it again,
// also when the operation throws.
class TScopedStageHook {
 public:
  TScopedStageHook(TStageReporter& reporter, TProgressEvent hook) : reporter_(reporter) {
    reporter_.SetHook(std::move(hook));
  }
  ~TScopedStageHook() { reporter_.ClearHook(); }
  TScopedStageHook(const TScopedStageHook&) = delete;
  TScopedStageHook& operator=(const TScopedStageHook&) = delete;

 private:
  TStageReporter& reporter_;
};

// Empties a reporter's hook however a read or write ends, for codecs whose
// caller set the hook and expects it to serve that one call; null is allowed.
class TStageHookClearer {
 public:
  explicit TStageHookClearer(TStageReporter* reporter) : reporter_(reporter) {}
  ~TStageHookClearer() {
    if (reporter_) reporter_->ClearHook();
  }
  TStageHookClearer(const TStageHookClearer&) = delete;
  TStageHookClearer& operator=(const TStageHookClearer&) = delete;

 private:
  TStageReporter* reporter_;
};

}  // namespace quorvane
