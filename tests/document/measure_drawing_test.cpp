#include "document/measure_drawing.h"

#include <gtest/gtest.h>

#include "imaging/canvas.h"
#include "support/pixel_probe.h"

namespace quorvane {
namespace {

using test_support::Blank;
using test_support::kMiddleGrey;
using test_support::PixelColor;

TMeasureTool ToolWith(std::initializer_list<TPixelPoint> points, int selected = -1) {
  TMeasureTool tool;
  tool.Points = points;
  tool.Selected = selected;
  return tool;
}

TEST(MeasureDrawing, MarkersThenSegmentsInClickOrder) {
  TRasterBitmap b = Blank(32, 13, TPixelFormat::Bit24, kMiddleGrey);
  const TRect changed = Draw(ToolWith({{5, 5}, {25, 7}}), b);
  EXPECT_EQ(changed, (TRect{1, 1, 29, 11}));
  // First marker, drawn before the segment that crosses it.
  EXPECT_EQ(PixelColor(b, 1, 1), kColorWhite);
  EXPECT_EQ(PixelColor(b, 1, 8), kColorWhite);
  EXPECT_EQ(PixelColor(b, 2, 2), kColorRed);
  EXPECT_EQ(PixelColor(b, 7, 7), kColorRed);
  EXPECT_EQ(PixelColor(b, 8, 5), kColorBlack);
  EXPECT_EQ(PixelColor(b, 8, 4), kColorRed);
  EXPECT_EQ(PixelColor(b, 9, 9), kMiddleGrey);
  // The segment: black centre, red flank above, nothing below.
  EXPECT_EQ(PixelColor(b, 15, 6), kColorBlack);
  EXPECT_EQ(PixelColor(b, 15, 5), kColorRed);
  EXPECT_EQ(PixelColor(b, 15, 7), kMiddleGrey);
  // The last marker, drawn over the segment's end.
  EXPECT_EQ(PixelColor(b, 21, 7), kColorWhite);
  EXPECT_EQ(PixelColor(b, 22, 4), kColorRed);
  EXPECT_EQ(PixelColor(b, 28, 10), kColorWhite);
  EXPECT_EQ(PixelColor(b, 29, 11), kMiddleGrey);
}

TEST(MeasureDrawing, DraggedPointIsCyan) {
  TRasterBitmap b = Blank(40, 20, TPixelFormat::Bit24, kMiddleGrey);
  Draw(ToolWith({{5, 5}, {25, 10}, {30, 15}}, 1), b);
  EXPECT_EQ(PixelColor(b, 6, 6), kColorRed);
  EXPECT_EQ(PixelColor(b, 26, 8), kColorCyan);  // beside both segments
  EXPECT_EQ(PixelColor(b, 32, 17), kColorRed);
}

TEST(MeasureDrawing, NothingToDraw) {
  TRasterBitmap b = Blank(10, 10, TPixelFormat::Bit24, kMiddleGrey);
  EXPECT_EQ(Draw(TMeasureTool{}, b), TRect{});
  TRasterBitmap empty;
  EXPECT_EQ(Draw(ToolWith({{1, 1}}), empty), TRect{});
  EXPECT_EQ(PixelColor(b, 5, 5), kMiddleGrey);
}

TEST(MeasureDrawing, PolylineReachingOutsideIsClipped) {
  TRasterBitmap b = Blank(20, 10, TPixelFormat::Bit24, kMiddleGrey);
  EXPECT_EQ(Draw(ToolWith({{-30, 4}, {60, 4}}), b), (TRect{0, 3, 20, 5}));
  EXPECT_EQ(PixelColor(b, 10, 4), kColorBlack);
  EXPECT_EQ(PixelColor(b, 10, 3), kColorRed);
}

TEST(MeasureDrawing, PaletteAndHighColourPicturesGetTheirOwnValues) {
  for (const TPixelFormat format : {TPixelFormat::Bit4, TPixelFormat::Bit8, TPixelFormat::Bit15,
                                    TPixelFormat::Bit16, TPixelFormat::Bit32}) {
    TRasterBitmap b;
    b.Reset(format, 20, 20);
    Draw(ToolWith({{10, 10}}), b);
    EXPECT_EQ(PixelValueAt(b, 7, 7), PixelValueOf(b, kColorRed)) << int(format);
    EXPECT_EQ(PixelValueAt(b, 6, 6), PixelValueOf(b, kColorWhite)) << int(format);
    EXPECT_EQ(PixelValueAt(b, 5, 5), 0u) << int(format);
  }
}

}  // namespace
}  // namespace quorvane
