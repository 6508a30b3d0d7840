#include "printing/print_layout.h"

#include <gtest/gtest.h>

#include <vector>

namespace quorvane {
namespace {

constexpr TPrintPage kPage{4800, 6600};  // area 4775 x 6575
constexpr TPrintScaling kShrink = {.Shrink = true};
constexpr TPrintScaling kFit = {.Enlarge = true, .Shrink = true};

TEST(PrintPageCounts, ExactAreaIsOnePageAndOnePixelMoreStartsAnother) {
  EXPECT_EQ(CountPages(4775, 6575, kPage), (TPageCounts{1, 1, 1}));
  EXPECT_EQ(CountPages(4776, 6575, kPage), (TPageCounts{2, 1, 2}));
  EXPECT_EQ(CountPages(4776, 6576, kPage), (TPageCounts{2, 2, 4}));
  EXPECT_EQ(CountPages(1, 1, kPage), (TPageCounts{1, 1, 1}));
  EXPECT_EQ(PageCountsText(CountPages(10000, 7000, kPage)), "X: 3 Y: 2 Total: 6");
}

TEST(PrintPageCounts, EmptyPictureAndTinyPageStayDefined) {
  EXPECT_EQ(PageCountsText(CountPages(0, 0, kPage)), "X: 0 Y: 0 Total: 0");
  EXPECT_EQ(CountPages(300, 0, kPage), (TPageCounts{}));
  // A page no bigger than the inset leaves an area of one pixel.
  EXPECT_EQ(PrintableArea({20, 25}), (TPrintArea{1, 1}));
  EXPECT_EQ(CountPages(3, 2, {0, 0}), (TPageCounts{3, 2, 6}));
}

TEST(PrintOutputSize, FitToPageEnlargesBySparePixels) {
  // Spare height 6475 exceeds spare width 1775: the width fills the area.
  EXPECT_EQ(PrintOutputSize(3000, 100, kPage, kFit), (TPrintSize{4775, 159}));
  // Spare width the larger: the height fills the area.
  EXPECT_EQ(PrintOutputSize(1000, 1400, {4800, 1500}, kFit), (TPrintSize{1053, 1475}));
}

TEST(PrintOutputSize, FitToPageNeverEnlargesOffThePage) {
  // More spare height than width, yet filling the width would make the
  // picture 47750 pixels high: it fills the height instead.
  EXPECT_EQ(PrintOutputSize(100, 1000, kPage, kFit), (TPrintSize{657, 6575}));
}

TEST(PrintOutputSize, ShrinkToPageKeepsASmallPictureAtItsSize) {
  EXPECT_EQ(PrintOutputSize(3000, 100, kPage, kShrink), (TPrintSize{3000, 100}));
  EXPECT_EQ(PrintOutputSize(3000, 100, kPage, {}), (TPrintSize{3000, 100}));
}

TEST(PrintOutputSize, ShrinkFollowsThePageRatio) {
  // Taller than the page's 1.375: fills the area's height.
  EXPECT_EQ(PrintOutputSize(5000, 10000, kPage, kShrink), (TPrintSize{3287, 6575}));
  // Flatter: fills the area's width.
  EXPECT_EQ(PrintOutputSize(10000, 5000, kPage, kShrink), (TPrintSize{4775, 2387}));
  // Exactly the area's width does not fit strictly, so the rule applies.
  EXPECT_EQ(PrintOutputSize(4775, 100, kPage, kShrink), (TPrintSize{4775, 100}));
  // Without shrinking, a large picture prints at its size.
  EXPECT_EQ(PrintOutputSize(10000, 5000, kPage, {.Enlarge = true}), (TPrintSize{10000, 5000}));
}

TEST(PrintOutputSize, ExtremeShapesKeepAtLeastOnePixel) {
  EXPECT_EQ(PrintOutputSize(1000000, 1, kPage, kShrink), (TPrintSize{4775, 1}));
  EXPECT_EQ(PrintOutputSize(0, 100, kPage, kFit), (TPrintSize{}));
}

TEST(PrintBands, ScaledBandsUseTheWidthFactorRoundedHalfAway) {
  // 4775 / 3000 per row: 100 rows are 159.17 printer rows.
  const TBandPlan fitted(3000, 100, kPage, kFit);
  EXPECT_EQ(fitted.Output(), (TPrintSize{4775, 159}));
  EXPECT_EQ(fitted.BandHeight(), 159);
  EXPECT_EQ(fitted.Band(0).Dest, (TRect{5, 5, 4780, 164}));
  // 2.5 printer rows per picture row: 250 per band exactly, and a half
  // rounds away from zero.
  const TBandPlan halves(1910, 201, kPage, kFit);
  EXPECT_EQ(halves.Output().Width, 4775);
  EXPECT_EQ(halves.BandHeight(), 250);
  EXPECT_EQ(halves.Band(2).Dest, (TRect{5, 505, 4780, 508}));
}

TEST(PrintBands, ShrunkTallPictureEndsAtItsPrintedHeight) {
  // 6.5 printer rows per band of 100: bands of 7 would add up to 7000 rows,
  // beyond the 6575 of the page's area.
  const TBandPlan plan(1000, 100000, kPage, kShrink);
  EXPECT_EQ(plan.Output(), (TPrintSize{65, 6575}));
  EXPECT_EQ(plan.BandHeight(), 7);
  const TPrintBand last = plan.Band(plan.Count() - 1);
  EXPECT_EQ(last.Dest.Bottom, 5 + 6500);
  for (int i = 1; i < plan.Count(); ++i)
    ASSERT_EQ(plan.Band(i).Dest.Top, plan.Band(i - 1).Dest.Bottom) << i;
}

TEST(PrintBands, EmptyPictureHasNoBands) {
  const TBandPlan plan(0, 0, kPage, kFit);
  EXPECT_EQ(plan.Count(), 0);
  EXPECT_EQ(plan.Output(), TPrintSize{});
  EXPECT_EQ(TBandPlan(300, 250, kPage, kFit).Band(3), TPrintBand{});
}

TEST(PrintTiles, PagesCutThePictureAndShareOneFrame) {
  // Three columns, two rows; the last column and row are partial.
  const TTilePlan plan(10000, 7000, kPage);
  ASSERT_EQ(plan.Count(), 6);
  const TPrintTile first = plan.Tile(0);
  EXPECT_EQ(first.Title, "0 0");
  EXPECT_EQ(first.Source, (TRect{0, 0, 4775, 6575}));
  EXPECT_EQ(first.Dest, (TRect{5, 5, 4780, 6580}));
  EXPECT_EQ(first.Frame, (TFrameEdges{.Left = true, .Top = true}));
  const TPrintTile corner = plan.Tile(5);
  EXPECT_EQ(corner.Title, "2 1");
  EXPECT_EQ(corner.Source, (TRect{9550, 6575, 10000, 7000}));
  EXPECT_EQ(corner.Dest, (TRect{5, 5, 455, 430}));
  EXPECT_EQ(corner.Frame, (TFrameEdges{.Right = true, .Bottom = true}));
  EXPECT_EQ(plan.Tile(1).Frame, (TFrameEdges{.Top = true}));
  EXPECT_EQ(plan.Tile(3).Title, "0 1");
  std::vector<int> progress;
  for (int i = 0; i < plan.Count(); ++i) progress.push_back(plan.Tile(i).Progress);
  EXPECT_EQ(progress, (std::vector<int>{0, 16, 33, 50, 66, 83}));
}

TEST(PrintTiles, OnePagePictureHasTheWholeFrame) {
  const TTilePlan plan(4775, 6575, kPage);
  ASSERT_EQ(plan.Count(), 1);
  EXPECT_EQ(plan.Tile(0).Frame, (TFrameEdges{true, true, true, true}));
  EXPECT_EQ(TTilePlan(0, 0, kPage).Count(), 0);
  EXPECT_EQ(plan.Tile(1), TPrintTile{});
}

}  // namespace
}  // namespace quorvane
