// Redrawing the measuring polyline by the figures that changed: the pixels
// must match erasing everything and drawing anew, for any drag, click and
// release, while far less of the picture is touched.
#include "document/measure_redraw.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "document/measure_drawing.h"
#include "document/pane.h"
#include "support/pixel_probe.h"
#include "support/test_pictures.h"

namespace quorvane {
namespace {

using test_support::Blank;
using test_support::kMiddleGrey;
using test_support::SamePixels;

// A picture with some texture, so an erase from the wrong place shows.
TRasterBitmap Textured(int width, int height) {
  TRasterBitmap b;
  b.Reset(TPixelFormat::Bit24, width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      uint8_t* p = b.Scanline(y) + 3 * x;
      p[0] = uint8_t(x * 7 + y), p[1] = uint8_t(y * 5), p[2] = uint8_t(x ^ y);
    }
  return b;
}

// What the picture must show: the clean picture with the polyline drawn on it.
TRasterBitmap Expected(const TRasterBitmap& clean, const TMeasureTool& tool) {
  TRasterBitmap expected = clean;
  Draw(tool, expected);
  return expected;
}

int64_t AreaOf(const TRepaintArea& area) {
  int64_t sum = 0;
  for (const TRect& r : area.Rects) sum += int64_t(r.Right - r.Left) * (r.Bottom - r.Top);
  return sum;
}

TEST(MeasureRedraw, UnchangedDrawingChangesNothing) {
  const TMeasureDrawing drawing{{{5, 5}, {40, 9}, {12, 30}}, -1};
  EXPECT_TRUE(ChangedDrawingArea(drawing, drawing, {0, 0, 50, 50}).empty());
}

TEST(MeasureRedraw, MovingOnePointTouchesItsTwoSegmentsAndMarkerOnly) {
  TMeasureDrawing before{{{10, 10}, {400, 10}, {400, 300}, {10, 300}}, 2};
  TMeasureDrawing after = before;
  after.Points[2] = {405, 310};
  TRect bounds;
  for (const TRect& r : ChangedDrawingArea(before, after, {0, 0, 500, 500})) {
    bounds.Left = bounds.Right == 0 ? r.Left : std::min(bounds.Left, r.Left);
    bounds.Top = bounds.Bottom == 0 ? r.Top : std::min(bounds.Top, r.Top);
    bounds.Right = std::max(bounds.Right, r.Right);
    bounds.Bottom = std::max(bounds.Bottom, r.Bottom);
  }
  // Segments 1-2 and 2-3 and marker 2 lie right of x = 10 + a flank and
  // below y = 10 + a flank; the first segment and marker 0 stay untouched.
  EXPECT_GE(bounds.Left, 7);
  EXPECT_GE(bounds.Top, 7);
  EXPECT_LE(bounds.Right, 410);
  EXPECT_LE(bounds.Bottom, 315);
}

TEST(MeasureRedraw, ClippedDrawingMatchesTheWholeDrawingInsideTheClip) {
  const TRasterBitmap clean = Textured(120, 90);
  TMeasureTool tool;
  tool.Points = {{3, 4}, {110, 20}, {60, 85}, {-20, 40}, {61, 41}};
  tool.Selected = 2;
  const TRasterBitmap whole = Expected(clean, tool);
  const TRect clip{30, 10, 75, 60};
  TRasterBitmap clipped = clean;
  DrawWithin(tool, clipped, clip);
  for (int y = 0; y < clean.Height(); ++y)
    for (int x = 0; x < clean.Width(); ++x) {
      const bool inside = x >= clip.Left && x < clip.Right && y >= clip.Top && y < clip.Bottom;
      const TRasterBitmap& want = inside ? whole : clean;
      ASSERT_EQ(test_support::PixelColor(clipped, x, y), test_support::PixelColor(want, x, y))
          << x << "," << y;
    }
}

// Random clicks, drags (with and without Ctrl), right clicks and releases,
// points also outside the picture; after every step the shown picture is
// checked against a fresh drawing on the clean copy.
TEST(MeasureRedraw, AnySequenceOfMouseEventsGivesTheFullRedrawsPixels) {
  std::mt19937 random(20240611);
  for (int round = 0; round < 30; ++round) {
    TPane pane;
    pane.Picture = Textured(197, 141);
    pane.Snapshot();
    const TRasterBitmap clean = pane.Picture;
    std::uniform_int_distribution<int> x(-20, 216), y(-20, 160), kind(0, 9);
    for (int step = 0; step < 60; ++step) {
      const int k = kind(random);
      TRepaintRequest request;
      if (k < 3) {
        request = pane.Measure.MouseDown(x(random), y(random), {.Left = true});
      } else if (k == 3) {
        request = pane.Measure.MouseDown(0, 0, {.Right = true});
      } else if (k < 8) {
        request = pane.Measure.MouseMove(x(random), y(random), {.Left = true, .Ctrl = k == 7});
      } else {
        request = pane.Measure.MouseUp();
      }
      pane.Repaint(request);
      ASSERT_TRUE(SamePixels(pane.Picture, Expected(clean, pane.Measure)))
          << "round " << round << " step " << step;
      // The clean copy, taken piece by piece under the drawing, is whole
      // when read, and the drawing goes on from it.
      if (step == 30 && round % 2 == 1)
        ASSERT_TRUE(SamePixels(pane.CleanCopy(), clean)) << "round " << round;
    }
    pane.RestoreSnapshot();
    ASSERT_TRUE(SamePixels(pane.Picture, clean)) << "everything erased, round " << round;
  }
}

TEST(MeasureRedraw, DraggingAPointOfALongPolylineRepaintsLittle) {
  TPane pane;
  pane.Picture = Blank(2000, 1500, TPixelFormat::Bit24, kMiddleGrey);
  pane.Snapshot();
  for (const TPixelPoint p : std::initializer_list<TPixelPoint>{
           {10, 10}, {1990, 20}, {1980, 1490}, {20, 1480}, {1000, 700}}) {
    pane.Repaint(pane.Measure.MouseDown(p.X, p.Y, {.Left = true}));
    pane.Repaint(pane.Measure.MouseUp());
  }
  pane.Repaint(pane.Measure.MouseDown(1000, 700, {.Left = true}));
  const TRepaintArea step = pane.Repaint(pane.Measure.MouseMove(1010, 705, {.Left = true}));
  // The last segment as it was and as it is (~980 columns each, strips of
  // 32 columns about 30 rows high), against ~760000 pixels of its extent.
  EXPECT_LT(AreaOf(step), 100000) << "not the polyline's extent";
  EXPECT_GT(AreaOf(step), 0);
}

TEST(MeasureRedraw, RestoreSnapshotPutsBackOnlyWhatOverlaysWrote) {
  TPane pane;
  pane.Picture = Textured(200, 100);
  pane.Snapshot();
  EXPECT_FALSE(pane.CleanCopyTaken());
  EXPECT_EQ(pane.RestoreSnapshot(), TRect{}) << "no overlay yet: nothing to put back";
  pane.Measure.Points = {{20, 20}, {60, 30}};
  const TRect drawn = pane.DrawMeasure();
  EXPECT_TRUE(pane.CleanCopyTaken());
  EXPECT_EQ(pane.RestoreSnapshot(), drawn);
  EXPECT_TRUE(SamePixels(pane.Picture, Textured(200, 100)));
}

TEST(MeasureRedraw, ANewPictureOfAnotherSizeDropsTheOldCopy) {
  TPane pane;
  pane.Picture = Textured(50, 40);
  pane.Snapshot();
  pane.Measure.Points = {{5, 5}};
  pane.DrawMeasure();
  pane.Picture = Textured(30, 20);
  pane.Snapshot();
  EXPECT_FALSE(pane.CleanCopyTaken());
  EXPECT_EQ(&pane.CleanCopy(), &pane.Picture) << "the picture is its own clean state";
  pane.DrawMeasure();
  pane.RestoreSnapshot();
  EXPECT_TRUE(SamePixels(pane.Picture, Textured(30, 20)));
}

}  // namespace
}  // namespace quorvane
