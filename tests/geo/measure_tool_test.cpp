#include "geo/measure_tool.h"

#include <gtest/gtest.h>

#include <cmath>

#include "geo/measure_readouts.h"

namespace quorvane {
namespace {

const TShiftState kLeft{.Left = true};
const TShiftState kRight{.Right = true};
const TShiftState kMiddle{.Middle = true};
const TShiftState kLeftCtrl{.Left = true, .Ctrl = true};

TMeasureTool ToolWith(std::initializer_list<TPixelPoint> points) {
  TMeasureTool tool;
  tool.Points = points;
  return tool;
}

TEST(MeasureTool, RightTriangleInPixels) {
  const TMeasureTool tool = ToolWith({{0, 0}, {3, 0}, {3, 4}});
  EXPECT_EQ(tool.PathLength(), 7.0);
  EXPECT_EQ(tool.EnclosedArea(), 6.0);
  EXPECT_EQ(tool.LastAzimuth(), 180.0);
  const TMeasurementTexts texts =
      MeasurementTexts(tool, TGeoReference{}, TLengthUnitChoice::Pixels, TAreaUnitChoice::Pixels);
  EXPECT_EQ(texts.LengthText, "7.0Px");
  EXPECT_EQ(texts.AreaText, "6.0Px^2");
  EXPECT_EQ(texts.AzimuthText, "180.0\u00B0");
}

TEST(MeasureTool, AzimuthIsClockwiseFromUpTheImage) {
  const TMeasureTool tool = ToolWith({{10, 10}, {10, 0}, {20, 0}, {10, 0}, {20, 10}, {20, 10}});
  EXPECT_EQ(tool.SegmentAzimuth(0, 1), 0.0);
  EXPECT_EQ(tool.SegmentAzimuth(1, 2), 90.0);
  EXPECT_EQ(tool.SegmentAzimuth(2, 3), 270.0);
  EXPECT_EQ(tool.SegmentAzimuth(3, 4), 135.0);
  // A repeated point is a zero-length segment and reads 0, not 180.
  EXPECT_EQ(tool.SegmentAzimuth(4, 5), 0.0);
  EXPECT_EQ(tool.SegmentAzimuth(-1, 1), 0.0);
  EXPECT_EQ(tool.SegmentAzimuth(0, 6), 0.0);
}

TEST(MeasureTool, GroundUnitsUseTheScaleButTheAzimuthStaysInPixels) {
  const TMeasureTool tool = ToolWith({{0, 0}, {1, 1}});
  const TGeoReference reference{.ScaleX = 2, .ScaleY = 3};
  EXPECT_DOUBLE_EQ(tool.PathLength(reference), std::sqrt(13.0));
  EXPECT_EQ(
      MeasurementTexts(tool, reference, TLengthUnitChoice::Metres, TAreaUnitChoice::SquareMetres)
          .LengthText,
      "3.6M");
  EXPECT_EQ(tool.LastAzimuth(reference), 135.0);
}

TEST(MeasureTool, FewPointsMeasureNothing) {
  EXPECT_EQ(ToolWith({}).PathLength(), 0.0);
  EXPECT_EQ(ToolWith({{5, 5}}).PathLength(), 0.0);
  EXPECT_EQ(ToolWith({{5, 5}, {9, 9}}).EnclosedArea(), 0.0);
  EXPECT_EQ(ToolWith({{5, 5}}).LastAzimuth(), 0.0);
}

TEST(MeasureTool, AreaClosesThePolygonWhateverTheWinding) {
  const TMeasureTool clockwise = ToolWith({{0, 0}, {10, 0}, {10, 10}, {0, 10}});
  const TMeasureTool counter = ToolWith({{0, 10}, {10, 10}, {10, 0}, {0, 0}});
  EXPECT_EQ(clockwise.EnclosedArea(), 100.0);
  EXPECT_EQ(counter.EnclosedArea(), 100.0);
  // A bow tie: the two lobes cancel in the shoelace sum.
  EXPECT_EQ(ToolWith({{0, 0}, {10, 10}, {10, 0}, {0, 10}}).EnclosedArea(), 0.0);
}

TEST(MeasureTool, HitTestReachesFourLeftAndAboveAndThreeRightAndBelow) {
  const TMeasureTool tool = ToolWith({{100, 100}});
  EXPECT_EQ(tool.HitTest(96, 96), 0);
  EXPECT_EQ(tool.HitTest(103, 103), 0);
  EXPECT_EQ(tool.HitTest(104, 100), -1);
  EXPECT_EQ(tool.HitTest(100, 104), -1);
  EXPECT_EQ(tool.HitTest(95, 100), -1);
  // The first point in list order wins.
  EXPECT_EQ(ToolWith({{0, 0}, {50, 50}, {51, 51}}).HitTest(51, 51), 1);
}

TEST(MeasureTool, LeftPressAddsAPointThatFollowsTheMouse) {
  TMeasureTool tool = ToolWith({});
  TRepaintRequest repaint = tool.MouseDown(10, 20, kLeft);
  EXPECT_FALSE(repaint.RestoreRect) << "nothing was drawn yet";
  EXPECT_TRUE(repaint.Redraw);
  EXPECT_EQ(tool.Selected, 0);
  repaint = tool.MouseMove(30, 40, {});
  EXPECT_EQ(tool.Points[0], (TPixelPoint{30, 40}));
  EXPECT_TRUE(repaint.RestoreRect);
  EXPECT_EQ(repaint.Rect, (TRect{6, 16, 14, 24})) << "the old extent is erased";
  repaint = tool.MouseUp();
  EXPECT_EQ(tool.Selected, -1);
  EXPECT_TRUE(repaint.RestoreAll);
  EXPECT_TRUE(repaint.Redraw);
  EXPECT_EQ(tool.MouseMove(50, 50, {}), TRepaintRequest{}) << "no drag after the release";
  EXPECT_EQ(tool.MouseUp(), TRepaintRequest{});
}

TEST(MeasureTool, PressNearAPointDragsItInsteadOfAddingOne) {
  TMeasureTool tool = ToolWith({{100, 100}, {200, 100}});
  tool.MouseDown(103, 97, kLeft);
  EXPECT_EQ(tool.Selected, 0);
  EXPECT_EQ(tool.Points.size(), 2u);
  tool.MouseDown(104, 100, kLeft);
  EXPECT_EQ(tool.Selected, 2);
  EXPECT_EQ(tool.Points.size(), 3u);
}

TEST(MeasureTool, CtrlDragMovesTheWholePolyline) {
  TMeasureTool tool = ToolWith({{0, 0}, {30, 0}, {30, 40}});
  const double length = tool.PathLength();
  const double area = tool.EnclosedArea();
  tool.MouseDown(30, 0, kLeftCtrl);
  tool.MouseMove(45, -5, kLeftCtrl);
  EXPECT_EQ(tool.Points[0], (TPixelPoint{15, -5}));
  EXPECT_EQ(tool.Points[1], (TPixelPoint{45, -5}));
  EXPECT_EQ(tool.Points[2], (TPixelPoint{45, 35}));
  EXPECT_EQ(tool.PathLength(), length);
  EXPECT_EQ(tool.EnclosedArea(), area);
}

TEST(MeasureTool, RightPressRemovesTheLastPoint) {
  TMeasureTool tool = ToolWith({});
  EXPECT_EQ(tool.MouseDown(5, 5, kRight).RestoreRect, false);
  EXPECT_TRUE(tool.Points.empty());
  tool.Points = {{5, 5}};
  tool.MouseDown(50, 50, kRight);
  EXPECT_TRUE(tool.Points.empty());
  EXPECT_EQ(tool.MouseDown(5, 5, kMiddle), TRepaintRequest{}) << "the middle button is ignored";
}

TEST(MeasureTool, RightPressDuringADragOfTheLastPointEndsTheDrag) {
  TMeasureTool tool = ToolWith({{0, 0}});
  tool.MouseDown(40, 40, kLeft);
  ASSERT_EQ(tool.Selected, 1);
  tool.MouseDown(40, 40, kRight);
  EXPECT_EQ(tool.Selected, -1);
  EXPECT_EQ(tool.MouseMove(60, 60, {}), TRepaintRequest{});
  EXPECT_EQ(tool.Points.size(), 1u);
}

TEST(MeasureTool, ExtremeCoordinatesSaturate) {
  const int32_t max = std::numeric_limits<int32_t>::max();
  TMeasureTool tool = ToolWith({{max, 0}, {0, max}});
  EXPECT_EQ(tool.Extent().Right, max);
  EXPECT_TRUE(std::isfinite(tool.PathLength()));
  tool.MouseDown(max, 0, kLeftCtrl);
  tool.MouseMove(std::numeric_limits<int32_t>::min(), 0, kLeftCtrl);
  EXPECT_EQ(tool.Points[1].X, std::numeric_limits<int32_t>::min());
}

TEST(MeasureShapes, FlankSitsAboveFlatAndLeftOfSteepSegments) {
  TMeasureTool tool = ToolWith({{0, 0}, {10, 5}, {12, 20}, {12, 30}, {12, 30}});
  tool.Selected = 1;
  const TMeasureShapes shapes = MeasureShapes(tool);
  ASSERT_EQ(shapes.Markers.size(), 5u);
  ASSERT_EQ(shapes.Segments.size(), 4u);
  EXPECT_EQ(shapes.Markers[1].Square, (TRect{6, 1, 14, 9}));
  EXPECT_TRUE(shapes.Markers[1].Selected);
  EXPECT_FALSE(shapes.Markers[0].Selected);
  EXPECT_EQ(shapes.Segments[0].FlankOffset, (TPixelPoint{0, 1}));
  EXPECT_EQ(shapes.Segments[1].FlankOffset, (TPixelPoint{1, 0}));
  EXPECT_EQ(shapes.Segments[2].FlankOffset, (TPixelPoint{1, 0})) << "vertical counts as steep";
  EXPECT_EQ(shapes.Segments[3].FlankOffset, (TPixelPoint{0, 1}));
}

}  // namespace
}  // namespace quorvane
