#include "document/sizing_state.h"

#include <limits>

#include "document/sizing.h"

namespace quorvane {

namespace {

// The step saturates rather than overflowing under endless clicks.
int64_t AddStep(int64_t step, int64_t increment) {
  constexpr int64_t kMax = std::numeric_limits<int64_t>::max() / 4;
  const int64_t sum = step + increment;
  return sum > kMax ? kMax : (sum < -kMax ? -kMax : sum);
}

}  // namespace

void TSizingState::ResetSizing(int width, int height) {
  OrigWidth = width;
  NewWidth = width;
  OrigHeight = height;
  NewHeight = height;
  SizeStep = 0;
  AspectRatio = SizingAspectRatio(width, height);
}

TNewSizeTexts TSizingState::UpdateNewSize() {
  const TImageSize size = Units == TSizeUnits::Percent
                              ? PercentStepSize(OrigWidth, OrigHeight, SizeStep)
                              : PixelStepSize(OrigWidth, OrigHeight, SizeStep);
  NewWidth = size.Width;
  NewHeight = size.Height;
  return ShowNewSize();
}

TNewSizeTexts TSizingState::StepUp(int increment) {
  SizeStep = AddStep(SizeStep, increment);
  return UpdateNewSize();
}

TNewSizeTexts TSizingState::StepDown(int increment) {
  SizeStep = AddStep(SizeStep, -int64_t(increment));
  return UpdateNewSize();
}

TNewSizeTexts TSizingState::SetUnits(TSizeUnits units) {
  Units = units;
  return UpdateNewSize();
}

TNewSizeTexts TSizingState::SetNewSize(int64_t width, int64_t height) {
  NewWidth = width;
  NewHeight = height;
  return ShowNewSize();
}

TNewSizeTexts TSizingState::ShowNewSize() const {
  return {" " + std::to_string(NewWidth) + " x " + std::to_string(NewHeight),
          Units == TSizeUnits::Percent ? "Percent" : "Pixels", " " + std::to_string(SizeStep)};
}

}  // namespace quorvane
