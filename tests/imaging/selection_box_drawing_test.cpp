// The selection box in the picture's pixels: what it draws, that hiding it
// puts back every byte it covered, and that the rectangles it reports hold
// every pixel it changed.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

#include "imaging/selection_background.h"
#include "imaging/selection_box.h"
#include "support/pixel_probe.h"
#include "support/test_pictures.h"

namespace quorvane {
namespace {

using test_support::Blank;
using test_support::ColorMap;
using test_support::NoisePicture;
using test_support::SameStoredPixels;

constexpr int kMin = std::numeric_limits<int32_t>::min();
constexpr int kMax = std::numeric_limits<int32_t>::max();

// A box attached to a picture as the source pane attaches it: the picture
// is the surface, its client area the picture's size.
struct TBoxOnPicture {
  explicit TBoxOnPicture(TRasterBitmap picture) : Picture(std::move(picture)) {
    const TDrawingSurface surface{
        TSurfaceKind::ImageControl, &Picture, {0, 0, Picture.Width(), Picture.Height()}};
    EXPECT_EQ(Box.SetDrawingSurface(&surface).Warning, "");
  }
  TBoxOnPicture(const TBoxOnPicture&) = delete;

  TRasterBitmap Picture;
  TSelectionBox Box;
};

// Every pixel that differs between `before` and `after` lies in one of
// `rects`.
::testing::AssertionResult ChangesCovered(const TRasterBitmap& before, const TRasterBitmap& after,
                                          const TChangedRects& rects) {
  for (int y = 0; y < after.Height(); ++y)
    for (int x = 0; x < after.Width(); ++x) {
      if (PixelValueAt(before, x, y) == PixelValueAt(after, x, y)) continue;
      bool covered = false;
      for (const TRect& r : rects)
        covered |= r.Left <= x && x < r.Right && r.Top <= y && y < r.Bottom;
      if (!covered) return ::testing::AssertionFailure() << "pixel " << x << "," << y;
    }
  return ::testing::AssertionSuccess();
}

TEST(SelectionBoxDrawing, RedOutlineBlackRingAndFourHandles) {
  TBoxOnPicture on(Blank(20, 16));
  on.Box.SetBox(4, 4, 16, 12);
  on.Box.ShowBox();
  EXPECT_EQ(ColorMap(on.Picture, 0, 0, 20, 16),
            "....................\n"
            "....................\n"
            "..kkkk........kkkk..\n"
            "..kkkk.kkkkkk.kkkk..\n"
            "..kkkk.rrrrrr.kkkk..\n"
            "..kkkk........kkkk..\n"
            "....................\n"
            "...kr...........rk..\n"
            "...kr...........rk..\n"
            "....................\n"
            "..kkkk........kkkk..\n"
            "..kkkk........kkkk..\n"
            "..kkkk.rrrrrr.kkkk..\n"
            "..kkkk.kkkkkk.kkkk..\n"
            "....................\n"
            "....................\n");
}

TEST(SelectionBoxDrawing, WithoutUserSizingNoHandlesAreDrawn) {
  TBoxOnPicture on(Blank(20, 16));
  on.Box.SetUserSizeable(false);
  on.Box.SetBox(4, 4, 16, 12);
  on.Box.ShowBox();
  EXPECT_EQ(ColorMap(on.Picture, 0, 0, 20, 16),
            "....................\n"
            "....................\n"
            "....................\n"
            "...kkkkkkkkkkkkkkk..\n"
            "...krrrrrrrrrrrrrk..\n"
            "...kr...........rk..\n"
            "...kr...........rk..\n"
            "...kr...........rk..\n"
            "...kr...........rk..\n"
            "...kr...........rk..\n"
            "...kr...........rk..\n"
            "...kr...........rk..\n"
            "...krrrrrrrrrrrrrk..\n"
            "...kkkkkkkkkkkkkkk..\n"
            "....................\n"
            "....................\n");
}

// The empty selection draws no handles; its lines have no length, so only
// the black ring's pixels beside the top-left pixel appear.
TEST(SelectionBoxDrawing, EmptySelectionDrawsOnlyTheOutlines) {
  TBoxOnPicture on(Blank(8, 8));
  on.Box.ShowBox();
  const TChangedRects changed = on.Box.SetBox(0, 0, 0, 0);
  EXPECT_EQ(ColorMap(on.Picture, 0, 0, 5, 5),
            ".k...\n"
            "kk...\n"
            ".....\n"
            ".....\n"
            ".....\n");
  // All four bands are the same square at the corner.
  ASSERT_EQ(changed.size(), 1u);
  EXPECT_EQ(*changed.begin(), (TRect{0, 0, 3, 3}));
  // One pixel further in, the four handles appear, one on top of the other.
  on.Box.SetBox(1, 1, 1, 1);
  EXPECT_EQ(ColorMap(on.Picture, 0, 0, 5, 5),
            "kkk..\n"
            "kkk..\n"
            "kkk..\n"
            ".....\n"
            ".....\n");
}

TEST(SelectionBoxDrawing, DrawsInThePicturesOwnPaletteColours) {
  TRasterBitmap picture;
  picture.Reset(TPixelFormat::Bit8, 20, 16);
  auto table = picture.ColorTable();
  std::fill(table.begin(), table.end(), TRGBQuad{128, 128, 128, 0});
  table[10] = {0, 0, 255, 0};      // red
  table[11] = {0, 0, 0, 0};        // black
  table[12] = {255, 255, 255, 0};  // white
  TBoxOnPicture on(std::move(picture));
  on.Box.SetBox(4, 4, 16, 12);
  on.Box.ShowBox();
  EXPECT_EQ(on.Picture.Scanline(4)[8], 10);
  EXPECT_EQ(on.Picture.Scanline(3)[8], 11);
  EXPECT_EQ(on.Picture.Scanline(1)[2], 12);
}

struct TRestoreCase {
  const char* Name;
  TPixelFormat Format;
  TRect Box;
};

class SelectionBoxRestore : public ::testing::TestWithParam<TRestoreCase> {};

TEST_P(SelectionBoxRestore, HidingPutsBackEveryByte) {
  const TRestoreCase c = GetParam();
  TBoxOnPicture on(NoisePicture(c.Format, 37, 29));
  const TRasterBitmap original = on.Picture;
  on.Box.SetBox(c.Box.Left, c.Box.Top, c.Box.Right, c.Box.Bottom);
  on.Box.ShowBox();
  // Drag the box about: each step must put back what the last one covered.
  on.Box.BoxMouseDown(c.Box.Left, c.Box.Top);
  for (int step = 1; step <= 3; ++step) on.Box.BoxMouseMove(c.Box.Left + 7 * step, c.Box.Top + 2);
  on.Box.BoxMouseUp();
  on.Box.ShowBox();
  const TChangedRects restored = on.Box.HideBox();
  EXPECT_TRUE(SameStoredPixels(on.Picture, original));
  EXPECT_FALSE(on.Box.Showing());
  EXPECT_TRUE(on.Box.HideBox().empty());  // nothing left to put back
  for (const TRect& r : restored) {
    EXPECT_GE(r.Left, 0);
    EXPECT_GE(r.Top, 0);
    EXPECT_LE(r.Right, 37);
    EXPECT_LE(r.Bottom, 29);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, SelectionBoxRestore,
    ::testing::Values(
        TRestoreCase{"Rgb24Inside", TPixelFormat::Bit24, {5, 6, 30, 20}},
        TRestoreCase{"Palette8Inside", TPixelFormat::Bit8, {5, 6, 30, 20}},
        TRestoreCase{"Palette8OverLeftAndBottom", TPixelFormat::Bit8, {-10, -4, 12, 40}},
        TRestoreCase{"Rgb24OverRightAndBottom", TPixelFormat::Bit24, {20, 15, 80, 90}},
        TRestoreCase{"Rgb24EmptyAtOrigin", TPixelFormat::Bit24, {0, 0, 0, 0}},
        TRestoreCase{"Palette8EmptyInside", TPixelFormat::Bit8, {9, 9, 9, 9}},
        TRestoreCase{"Rgb24AllOutside", TPixelFormat::Bit24, {100, 100, 140, 150}},
        TRestoreCase{"Rgb24WholeIntegerRange", TPixelFormat::Bit24, {kMin, kMin, kMax, kMax}},
        TRestoreCase{"Bit1", TPixelFormat::Bit1, {3, 3, 21, 17}},
        TRestoreCase{"Palette4", TPixelFormat::Bit4, {2, 5, 33, 18}},
        TRestoreCase{"Rgb15OverLeft", TPixelFormat::Bit15, {-2, 1, 35, 27}},
        TRestoreCase{"Rgb16", TPixelFormat::Bit16, {4, 4, 10, 10}},
        TRestoreCase{"Rgb32FlatOnBottomRow", TPixelFormat::Bit32, {4, 28, 36, 28}}),
    [](const ::testing::TestParamInfo<TRestoreCase>& info) { return info.param.Name; });

TEST(SelectionBoxDrawing, ChangedRectanglesHoldEveryChangedPixel) {
  TBoxOnPicture on(NoisePicture(TPixelFormat::Bit24, 60, 50));
  TRasterBitmap before = on.Picture;
  TChangedRects changed = on.Box.ShowBox();
  EXPECT_TRUE(ChangesCovered(before, on.Picture, changed));

  before = on.Picture;
  changed = on.Box.BoxMouseDown(10, 12).Changed;  // a new box at the press
  EXPECT_TRUE(ChangesCovered(before, on.Picture, changed));
  for (const TPoint to : {TPoint{40, 30}, TPoint{55, 45}, TPoint{5, 3}, TPoint{70, 70}}) {
    before = on.Picture;
    changed = on.Box.BoxMouseMove(to.X, to.Y).Changed;
    EXPECT_TRUE(ChangesCovered(before, on.Picture, changed)) << to.X << "," << to.Y;
  }
  on.Box.BoxMouseUp();
  // The bands are thin: a drag step on a box nearly filling the picture
  // reports little more than its outline's area.
  int64_t area = 0;
  for (const TRect& r : changed) area += int64_t(r.Right - r.Left) * (r.Bottom - r.Top);
  EXPECT_LT(area, 2 * 6 * (60 + 50) * 2);

  before = on.Picture;
  changed = on.Box.HideBox();
  EXPECT_TRUE(ChangesCovered(before, on.Picture, changed));
}

// Pixels of 1 and 4 bits share bytes with their neighbours outside a band;
// putting the band back must not undo changes made to those neighbours.
TEST(SelectionBoxBackground, SubBytePixelsBesideABandKeepTheirChanges) {
  for (const TPixelFormat format : {TPixelFormat::Bit1, TPixelFormat::Bit4}) {
    TRasterBitmap picture;
    picture.Reset(format, 40, 20);
    TBoxBackground background;
    background.Save(picture, {10, 5, 20, 15});  // side bands: columns 7-12, 17-22
    TCanvas canvas(picture);
    canvas.Pen.Color = kColorWhite;
    canvas.MoveTo(0, 8);
    canvas.LineTo(40, 8);
    background.Restore(picture);
    for (int x = 0; x < 40; ++x) {
      const bool in_band = (x >= 7 && x < 13) || (x >= 17 && x < 23);
      EXPECT_EQ(PixelValueAt(picture, x, 8) == 0, in_band) << int(format) << " x " << x;
    }
  }
}

TEST(SelectionBoxBackground, APictureReplacedSinceTheSaveIsLeftAlone) {
  TRasterBitmap picture = NoisePicture(TPixelFormat::Bit24, 30, 20);
  TBoxBackground background;
  background.Save(picture, {5, 5, 25, 15});
  TRasterBitmap other = NoisePicture(TPixelFormat::Bit24, 31, 20, 99);
  const TRasterBitmap untouched = other;
  EXPECT_TRUE(background.Restore(other).empty());
  EXPECT_TRUE(SameStoredPixels(other, untouched));
  EXPECT_FALSE(background.Saved());
  other = NoisePicture(TPixelFormat::Bit8, 30, 20);
  background.Save(picture, {5, 5, 25, 15});
  EXPECT_TRUE(background.Restore(other).empty());
}

TEST(SelectionBoxDrawing, DrawingAPictureOfNoPixelsDoesNothing) {
  TBoxOnPicture on(TRasterBitmap{});
  EXPECT_TRUE(on.Box.SetBox(-5, -5, 10, 10).empty());
  EXPECT_TRUE(on.Box.ShowBox().empty());
  EXPECT_TRUE(on.Box.BoxMouseDown(20, 20).Changed.empty());
  EXPECT_TRUE(on.Box.BoxMouseMove(30, 35).Changed.empty());
  EXPECT_EQ(on.Box.Selection(), (TRect{20, 20, 30, 35}));
  EXPECT_TRUE(on.Box.HideBox().empty());
}

}  // namespace
}  // namespace quorvane
