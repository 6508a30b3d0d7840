#include "imaging/selection_geometry.h"

#include <gtest/gtest.h>

#include <limits>

#include "imaging/selection_drag.h"

namespace quorvane {
namespace {

using enum TBoxZone;

constexpr TRect kBox{10, 20, 50, 60};
constexpr int kMin = std::numeric_limits<int32_t>::min();
constexpr int kMax = std::numeric_limits<int32_t>::max();

TEST(SelectionHitTest, HandlesReachThreeToEachSideAndExcludeTheirFarEdges) {
  EXPECT_EQ(HitTest(kBox, {7, 17}), TopLeft);
  EXPECT_EQ(HitTest(kBox, {12, 22}), TopLeft);
  EXPECT_EQ(HitTest(kBox, {6, 20}), Outside);
  EXPECT_EQ(HitTest(kBox, {13, 23}), Inside);
  EXPECT_EQ(HitTest(kBox, {47, 17}), TopRight);
  EXPECT_EQ(HitTest(kBox, {52, 22}), TopRight);
  EXPECT_EQ(HitTest(kBox, {53, 22}), Outside);
  EXPECT_EQ(HitTest(kBox, {7, 62}), BottomLeft);
  EXPECT_EQ(HitTest(kBox, {12, 63}), Outside);
  EXPECT_EQ(HitTest(kBox, {52, 62}), BottomRight);
}

TEST(SelectionHitTest, EdgeBandsRunBetweenTheHandles) {
  EXPECT_EQ(HitTest(kBox, {7, 23}), Left);
  EXPECT_EQ(HitTest(kBox, {12, 56}), Left);
  EXPECT_EQ(HitTest(kBox, {47, 40}), Right);
  EXPECT_EQ(HitTest(kBox, {52, 23}), Right);
  EXPECT_EQ(HitTest(kBox, {13, 17}), Top);
  EXPECT_EQ(HitTest(kBox, {46, 22}), Top);
  EXPECT_EQ(HitTest(kBox, {30, 57}), Bottom);
  EXPECT_EQ(HitTest(kBox, {30, 62}), Bottom);
  EXPECT_EQ(HitTest(kBox, {30, 63}), Outside);
  EXPECT_EQ(HitTest(kBox, {46, 40}), Inside);
  EXPECT_EQ(HitTest(kBox, {30, 56}), Inside);
}

// The box itself excludes its right column and bottom row: a point on them
// is never Inside, only under the band or handle that covers it.
TEST(SelectionHitTest, PointsOnRightAndBottomAreNotInside) {
  EXPECT_EQ(HitTest(kBox, {50, 40}), Right);
  EXPECT_EQ(HitTest(kBox, {30, 60}), Bottom);
  EXPECT_EQ(HitTest(kBox, {50, 60}), BottomRight);
  EXPECT_EQ(HitTest(kBox, {49, 40}), Right);
  const TRect wide{0, 0, 1000, 1000};
  EXPECT_EQ(HitTest(wide, {1000, 500}), Right);
  EXPECT_EQ(HitTest(wide, {500, 1000}), Bottom);
  EXPECT_EQ(HitTest(wide, {996, 500}), Inside);
  EXPECT_EQ(HitTest(wide, {1003, 500}), Outside);
  EXPECT_EQ(HitTest(wide, {500, 1003}), Outside);
}

TEST(SelectionHitTest, OverlappingHandlesOfASmallBoxGoInOrder) {
  const TRect small{10, 10, 14, 14};
  EXPECT_EQ(HitTest(small, {12, 12}), TopLeft);
  EXPECT_EQ(HitTest(small, {13, 12}), TopRight);
  EXPECT_EQ(HitTest(small, {12, 13}), BottomLeft);
  EXPECT_EQ(HitTest(small, {13, 13}), BottomRight);
  const TRect empty{};
  EXPECT_EQ(HitTest(empty, {0, 0}), TopLeft);
  EXPECT_EQ(HitTest(empty, {-3, 2}), TopLeft);
}

TEST(SelectionHitTest, BoxesAtTheEndsOfTheIntegerRangeDoNotOverflow) {
  const TRect huge{kMin, kMin, kMax, kMax};
  EXPECT_EQ(HitTest(huge, {kMax, 0}), Right);
  EXPECT_EQ(HitTest(huge, {kMin, 0}), Left);
  EXPECT_EQ(HitTest(huge, {0, 0}), Inside);
  EXPECT_EQ(HitTest(huge, {kMax, kMax}), BottomRight);
}

TEST(SelectionNormalise, SwapsSidesAndRenamesTheZoneBeingDragged) {
  struct Case {
    TRect Box;
    TBoxZone Zone;
    TRect Expected;
    TBoxZone ExpectedZone;
  };
  const Case cases[] = {
      {{60, 20, 50, 60}, TopLeft, {50, 20, 60, 60}, TopRight},
      {{10, 20, 5, 60}, BottomRight, {5, 20, 10, 60}, BottomLeft},
      {{60, 20, 50, 60}, Left, {50, 20, 60, 60}, Right},
      {{10, 70, 50, 60}, TopLeft, {10, 60, 50, 70}, BottomLeft},
      {{10, 20, 50, 15}, Bottom, {10, 15, 50, 20}, Top},
      {{60, 70, 50, 60}, TopLeft, {50, 60, 60, 70}, BottomRight},
      {{60, 70, 50, 60}, BottomLeft, {50, 60, 60, 70}, TopRight},
      {{10, 20, 50, 60}, TopLeft, {10, 20, 50, 60}, TopLeft},
  };
  for (const Case& c : cases) {
    TRect box = c.Box;
    TBoxZone zone = c.Zone;
    NormaliseBox(box, zone);
    EXPECT_EQ(box, c.Expected);
    EXPECT_EQ(zone, c.ExpectedZone) << int(c.Zone);
  }
}

TEST(SelectionBands, CoverEachEdgeThreeToEitherSideInEitherOrientation) {
  const std::array<TRect, 4> expected{TRect{7, 17, 13, 63}, TRect{7, 17, 53, 23},
                                      TRect{47, 17, 53, 63}, TRect{7, 57, 53, 63}};
  EXPECT_EQ(BoxBands(kBox), expected);
  EXPECT_EQ(BoxBands({50, 60, 10, 20}), expected);
  const auto huge = BoxBands({kMin, 0, kMax, 0});
  EXPECT_EQ(huge[0], (TRect{kMin, -3, kMin + 3, 3}));
  EXPECT_EQ(huge[2], (TRect{kMax - 3, -3, kMax, 3}));
}

TEST(SelectionDrag, CentredResizeKeepsTheSurfaceProportions) {
  // A surface twice as wide as high; 40 right and 10 below the anchor.
  EXPECT_EQ(ResizeCentred({100, 50}, {140, 60}, 2.0), (TRect{60, 30, 140, 70}));
  // Mostly downwards: the height leads and the width follows.
  EXPECT_EQ(ResizeCentred({100, 50}, {110, 90}, 2.0), (TRect{20, 10, 180, 90}));
  // Up and to the left gives the box inside out, to be normalised.
  EXPECT_EQ(ResizeCentred({100, 50}, {60, 45}, 2.0), (TRect{140, 70, 60, 30}));
  // Straight sideways: the ratio counts as 1, below the aspect.
  EXPECT_EQ(ResizeCentred({100, 50}, {101, 50}, 2.0), (TRect{100, 50, 100, 50}));
  // Truncation towards zero, not rounding.
  EXPECT_EQ(ResizeCentred({0, 0}, {7, 1}, 2.0), (TRect{-7, -3, 7, 3}));
}

TEST(SelectionDrag, CentredResizeOnADegenerateSurfaceStaysDefined) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  // The height leads; the width it would give is undefined (NaN) or endless.
  EXPECT_EQ(ResizeCentred({10, 10}, {20, 30}, nan), (TRect{10, -10, 10, 30}));
  EXPECT_EQ(ResizeCentred({10, 10}, {20, 30}, inf), (TRect{kMin, -10, kMax, 30}));
  EXPECT_EQ(ResizeCentred({10, 10}, {20, 30}, 0.0), (TRect{0, kMin, 20, kMax}));
}

TEST(SelectionDrag, MovesSaturateAtTheIntegerRange) {
  EXPECT_EQ(OffsetBox(kBox, 5, -5), (TRect{15, 15, 55, 55}));
  EXPECT_EQ(OffsetBox({kMax - 10, 0, kMax, 10}, 100, 0), (TRect{kMax, 0, kMax, 10}));
}

TEST(SelectionScroll, ScrollsByHowFarThePointerLeftTheClientArea) {
  const TScrollView view{{-100, -50}, 300, 200};
  EXPECT_EQ(ScrollDelta({150, 100}, view), (TPoint{0, 0}));
  EXPECT_EQ(ScrollDelta({90, 40}, view), (TPoint{-10, -10}));
  EXPECT_EQ(ScrollDelta({450, 300}, view), (TPoint{50, 50}));
  // Exactly on the far edge of the client area is still in view.
  EXPECT_EQ(ScrollDelta({400, 250}, view), (TPoint{0, 0}));
  EXPECT_EQ(ScrollDelta({100, 50}, view), (TPoint{0, 0}));
  EXPECT_EQ(ScrollDelta({kMax, kMin}, {{kMax, kMin}, 0, 0}), (TPoint{kMax, kMin}));
}

}  // namespace
}  // namespace quorvane
