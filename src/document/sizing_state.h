#pragma once
// The sizing state of the Resize page: the source size at the last load or
// reset, the requested destination size and the accumulated step. The step
// is read in the unit chosen when the size is computed, so switching units
// reinterprets the same number; the width drives, the height follows it
// through the original aspect ratio.
#include <array>
#include <cstdint>
#include <string>

namespace quorvane {

enum class TSizeUnits : uint8_t { Percent, Pixels };

// The items of the "Increment" choice; 10 is chosen at start.
constexpr std::array<int, 6> kSizeIncrements = {1, 3, 5, 10, 30, 50};
constexpr int kDefaultSizeIncrement = 10;

// ImageSizeDis, IncUnitsDis and PercentDis.
struct TNewSizeTexts {
  std::string ImageSize;  // " 165 x 84"
  std::string Units;      // "Percent" or "Pixels"
  std::string Step;       // " 10", " -5"
  bool operator==(const TNewSizeTexts&) const = default;
};

class TSizingState {
 public:
  int32_t OrigWidth = 0;
  int32_t OrigHeight = 0;
  // Nothing limits the requested size: it may become zero or negative, and
  // is kept wide enough that absurd steps cannot overflow it.
  int64_t NewWidth = 0;
  int64_t NewHeight = 0;
  int64_t SizeStep = 0;
  double AspectRatio = 1.0;  // OrigWidth / OrigHeight, 1 for a height of 0
  TSizeUnits Units = TSizeUnits::Percent;

  // Restarts from a picture of this size with no step.
  void ResetSizing(int width, int height);
  // Recomputes the requested size from the step in the current unit.
  TNewSizeTexts UpdateNewSize();
  // The spin button: the step moves by the chosen increment.
  TNewSizeTexts StepUp(int increment);
  TNewSizeTexts StepDown(int increment);
  // The unit choice changed: the same step, read in the new unit.
  TNewSizeTexts SetUnits(TSizeUnits units);
  // A size typed in the precise sizing dialog. Step, unit and original size
  // stay, so the next step replaces the typed size.
  TNewSizeTexts SetNewSize(int64_t width, int64_t height);

  TNewSizeTexts ShowNewSize() const;
};

}  // namespace quorvane
