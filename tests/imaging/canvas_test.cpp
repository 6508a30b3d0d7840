#include "imaging/canvas.h"

#include <gtest/gtest.h>

#include <vector>

#include "support/pixel_probe.h"

namespace quorvane {
namespace {

using test_support::Blank;
using test_support::ColorMap;
using test_support::PixelColor;

TEST(CanvasRectangles, FillRectLeavesRightColumnAndBottomRowAlone) {
  TRasterBitmap b = Blank(6, 5);
  TCanvas canvas(b);
  canvas.Brush.Color = kColorRed;
  canvas.FillRect({1, 1, 4, 3});
  EXPECT_EQ(ColorMap(b, 0, 0, 6, 5),
            "......\n"
            ".rrr..\n"
            ".rrr..\n"
            "......\n"
            "......\n");
  // The same rectangle given right to left and bottom to top.
  TRasterBitmap reversed = Blank(6, 5);
  TCanvas other(reversed);
  other.Brush.Color = kColorRed;
  other.FillRect({4, 3, 1, 1});
  EXPECT_EQ(ColorMap(reversed, 0, 0, 6, 5), ColorMap(b, 0, 0, 6, 5));
}

TEST(CanvasRectangles, OutlineWithPenAndInsideWithBrush) {
  TRasterBitmap b = Blank(7, 6);
  TCanvas canvas(b);
  canvas.Pen.Color = kColorBlack;
  canvas.Brush.Color = kColorRed;
  canvas.Rectangle({1, 1, 6, 5});
  EXPECT_EQ(ColorMap(b, 0, 0, 7, 6),
            ".......\n"
            ".kkkkk.\n"
            ".krrrk.\n"
            ".krrrk.\n"
            ".kkkkk.\n"
            ".......\n");
}

TEST(CanvasRectangles, ClearPenOrBrush) {
  TRasterBitmap b = Blank(5, 5);
  TCanvas canvas(b);
  canvas.Pen.Style = TPenStyle::Clear;
  canvas.Brush.Color = kColorRed;
  canvas.Rectangle({0, 0, 4, 4});
  EXPECT_EQ(ColorMap(b, 0, 0, 5, 5),
            "rrr..\n"
            "rrr..\n"
            "rrr..\n"
            ".....\n"
            ".....\n");

  TRasterBitmap hollow = Blank(4, 4);
  TCanvas outline(hollow);
  outline.Brush.Style = TBrushStyle::Clear;
  outline.Rectangle({0, 0, 4, 4});
  EXPECT_EQ(ColorMap(hollow, 0, 0, 4, 4),
            "kkkk\n"
            "k..k\n"
            "k..k\n"
            "kkkk\n");
}

TEST(CanvasRectangles, EmptyOrOutsideRectanglesChangeNothing) {
  TRasterBitmap b = Blank(4, 4);
  TCanvas canvas(b);
  canvas.Brush.Color = kColorRed;
  canvas.Rectangle({2, 0, 2, 4});
  canvas.FillRect({1, 3, 3, 3});
  canvas.Rectangle({10, 10, 20, 20});
  canvas.FillRect({-20, -20, -1, 3});
  EXPECT_EQ(canvas.ChangedRect(), TRect{});
  EXPECT_EQ(ColorMap(b, 0, 0, 4, 4), "....\n....\n....\n....\n");
}

TEST(CanvasLines, EndPointIsNotDrawnAndPenMoves) {
  TRasterBitmap b = Blank(7, 3);
  TCanvas canvas(b);
  canvas.MoveTo(1, 1);
  canvas.LineTo(5, 1);
  EXPECT_EQ(canvas.PenPos(), (TPoint{5, 1}));
  canvas.LineTo(5, 1);  // zero length: nothing
  EXPECT_EQ(ColorMap(b, 0, 0, 7, 3),
            ".......\n"
            ".kkkk..\n"
            ".......\n");
}

// Horizontal lines are filled as one run; the run must light the same
// pixels as stepping would, in either direction and cut at either edge.
TEST(CanvasLines, HorizontalLinesInEitherDirectionStopBeforeTheirEnd) {
  TRasterBitmap b = Blank(7, 4);
  TCanvas canvas(b);
  canvas.MoveTo(-5, 0);
  canvas.LineTo(3, 0);
  canvas.MoveTo(9, 1);
  canvas.LineTo(2, 1);
  canvas.MoveTo(5, 2);
  canvas.LineTo(-1, 2);
  canvas.Pen.Mode = TPenMode::Xor;
  canvas.Pen.Color = kColorWhite;
  canvas.MoveTo(2, 3);
  canvas.LineTo(6, 3);
  canvas.MoveTo(3, 3);
  canvas.LineTo(5, 3);
  EXPECT_EQ(ColorMap(b, 0, 0, 7, 4),
            "kkk....\n"
            "...kkkk\n"
            "kkkkkk.\n"
            "..k..k.\n");
  EXPECT_EQ(canvas.ChangedRect(), (TRect{0, 0, 7, 4}));
}

TEST(CanvasLines, ShallowLineRoundsHalvesToTheSmallerCoordinate) {
  TRasterBitmap forward = Blank(6, 3);
  TCanvas a(forward);
  a.MoveTo(0, 0);
  a.LineTo(4, 1);
  EXPECT_EQ(ColorMap(forward, 0, 0, 6, 3),
            "kkk...\n"
            "...k..\n"
            "......\n");
  // The reverse line lights the same pixels between the two ends.
  TRasterBitmap backward = Blank(6, 3);
  TCanvas c(backward);
  c.MoveTo(4, 1);
  c.LineTo(0, 0);
  EXPECT_EQ(ColorMap(backward, 0, 0, 6, 3),
            ".kk...\n"
            "...kk.\n"
            "......\n");
}

TEST(CanvasLines, SteepAndDiagonalLines) {
  TRasterBitmap b = Blank(4, 6);
  TCanvas canvas(b);
  canvas.MoveTo(1, 0);
  canvas.LineTo(2, 5);
  EXPECT_EQ(ColorMap(b, 0, 0, 4, 6),
            ".k..\n"
            ".k..\n"
            ".k..\n"
            "..k.\n"
            "..k.\n"
            "....\n");
  TRasterBitmap d = Blank(4, 4);
  TCanvas diagonal(d);
  diagonal.MoveTo(3, 0);
  diagonal.LineTo(0, 3);
  EXPECT_EQ(ColorMap(d, 0, 0, 4, 4),
            "...k\n"
            "..k.\n"
            ".k..\n"
            "....\n");
}

TEST(CanvasLines, ClearPenOnlyMoves) {
  TRasterBitmap b = Blank(4, 2);
  TCanvas canvas(b);
  canvas.Pen.Style = TPenStyle::Clear;
  canvas.MoveTo(0, 0);
  canvas.LineTo(3, 0);
  EXPECT_EQ(canvas.PenPos(), (TPoint{3, 0}));
  EXPECT_EQ(canvas.ChangedRect(), TRect{});
}

TEST(CanvasLines, LinesReachingFarOutsideAreClippedQuickly) {
  TRasterBitmap b = Blank(5, 5);
  TCanvas canvas(b);
  canvas.MoveTo(-2000000000, 2);
  canvas.LineTo(2000000000, 2);
  EXPECT_EQ(ColorMap(b, 0, 2, 5, 3), "kkkkk\n");
  // The diagonal x + y = -1 passes beside the picture.
  canvas.MoveTo(2147483647, -2147483647 - 1);
  canvas.LineTo(-2147483647 - 1, 2147483647);
  EXPECT_EQ(canvas.ChangedRect(), (TRect{0, 2, 5, 3}));
  canvas.MoveTo(-2000000000, -2000000000);
  canvas.LineTo(2000000000, 2000000000);
  EXPECT_EQ(PixelColor(b, 4, 4), kColorBlack);
  EXPECT_EQ(canvas.ChangedRect(), (TRect{0, 0, 5, 5}));
}

TEST(CanvasLines, WidePenStampsSquares) {
  TRasterBitmap b = Blank(6, 5);
  TCanvas canvas(b);
  canvas.Pen.Width = 3;
  canvas.MoveTo(1, 2);
  canvas.LineTo(4, 2);
  EXPECT_EQ(ColorMap(b, 0, 0, 6, 5),
            "......\n"
            "kkkkk.\n"
            "kkkkk.\n"
            "kkkkk.\n"
            "......\n");
}

// Lines between many random ends: a line and its reverse light the same
// pixels once each adds the end it leaves out, and nothing is written
// outside the changed rectangle.
TEST(CanvasLines, RandomLinesAreSymmetricAndStayInTheirRectangle) {
  uint32_t seed = 7;
  const auto next = [&seed](int range) {
    seed = seed * 1664525u + 1013904223u;
    return int(seed >> 8) % range;
  };
  for (int trial = 0; trial < 300; ++trial) {
    const TPoint a{next(60) - 20, next(50) - 20}, b{next(60) - 20, next(50) - 20};
    TRasterBitmap forward = Blank(17, 13), backward = Blank(17, 13);
    TCanvas f(forward), r(backward);
    f.Brush.Color = r.Brush.Color = kColorBlack;  // the left-out end, as the pen draws
    f.MoveTo(a.X, a.Y);
    f.LineTo(b.X, b.Y);
    f.FillRect({b.X, b.Y, b.X + 1, b.Y + 1});
    r.MoveTo(b.X, b.Y);
    r.LineTo(a.X, a.Y);
    r.FillRect({a.X, a.Y, a.X + 1, a.Y + 1});
    ASSERT_EQ(ColorMap(forward, 0, 0, 17, 13), ColorMap(backward, 0, 0, 17, 13))
        << a.X << "," << a.Y << " to " << b.X << "," << b.Y;
    const TRect changed = f.ChangedRect();
    for (int y = 0; y < 13; ++y)
      for (int x = 0; x < 17; ++x)
        if (!(PixelColor(forward, x, y) == kColorWhite)) {
          ASSERT_TRUE(x >= changed.Left && x < changed.Right && y >= changed.Top &&
                      y < changed.Bottom);
        }
  }
}

TEST(CanvasLines, VerticalLinesInEitherDirectionStopBeforeTheirEnd) {
  TRasterBitmap b = Blank(4, 6);
  TCanvas canvas(b);
  canvas.MoveTo(0, -3);
  canvas.LineTo(0, 2);
  canvas.MoveTo(1, 9);
  canvas.LineTo(1, 2);
  canvas.Pen.Mode = TPenMode::Not;
  canvas.MoveTo(3, 1);
  canvas.LineTo(3, 5);
  EXPECT_EQ(ColorMap(b, 0, 0, 4, 6),
            "k...\n"
            "k..k\n"
            "...k\n"
            ".k.k\n"
            ".k.k\n"
            ".k..\n");
  EXPECT_EQ(canvas.ChangedRect(), (TRect{0, 0, 4, 6}));
}

// Drawing strip by strip through a clip rectangle gives the same picture
// as drawing at once, and nothing outside the clip is touched: with an
// exclusive-or pen a pixel written by two strips would change back.
TEST(CanvasClip, StripsDrawnThroughTheClipMakeTheWhole) {
  uint32_t seed = 11;
  const auto next = [&seed](int range) {
    seed = seed * 1664525u + 1013904223u;
    return int(seed >> 8) % range;
  };
  const auto scribble = [](TCanvas& canvas, const std::vector<TPoint>& points) {
    canvas.Pen = {kColorWhite, TPenStyle::Solid, 1, TPenMode::Xor};
    canvas.MoveTo(points[0].X, points[0].Y);
    for (const TPoint p : points) canvas.LineTo(p.X, p.Y);
    canvas.Rectangle({points[1].X, points[1].Y, points[2].X, points[2].Y});
  };
  for (int trial = 0; trial < 50; ++trial) {
    std::vector<TPoint> points;
    for (int i = 0; i < 8; ++i) points.push_back({next(30) - 5, next(24) - 5});
    points.push_back({points.back().X, next(24) - 5});  // one vertical
    points.push_back({next(30) - 5, points.back().Y});  // one horizontal
    TRasterBitmap whole = Blank(19, 15), strips = Blank(19, 15);
    TCanvas at_once(whole), by_strips(strips);
    scribble(at_once, points);
    for (int top = 0; top < 15; top += 4) {
      by_strips.SetClipRect({0, top, 19, top + 4});
      scribble(by_strips, points);
    }
    ASSERT_EQ(ColorMap(strips, 0, 0, 19, 15), ColorMap(whole, 0, 0, 19, 15)) << trial;
  }
  TRasterBitmap b = Blank(8, 6);
  TCanvas canvas(b);
  canvas.SetClipRect({2, 1, 5, 4});
  canvas.Brush.Color = kColorBlack;
  canvas.FillRect({-10, -10, 20, 20});
  canvas.ClearClipRect();
  canvas.MoveTo(0, 5);
  canvas.LineTo(8, 5);
  EXPECT_EQ(ColorMap(b, 0, 0, 8, 6),
            "........\n"
            "..kkk...\n"
            "..kkk...\n"
            "..kkk...\n"
            "........\n"
            "kkkkkkkk\n");
}

TEST(CanvasModes, XorTwiceRestoresAndNotInverts) {
  TRasterBitmap b = Blank(4, 1, TPixelFormat::Bit24, {10, 20, 30});
  TCanvas canvas(b);
  canvas.Pen.Mode = TPenMode::Xor;
  canvas.Pen.Color = {0xF0, 0x0F, 0xFF};
  canvas.MoveTo(0, 0);
  canvas.LineTo(2, 0);
  EXPECT_EQ(PixelColor(b, 0, 0), (TColor{10 ^ 0xF0, 20 ^ 0x0F, 30 ^ 0xFF}));
  canvas.MoveTo(0, 0);
  canvas.LineTo(2, 0);
  EXPECT_EQ(PixelColor(b, 0, 0), (TColor{10, 20, 30}));
  canvas.Pen.Mode = TPenMode::Not;
  canvas.MoveTo(1, 0);
  canvas.LineTo(3, 0);
  EXPECT_EQ(PixelColor(b, 0, 0), (TColor{10, 20, 30}));
  EXPECT_EQ(PixelColor(b, 2, 0), (TColor{245, 235, 225}));
}

TEST(CanvasColours, PaletteFormatsTakeTheNearestEntry) {
  TRasterBitmap b;
  b.Reset(TPixelFormat::Bit8, 3, 1);
  auto table = b.ColorTable();
  for (auto& q : table) q = {200, 200, 200, 0};
  table[7] = {0, 0, 250, 0};  // nearly red
  table[9] = {250, 0, 0, 0};  // nearly blue
  TCanvas canvas(b);
  canvas.Pen.Color = kColorRed;
  canvas.MoveTo(0, 0);
  canvas.LineTo(1, 0);
  canvas.Pen.Color = kColorBlue;
  canvas.LineTo(2, 0);
  EXPECT_EQ(b.Scanline(0)[0], 7);
  EXPECT_EQ(b.Scanline(0)[1], 9);
  EXPECT_EQ(b.Scanline(0)[2], 0);
}

TEST(CanvasColours, SubBytePixelsKeepTheirNeighbours) {
  TRasterBitmap four;
  four.Reset(TPixelFormat::Bit4, 4, 1);  // grey table: 0 black .. 15 white
  four.Scanline(0)[0] = 0x5A;
  four.Scanline(0)[1] = 0xC3;
  TCanvas c4(four);
  c4.Pen.Color = kColorWhite;
  c4.MoveTo(1, 0);
  c4.LineTo(3, 0);
  EXPECT_EQ(four.Scanline(0)[0], 0x5F);
  EXPECT_EQ(four.Scanline(0)[1], 0xF3);

  TRasterBitmap one;
  one.Reset(TPixelFormat::Bit1, 10, 1);
  TCanvas c1(one);
  c1.Pen.Color = kColorWhite;
  c1.MoveTo(6, 0);
  c1.LineTo(9, 0);
  EXPECT_EQ(one.Scanline(0)[0], 0x03);
  EXPECT_EQ(one.Scanline(0)[1], 0x80);
}

TEST(CanvasColours, DirectFormatsArePackedPerFormat) {
  const struct {
    TPixelFormat Format;
    uint32_t Red, Green, Blue;
  } cases[] = {
      {TPixelFormat::Bit15, 0x7C00, 0x03E0, 0x001F},
      {TPixelFormat::Bit16, 0xF800, 0x07E0, 0x001F},
      {TPixelFormat::Bit24, 0xFF0000, 0x00FF00, 0x0000FF},
      {TPixelFormat::Bit32, 0xFF0000, 0x00FF00, 0x0000FF},
  };
  for (const auto& c : cases) {
    TRasterBitmap b;
    b.Reset(c.Format, 3, 1);
    TCanvas canvas(b);
    for (const TColor colour : {kColorRed, kColorGreen, kColorBlue}) {
      canvas.Pen.Color = colour;
      canvas.LineTo(canvas.PenPos().X + 1, 0);
    }
    EXPECT_EQ(PixelValueAt(b, 0, 0), c.Red) << int(c.Format);
    EXPECT_EQ(PixelValueAt(b, 1, 0), c.Green) << int(c.Format);
    EXPECT_EQ(PixelValueAt(b, 2, 0), c.Blue) << int(c.Format);
  }
}

TEST(CanvasState, ChangedRectIsTheClippedUnionOfWrites) {
  TRasterBitmap b = Blank(20, 20);
  TCanvas canvas(b);
  canvas.FillRect({-5, 2, 3, 4});
  canvas.MoveTo(10, 15);
  canvas.LineTo(30, 15);
  EXPECT_EQ(canvas.ChangedRect(), (TRect{0, 2, 20, 16}));
  canvas.ResetChangedRect();
  EXPECT_EQ(canvas.ChangedRect(), TRect{});
}

TEST(CanvasState, SaverRestoresEverythingButThePenWidth) {
  TRasterBitmap b = Blank(2, 2);
  TCanvas canvas(b);
  canvas.Brush = {kColorRed, TBrushStyle::Clear};
  canvas.Pen = {kColorBlue, TPenStyle::Clear, 2, TPenMode::Xor};
  const TCanvasSaver saved(canvas);
  canvas.Brush = {};
  canvas.Pen = {};
  canvas.Pen.Width = 5;
  saved.Restore(canvas);
  EXPECT_EQ(canvas.Brush.Color, kColorRed);
  EXPECT_EQ(canvas.Brush.Style, TBrushStyle::Clear);
  EXPECT_EQ(canvas.Pen.Color, kColorBlue);
  EXPECT_EQ(canvas.Pen.Style, TPenStyle::Clear);
  EXPECT_EQ(canvas.Pen.Mode, TPenMode::Xor);
  EXPECT_EQ(canvas.Pen.Width, 5);
}

TEST(CanvasState, EmptyBitmapIsNeverTouched) {
  TRasterBitmap empty;
  TCanvas canvas(empty);
  canvas.FillRect({0, 0, 10, 10});
  canvas.Rectangle({0, 0, 10, 10});
  canvas.LineTo(10, 10);
  EXPECT_EQ(canvas.ChangedRect(), TRect{});
}

}  // namespace
}  // namespace quorvane
