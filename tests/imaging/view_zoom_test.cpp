#include "imaging/view_zoom.h"

#include <gtest/gtest.h>

#include <cmath>

namespace quorvane {
namespace {

TEST(ViewZoom, StepsRunFromOneSixtyFourthToSixtyFourAndLeaveFittedZoomsForTheirNeighbours) {
  TViewZoom zoom = kActualPixels;
  std::string in, out;
  for (int i = 0; i < 14; ++i) in += ZoomPercentText(zoom = ZoomedIn(zoom)) + " ";
  EXPECT_EQ(in, "150% 200% 300% 400% 600% 800% 1200% 1600% 2400% 3200% 4800% 6400% 6400% 6400% ");
  zoom = kActualPixels;
  for (int i = 0; i < 14; ++i) out += ZoomPercentText(zoom = ZoomedOut(zoom)) + " ";
  EXPECT_EQ(out,
            "66.67% 50% 33.33% 25% 16.67% 12.5% 8.33% 6.25% 4.17% 3.13% 2.08% 1.56% 1.56% 1.56% ");
  EXPECT_EQ(ZoomedIn({7, 10}), (TViewZoom{1, 1}));
  EXPECT_EQ(ZoomedOut({7, 10}), (TViewZoom{2, 3}));
}

TEST(ViewZoom, FitTakesTheTighterSideAndStopsAtTheSmallestStep) {
  EXPECT_EQ(FitZoom(10000, 8000, 1000, 1000), (TViewZoom{1, 10}));
  EXPECT_EQ(FitZoom(8000, 10000, 1000, 1000), (TViewZoom{1, 10}));
  EXPECT_EQ(FitZoom(100, 50, 400, 400), (TViewZoom{4, 1}));
  EXPECT_EQ(FitZoom(1100000, 10, 1000, 800), (TViewZoom{1, 64}));
  EXPECT_EQ(ZoomPercentText(FitZoom(10000, 8000, 1000, 700)), "8.75%");
}

// At every zoom the pixel under a view position is floor(position / zoom),
// the view covers the picture exactly, and a picture pixel's view span maps
// back to it, the last row and column included.
TEST(ViewZoom, ViewAndPicturePositionsAgreeAtEveryZoomUpToTheLastPixel) {
  for (const TViewZoom zoom : {TViewZoom{1, 64}, TViewZoom{1, 3}, TViewZoom{2, 3}, kActualPixels,
                               TViewZoom{3, 2}, TViewZoom{3, 1}, TViewZoom{7, 97}}) {
    SCOPED_TRACE(ZoomPercentText(zoom));
    const int side = 1001;
    const int64_t extent = ViewExtent(side, zoom);
    // The last view column shows the last picture column; none beyond it.
    EXPECT_EQ(PictureRectOfView({int(extent) - 1, 0, int(extent), 1}, zoom, side, side).Right,
              side);
    EXPECT_GE(ViewToPicture(extent, zoom), side);
    EXPECT_LT(ViewToPicture(-1, zoom), 0);
    for (int64_t v = 0; v < extent; ++v) {
      const int64_t p = ViewToPicture(v, zoom);
      ASSERT_EQ(p, int64_t(std::floor(double(v) * double(zoom.Den) / double(zoom.Num))));
      ASSERT_TRUE(PictureToView(p, zoom) <= v && v < PictureToView(p + 1, zoom));
    }
    const TRect all = PictureRectOfView({0, 0, int(extent), int(extent)}, zoom, side, side);
    EXPECT_EQ(all, (TRect{0, 0, side, side}));
  }
}

TEST(ViewZoom, RectanglesMapToThePixelsTheyTouch) {
  EXPECT_EQ(PictureRectOfView({10, 10, 20, 11}, {3, 1}, 100, 100), (TRect{3, 3, 7, 4}));
  EXPECT_EQ(PictureRectOfView({10, 10, 20, 11}, {1, 4}, 60, 100), (TRect{40, 40, 60, 44}));
  EXPECT_EQ(ViewRectOfPicture({3, 3, 7, 4}, {3, 1}), (TRect{9, 9, 21, 12}));
  EXPECT_EQ(ViewRectOfPicture({0, 0, 5, 5}, {1, 2}), (TRect{0, 0, 3, 3}));
}

TEST(ViewZoom, ZoomingAroundTheAnchorKeepsThePicturePointUnderIt) {
  // Pixel 250 under the pointer at viewport x 100 (scrolled by 150) ...
  EXPECT_EQ(ScrollKeepingAnchor(150, 100, kActualPixels, {2, 1}), 400);  // 500 - 100
  EXPECT_EQ(ScrollKeepingAnchor(400, 100, {2, 1}, kActualPixels), 150);
  EXPECT_EQ(ScrollKeepingAnchor(150, 100, kActualPixels, {1, 4}), 0);  // would be negative
  // A picture a million pixels wide at the largest step stays exact.
  EXPECT_EQ(ScrollKeepingAnchor(999999, 1, kActualPixels, {64, 1}), 64000000 - 1);
}

}  // namespace
}  // namespace quorvane
