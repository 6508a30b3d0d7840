#include "document/precise_sizing.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

class PreciseSizing : public ::testing::Test {
 protected:
  void SetUp() override {
    sizing_.ResetSizing(150, 76);
    dialog_.Open(sizing_);
  }
  TSizingState sizing_;
  TPreciseSizeModel dialog_;
};

TEST_F(PreciseSizing, OpeningLoadsTheRequestedSizeWithoutCoupling) {
  sizing_.SetNewSize(300, 10);  // no longer in proportion
  dialog_.Open(sizing_);
  EXPECT_EQ(dialog_.Width, 300);
  EXPECT_EQ(dialog_.Height, 10);
}

TEST_F(PreciseSizing, TypedWidthSetsTheHeightTruncated) {
  dialog_.WidthSpinChange(200);
  EXPECT_EQ(dialog_.Width, 200);
  EXPECT_EQ(dialog_.Height, 101);  // 101.33
}

TEST_F(PreciseSizing, TypedHeightSetsTheWidthTruncated) {
  dialog_.HeightSpinChange(100);
  EXPECT_EQ(dialog_.Height, 100) << "the edited field keeps what was typed";
  EXPECT_EQ(dialog_.Width, 197);  // 197.37
}

TEST_F(PreciseSizing, TruncationGoesTowardsZeroForNegativeSizes) {
  dialog_.WidthSpinChange(-200);
  EXPECT_EQ(dialog_.Height, -101);
}

TEST_F(PreciseSizing, WithoutKeepAspectAnySizeIsAccepted) {
  dialog_.KeepAspect = false;
  dialog_.WidthSpinChange(500);
  dialog_.HeightSpinChange(7);
  EXPECT_EQ(dialog_.Width, 500);
  EXPECT_EQ(dialog_.Accept(sizing_), (TNewSizeTexts{" 500 x 7", "Percent", " 0"}));
  EXPECT_EQ(sizing_.NewWidth, 500);
  EXPECT_EQ(sizing_.NewHeight, 7);
  EXPECT_EQ(sizing_.OrigWidth, 150) << "step, units and original size stay";
}

TEST_F(PreciseSizing, HugeAndDegenerateRatiosSaturate) {
  sizing_.ResetSizing(1, 100000);
  dialog_.Open(sizing_);
  dialog_.HeightSpinChange(INT32_MAX);
  EXPECT_EQ(dialog_.Width, INT32_MAX / 100000);
  dialog_.WidthSpinChange(INT32_MAX);
  EXPECT_EQ(dialog_.Height, INT32_MAX) << "saturated, not wrapped";
  sizing_.ResetSizing(0, 5);  // a ratio of 0
  dialog_.Open(sizing_);
  dialog_.WidthSpinChange(0);
  EXPECT_EQ(dialog_.Height, 0);
  dialog_.WidthSpinChange(3);
  EXPECT_EQ(dialog_.Height, INT32_MAX);
}

}  // namespace
}  // namespace quorvane
