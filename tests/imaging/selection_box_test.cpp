// The selection box as the pointer drives it: new boxes, handles and edges,
// moves, centred resizing, scaling, scrolling, and the surfaces it accepts.
#include "imaging/selection_box.h"

#include <gtest/gtest.h>

#include <limits>

#include "support/pixel_probe.h"
#include "support/test_pictures.h"

namespace quorvane {
namespace {

using test_support::Blank;
using test_support::SameStoredPixels;
using enum TBoxZone;

TDrawingSurface ImageControl(TRasterBitmap& picture) {
  return {TSurfaceKind::ImageControl, &picture, {0, 0, picture.Width(), picture.Height()}};
}

// A shown box on a white picture of `width` x `height`.
class SelectionBoxTest : public ::testing::Test {
 protected:
  void Attach(int width, int height) {
    picture_ = Blank(width, height);
    const TDrawingSurface surface = ImageControl(picture_);
    box_.SetDrawingSurface(&surface);
    box_.ShowBox();
  }
  void SetUp() override { Attach(200, 100); }

  // Press at `from`, move through `to`, release.
  void Drag(TPoint from, std::initializer_list<TPoint> to) {
    box_.BoxMouseDown(from.X, from.Y);
    for (const TPoint p : to) box_.BoxMouseMove(p.X, p.Y);
    box_.BoxMouseUp();
  }

  TRasterBitmap picture_;
  TSelectionBox box_;
};

TEST_F(SelectionBoxTest, APressOutsideStartsAnEmptyBoxThatTheDragOpens) {
  box_.SetBox(100, 50, 150, 80);
  const TBoxEvent down = box_.BoxMouseDown(10, 20);
  EXPECT_EQ(box_.Selection(), (TRect{10, 20, 10, 20}));
  EXPECT_EQ(box_.Anchor(), (TPoint{10, 20}));
  EXPECT_EQ(down.Cursor, TBoxCursor::Arrow);
  EXPECT_TRUE(box_.Dragging());
  const TBoxEvent move = box_.BoxMouseMove(50, 60);
  EXPECT_EQ(box_.Selection(), (TRect{10, 20, 50, 60}));
  EXPECT_EQ(box_.HitZone(), BottomRight);
  EXPECT_EQ(move.Cursor, TBoxCursor::SizeNWSE);
  EXPECT_EQ(box_.Readout(), "X1: 10 Y1: 20  X2: 50 Y2: 60  W: 40 H: 40");
  box_.BoxMouseUp();
  EXPECT_FALSE(box_.Dragging());
}

TEST_F(SelectionBoxTest, TheTopLeftHandleDraggedPastTheRightEdgeBecomesTheTopRight) {
  box_.SetBox(20, 20, 60, 60);
  box_.BoxMouseDown(20, 20);
  EXPECT_EQ(box_.HitZone(), TopLeft);
  const TBoxEvent across = box_.BoxMouseMove(80, 30);
  EXPECT_EQ(box_.Selection(), (TRect{60, 30, 80, 60}));
  EXPECT_EQ(box_.HitZone(), TopRight);
  EXPECT_EQ(across.Cursor, TBoxCursor::SizeNESW);
  // The corner under the pointer keeps following it.
  box_.BoxMouseMove(90, 25);
  EXPECT_EQ(box_.Selection(), (TRect{60, 25, 90, 60}));
  box_.BoxMouseMove(40, 70);
  EXPECT_EQ(box_.Selection(), (TRect{40, 60, 60, 70}));
  EXPECT_EQ(box_.HitZone(), BottomLeft);
}

TEST_F(SelectionBoxTest, EdgesMoveOneSide) {
  box_.SetBox(20, 20, 60, 60);
  Drag({60, 40}, {{75, 10}});
  EXPECT_EQ(box_.Selection(), (TRect{20, 20, 75, 60}));
  Drag({40, 60}, {{10, 5}});  // the bottom edge dragged above the top
  EXPECT_EQ(box_.Selection(), (TRect{20, 5, 75, 20}));
  EXPECT_EQ(box_.HitZone(), Top);
}

TEST_F(SelectionBoxTest, DraggingInsideMovesTheBoxByThePointersTravel) {
  box_.SetBox(20, 20, 60, 60);
  box_.BoxMouseMove(150, 90);  // hovering elsewhere first
  Drag({40, 40}, {{45, 50}, {47, 49}});
  EXPECT_EQ(box_.Selection(), (TRect{27, 29, 67, 69}));
  EXPECT_EQ(box_.Anchor(), (TPoint{47, 49}));
  EXPECT_EQ(box_.HitZone(), Inside);

  box_.SetUserMoveable(false);
  Drag({40, 40}, {{80, 80}});
  EXPECT_EQ(box_.Selection(), (TRect{27, 29, 67, 69}));
}

TEST_F(SelectionBoxTest, WithoutUserSizingDraggingChangesNothing) {
  box_.SetUserSizeable(false);
  box_.SetBox(20, 20, 60, 60);
  const TRasterBitmap drawn = picture_;
  for (const TPoint from : {TPoint{20, 20}, TPoint{60, 40}, TPoint{40, 40}, TPoint{150, 90}}) {
    box_.BoxMouseDown(from.X, from.Y);
    EXPECT_TRUE(box_.BoxMouseMove(from.X + 13, from.Y + 7).Changed.empty());
    box_.BoxMouseUp();
  }
  EXPECT_EQ(box_.Selection(), (TRect{20, 20, 60, 60}));
  EXPECT_TRUE(SameStoredPixels(picture_, drawn));
}

TEST_F(SelectionBoxTest, HoveringShowsTheShapeOfTheZoneUnderThePointer) {
  box_.SetBox(20, 20, 60, 60);
  const std::pair<TPoint, TBoxCursor> cases[] = {
      {{40, 40}, TBoxCursor::SizeAll},  {{60, 40}, TBoxCursor::SizeWE},
      {{40, 20}, TBoxCursor::SizeNS},   {{60, 60}, TBoxCursor::SizeNWSE},
      {{20, 60}, TBoxCursor::SizeNESW}, {{100, 90}, TBoxCursor::Arrow}};
  for (const auto& [point, cursor] : cases)
    EXPECT_EQ(box_.BoxMouseMove(point.X, point.Y).Cursor, cursor) << point.X << "," << point.Y;

  // A box that may only be moved keeps the zone of the last press.
  box_.SetUserSizeable(false);
  box_.BoxMouseDown(40, 40);
  box_.BoxMouseUp();
  EXPECT_EQ(box_.BoxMouseMove(100, 90).Cursor, TBoxCursor::SizeAll);
}

TEST_F(SelectionBoxTest, CentredResizeFollowsTheSurfaceProportions) {
  box_.SetCenterMode(true);  // the surface is 200 x 100
  box_.BoxMouseDown(100, 50);
  box_.BoxMouseMove(140, 60);
  EXPECT_EQ(box_.Selection(), (TRect{60, 30, 140, 70}));
  EXPECT_EQ(box_.Anchor(), (TPoint{100, 50}));
  // Past the anchor to the upper left: the same box, normalised.
  box_.BoxMouseMove(60, 45);
  EXPECT_EQ(box_.Selection(), (TRect{60, 30, 140, 70}));
  box_.BoxMouseUp();
  // Inside, the box still moves.
  Drag({100, 50}, {{110, 55}});
  EXPECT_EQ(box_.Selection(), (TRect{70, 35, 150, 75}));
}

TEST_F(SelectionBoxTest, PointerCoordinatesAreDividedByTheScaleTiesToEven) {
  EXPECT_FALSE(box_.SetScale(1.0, 1.0));
  EXPECT_FALSE(box_.SetScale(0.0, 2.0));
  EXPECT_FALSE(box_.SetScale(2.0, -1.0));
  EXPECT_FALSE(box_.SetScale(std::numeric_limits<double>::quiet_NaN(), 2.0));
  EXPECT_TRUE(box_.SetScale(2.0, 4.0));
  EXPECT_EQ(box_.Scale().X, 2.0);
  box_.BoxMouseDown(21, 10);  // 10.5 and 2.5
  EXPECT_EQ(box_.LastPoint(), (TPoint{10, 2}));
  box_.BoxMouseMove(23, 14);  // 11.5 and 3.5
  EXPECT_EQ(box_.Selection(), (TRect{10, 2, 12, 4}));
}

TEST_F(SelectionBoxTest, DraggingReportsHowFarToScroll) {
  const TScrollView view{{-100, -20}, 80, 60};
  box_.BoxMouseDown(120, 40);
  EXPECT_EQ(box_.BoxMouseMove(90, 30, view).Scroll, (TPoint{-10, 0}));
  EXPECT_EQ(box_.BoxMouseMove(190, 95, view).Scroll, (TPoint{10, 15}));
  EXPECT_EQ(box_.BoxMouseMove(150, 50, view).Scroll, (TPoint{0, 0}));
  EXPECT_EQ(box_.BoxMouseMove(190, 95).Scroll, (TPoint{0, 0}));  // no scroll box
  box_.BoxMouseUp();
  EXPECT_EQ(box_.BoxMouseMove(0, 0, view).Scroll, (TPoint{0, 0}));  // not dragging
}

TEST_F(SelectionBoxTest, AHiddenBoxIgnoresThePointer) {
  box_.SetBox(20, 20, 60, 60);
  box_.HideBox();
  box_.BoxMouseDown(100, 90);
  box_.BoxMouseMove(150, 95);
  EXPECT_FALSE(box_.Dragging());
  EXPECT_EQ(box_.Selection(), (TRect{20, 20, 60, 60}));
  // A release while hidden still ends a drag begun while shown, so plain
  // moves over the box shown again do not drag it.
  box_.ShowBox();
  box_.BoxMouseDown(100, 90);
  box_.HideBox();
  box_.BoxMouseUp();
  EXPECT_FALSE(box_.Dragging());
  box_.ShowBox();
  box_.BoxMouseMove(120, 95);
  EXPECT_EQ(box_.Selection(), (TRect{100, 90, 100, 90}));
}

TEST_F(SelectionBoxTest, SetBoxTakesTheRectangleAsGivenAndCentresTheAnchor) {
  box_.SetBox(50, 40, 10, 5);
  EXPECT_EQ(box_.Selection(), (TRect{50, 40, 10, 5}));
  EXPECT_EQ(box_.Anchor(), (TPoint{30, 22}));
  box_.SetBox(-7, -4, 0, 0);
  EXPECT_EQ(box_.Anchor(), (TPoint{-3, -2}));  // truncated towards zero
  box_.SetBox(std::numeric_limits<int32_t>::min(), 0, std::numeric_limits<int32_t>::max(), 1);
  EXPECT_EQ(box_.Readout(), "X1: -2147483648 Y1: 0  X2: 2147483647 Y2: 1  W: 4294967295 H: 1");
}

TEST(SelectionBoxSurface, RefusedSurfacesWarnAndKeepThePreviousOne) {
  TRasterBitmap picture = Blank(40, 30);
  TSelectionBox box;
  const TDrawingSurface form{TSurfaceKind::Form, &picture, {0, 0, 40, 30}};
  const TDrawingSurface label{TSurfaceKind::Other, &picture, {0, 0, 40, 30}};
  const TDrawingSurface no_pixels{TSurfaceKind::ImageControl, nullptr, {}};
  for (const TDrawingSurface* refused :
       {&form, &label, &no_pixels, (const TDrawingSurface*)nullptr})
    EXPECT_EQ(box.SetDrawingSurface(refused).Warning, "Must be TImage, TPaintBox or TForm");
  EXPECT_EQ(box.DrawingSurface(), nullptr);

  const TDrawingSurface image = ImageControl(picture);
  EXPECT_EQ(box.SetDrawingSurface(&image).Warning, "");
  EXPECT_EQ(box.SetDrawingSurface(&form).Warning, "Must be TImage, TPaintBox or TForm");
  ASSERT_NE(box.DrawingSurface(), nullptr);
  EXPECT_EQ(box.DrawingSurface()->Picture, &picture);
}

TEST(SelectionBoxSurface, ANewSurfaceTakesTheShownBoxAlong) {
  TRasterBitmap first = Blank(40, 30), second = Blank(50, 40);
  const TRasterBitmap clean_first = first, clean_second = second;
  TSelectionBox box;
  box.SetBox(5, 5, 20, 15);
  box.ShowBox();  // no surface yet: shown but drawn nowhere
  const TDrawingSurface one = ImageControl(first);
  const TSurfaceChange attached = box.SetDrawingSurface(&one);
  EXPECT_TRUE(attached.PreviousSurface.empty());
  EXPECT_FALSE(attached.Surface.empty());
  EXPECT_FALSE(SameStoredPixels(first, clean_first));

  EXPECT_TRUE(box.SetDrawingSurface(&one).Surface.empty());  // the same again

  const TDrawingSurface paint_box{TSurfaceKind::PaintBox, &second, {0, 0, 50, 40}};
  const TSurfaceChange moved = box.SetDrawingSurface(&paint_box);
  EXPECT_FALSE(moved.PreviousSurface.empty());
  EXPECT_FALSE(moved.Surface.empty());
  EXPECT_TRUE(SameStoredPixels(first, clean_first));
  EXPECT_FALSE(SameStoredPixels(second, clean_second));
  EXPECT_TRUE(box.Showing());

  box.HideBox();
  EXPECT_TRUE(SameStoredPixels(second, clean_second));
  // A hidden box moves to another surface without drawing on it.
  const TSurfaceChange back = box.SetDrawingSurface(&one);
  EXPECT_TRUE(back.Surface.empty());
  EXPECT_TRUE(SameStoredPixels(first, clean_first));
}

}  // namespace
}  // namespace quorvane
