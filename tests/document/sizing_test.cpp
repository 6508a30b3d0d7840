#include "document/sizing.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

TEST(ResizeSizing, PercentStepsRoundTiesToEven) {
  // A 150 x 76 source.
  EXPECT_EQ(PercentStepSize(150, 76, 10), (TImageSize{165, 84}));
  EXPECT_EQ(PercentStepSize(150, 76, 3), (TImageSize{154, 78}));   // 4.5 rounds to 4
  EXPECT_EQ(PercentStepSize(150, 76, -5), (TImageSize{142, 72}));  // -7.5 rounds to -8
  EXPECT_EQ(PercentStepSize(50, 76, 1).Width, 50);                 // 0.5 rounds to 0
  EXPECT_EQ(PercentStepSize(150, 76, -150), (TImageSize{-75, -38}));
  EXPECT_EQ(PercentStepSize(150, 76, -100), (TImageSize{0, 0}));
  EXPECT_EQ(PercentStepSize(8000, 6000, -50), (TImageSize{4000, 3000}));
  EXPECT_EQ(PercentStepSize(8000, 6000, 50), (TImageSize{12000, 9000}));
}

TEST(ResizeSizing, PixelStepsAndEmptySource) {
  EXPECT_EQ(PixelStepSize(150, 76, 10), (TImageSize{160, 81}));
  EXPECT_EQ(SizingAspectRatio(150, 0), 1.0);
  EXPECT_EQ(PixelStepSize(0, 0, 7), (TImageSize{7, 7}));
}

}  // namespace
}  // namespace quorvane
