#include "imaging/markers.h"

#include <gtest/gtest.h>

#include "support/pixel_probe.h"

namespace quorvane {
namespace {

using test_support::Blank;
using test_support::ColorMap;

constexpr TMarkerLineStyle kMeasureStyle{
    {kColorRed, TPenStyle::Solid}, {kColorBlack, TPenStyle::Solid}, {kColorBlue, TPenStyle::Clear}};

TEST(PointMarker, EightByEightSquareWithWhiteOutline) {
  TRasterBitmap b = Blank(10, 10, TPixelFormat::Bit24, kColorBlack);
  TCanvas canvas(b);
  DrawPointMarker(canvas, {4, 4}, kColorRed, 4);
  EXPECT_EQ(ColorMap(b, 0, 0, 10, 10),
            "........kk\n"
            ".rrrrrr.kk\n"
            ".rrrrrr.kk\n"
            ".rrrrrr.kk\n"
            ".rrrrrr.kk\n"
            ".rrrrrr.kk\n"
            ".rrrrrr.kk\n"
            "........kk\n"
            "kkkkkkkkkk\n"
            "kkkkkkkkkk\n");
}

TEST(PointMarker, HalfSizeIsTheCallersAndCanvasStateIsKept) {
  TRasterBitmap b = Blank(12, 12, TPixelFormat::Bit24, kColorBlack);
  TCanvas canvas(b);
  canvas.Pen = {kColorBlue, TPenStyle::Clear, 1, TPenMode::Xor};
  canvas.Brush = {kColorBlue, TBrushStyle::Clear};
  DrawPointMarker(canvas, {6, 6}, kColorCyan, 5);
  EXPECT_EQ(canvas.ChangedRect(), (TRect{1, 1, 11, 11}));
  EXPECT_EQ(ColorMap(b, 0, 5, 12, 6), "k.cccccccc.k\n");
  EXPECT_EQ(canvas.Pen.Style, TPenStyle::Clear);
  EXPECT_EQ(canvas.Pen.Mode, TPenMode::Xor);
  EXPECT_EQ(canvas.Brush.Style, TBrushStyle::Clear);
}

TEST(MarkerLine, FlatSegmentHasItsRedFlankAbove) {
  TRasterBitmap b = Blank(10, 6);
  TCanvas canvas(b);
  DrawMarkerLine(canvas, {1, 3}, {7, 4}, kMeasureStyle);
  EXPECT_EQ(ColorMap(b, 0, 0, 10, 6),
            "..........\n"
            "..........\n"
            ".rrrr.....\n"
            ".kkkkrr...\n"
            ".....kk...\n"
            "..........\n");
}

TEST(MarkerLine, SteepSegmentHasItsRedFlankLeft) {
  TRasterBitmap b = Blank(8, 7);
  TCanvas canvas(b);
  DrawMarkerLine(canvas, {3, 1}, {4, 6}, kMeasureStyle);
  EXPECT_EQ(ColorMap(b, 0, 0, 8, 7),
            "........\n"
            "..rk....\n"
            "..rk....\n"
            "..rk....\n"
            "...rk...\n"
            "...rk...\n"
            "........\n");
}

TEST(MarkerLine, VerticalIsSteepAndDiagonalIsFlat) {
  TRasterBitmap v = Blank(6, 6);
  TCanvas vc(v);
  DrawMarkerLine(vc, {3, 1}, {3, 5}, kMeasureStyle);
  EXPECT_EQ(ColorMap(v, 0, 0, 6, 6),
            "......\n"
            "..rk..\n"
            "..rk..\n"
            "..rk..\n"
            "..rk..\n"
            "......\n");
  TRasterBitmap d = Blank(6, 5);
  TCanvas dc(d);
  DrawMarkerLine(dc, {1, 1}, {4, 4}, kMeasureStyle);
  EXPECT_EQ(ColorMap(d, 0, 0, 6, 5),
            ".r....\n"
            ".kr...\n"
            "..kr..\n"
            "...k..\n"
            "......\n");
}

TEST(MarkerLine, ClearSecondFlankDrawsNothingWhereASolidOneWould) {
  TMarkerLineStyle solid = kMeasureStyle;
  solid.Second.Style = TPenStyle::Solid;
  TRasterBitmap b = Blank(8, 5);
  TCanvas canvas(b);
  DrawMarkerLine(canvas, {1, 2}, {6, 2}, solid);
  EXPECT_EQ(ColorMap(b, 0, 1, 8, 4), ".rrrrr..\n.kkkkk..\n.bbbbb..\n");

  TRasterBitmap clear = Blank(8, 5);
  TCanvas clear_canvas(clear);
  clear_canvas.Pen.Color = kColorCyan;
  DrawMarkerLine(clear_canvas, {1, 2}, {6, 2}, kMeasureStyle);
  EXPECT_EQ(ColorMap(clear, 0, 1, 8, 4), ".rrrrr..\n.kkkkk..\n........\n");
  EXPECT_EQ(clear_canvas.Pen.Color, kColorCyan);
  EXPECT_EQ(clear_canvas.Pen.Style, TPenStyle::Solid);
}

TEST(MarkerLine, EndsNearTheIntegerLimitsDoNotWrap) {
  TRasterBitmap b = Blank(4, 4);
  TCanvas canvas(b);
  DrawMarkerLine(canvas, {2147483647, 0}, {2147483647, 3}, kMeasureStyle);
  DrawPointMarker(canvas, {-2147483647 - 1, 2}, kColorRed, 4);
  EXPECT_EQ(canvas.ChangedRect(), TRect{});
}

}  // namespace
}  // namespace quorvane
