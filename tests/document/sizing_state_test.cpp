#include "document/sizing_state.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

TSizingState From150x76() {
  TSizingState sizing;
  sizing.ResetSizing(150, 76);
  return sizing;
}

TEST(SizingState, ResetTakesThePictureSizeWithNoStep) {
  TSizingState sizing = From150x76();
  EXPECT_EQ(sizing.OrigWidth, 150);
  EXPECT_EQ(sizing.NewHeight, 76);
  EXPECT_EQ(sizing.SizeStep, 0);
  EXPECT_DOUBLE_EQ(sizing.AspectRatio, 150.0 / 76.0);
  EXPECT_EQ(sizing.UpdateNewSize(), (TNewSizeTexts{" 150 x 76", "Percent", " 0"}));
  sizing.ResetSizing(40, 0);
  EXPECT_EQ(sizing.AspectRatio, 1.0) << "a picture of height 0";
}

// The size arithmetic and its rounding are tested with the step functions;
// here the step adds up and shows in the chosen units.
TEST(SizingState, StepsAddUpAndShowInTheChosenUnits) {
  TSizingState sizing = From150x76();
  EXPECT_EQ(sizing.StepUp(10), (TNewSizeTexts{" 165 x 84", "Percent", " 10"}));
  EXPECT_EQ(sizing.StepDown(15), (TNewSizeTexts{" 142 x 72", "Percent", " -5"}));
  sizing.ResetSizing(150, 76);
  sizing.SetUnits(TSizeUnits::Pixels);
  EXPECT_EQ(sizing.StepUp(10), (TNewSizeTexts{" 160 x 81", "Pixels", " 10"}));
}

TEST(SizingState, StepsDownPastZeroGiveNegativeSizes) {
  TSizingState sizing = From150x76();
  sizing.StepDown(50);
  sizing.StepDown(50);
  EXPECT_EQ(sizing.ShowNewSize().ImageSize, " 0 x 0");
  sizing.StepDown(50);
  EXPECT_EQ(sizing.SizeStep, -150);
  EXPECT_EQ(sizing.ShowNewSize(), (TNewSizeTexts{" -75 x -38", "Percent", " -150"}));
}

TEST(SizingState, SwitchingUnitsReinterpretsTheSameStep) {
  TSizingState sizing = From150x76();
  for (int i = 0; i < 3; ++i) sizing.StepUp(10);
  EXPECT_EQ(sizing.ShowNewSize().ImageSize, " 195 x 99");
  EXPECT_EQ(sizing.SetUnits(TSizeUnits::Pixels), (TNewSizeTexts{" 180 x 91", "Pixels", " 30"}));
}

TEST(SizingState, TypedSizeStaysUntilTheNextStep) {
  TSizingState sizing = From150x76();
  sizing.StepUp(10);
  EXPECT_EQ(sizing.SetNewSize(300, 20).ImageSize, " 300 x 20");
  EXPECT_EQ(sizing.SizeStep, 10);
  EXPECT_EQ(sizing.OrigWidth, 150);
  EXPECT_EQ(sizing.StepUp(10).ImageSize, " 180 x 91") << "recomputed from the step";
}

TEST(SizingState, EndlessStepsSaturateInsteadOfOverflowing) {
  TSizingState sizing = From150x76();
  sizing.SizeStep = INT64_MAX / 4;
  sizing.StepUp(50);
  EXPECT_EQ(sizing.SizeStep, INT64_MAX / 4);
  EXPECT_GT(sizing.NewWidth, 0);
  sizing.SetUnits(TSizeUnits::Pixels);
  EXPECT_GT(sizing.NewWidth, 0);
}

}  // namespace
}  // namespace quorvane
