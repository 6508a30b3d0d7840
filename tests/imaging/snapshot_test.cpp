#include "imaging/snapshot.h"

#include <gtest/gtest.h>

#include "imaging/canvas.h"
#include "support/pixel_probe.h"
#include "support/test_pictures.h"

namespace quorvane {
namespace {

using test_support::PixelColor;
using test_support::SamePixels;

void Scribble(TRasterBitmap& b) {
  TCanvas canvas(b);
  canvas.Brush.Color = kColorRed;
  canvas.FillRect({0, 0, b.Width(), b.Height()});
}

TEST(Snapshot, RestoreRectPutsBackOnlyThatRectangle) {
  TRasterBitmap shown = test_support::Gradient24(16, 12), clean;
  const TRasterBitmap original = shown;
  EXPECT_EQ(Snapshot(shown, clean), TRect{});
  Scribble(shown);
  EXPECT_EQ(RestoreSnapshotRect(shown, clean, {2, 3, 6, 5}), (TRect{2, 3, 6, 5}));
  EXPECT_EQ(PixelColor(shown, 2, 3), PixelColor(original, 2, 3));
  EXPECT_EQ(PixelColor(shown, 5, 4), PixelColor(original, 5, 4));
  EXPECT_EQ(PixelColor(shown, 6, 4), kColorRed);
  EXPECT_EQ(PixelColor(shown, 5, 5), kColorRed);
}

TEST(Snapshot, RestoreRectIsClippedToBothPictures) {
  TRasterBitmap shown = test_support::Gradient24(16, 12), clean;
  Snapshot(shown, clean);
  Scribble(shown);
  EXPECT_EQ(RestoreSnapshotRect(shown, clean, {-5, -5, 3, 2}), (TRect{0, 0, 3, 2}));
  EXPECT_EQ(RestoreSnapshotRect(shown, clean, {14, 10, 100, 100}), (TRect{14, 10, 16, 12}));
  EXPECT_EQ(RestoreSnapshotRect(shown, clean, {20, 0, 30, 5}), TRect{});
  EXPECT_EQ(RestoreSnapshotRect(shown, clean, {5, 5, 5, 9}), TRect{});
  TRasterBitmap smaller = test_support::Gradient24(4, 4);
  EXPECT_EQ(RestoreSnapshotRect(shown, smaller, {0, 0, 16, 12}), (TRect{0, 0, 4, 4}));
}

TEST(Snapshot, RestoreAllReusesTheMemoryOfAPictureOfTheSameLayout) {
  TRasterBitmap shown = test_support::Gradient24(16, 12), clean;
  const TRasterBitmap original = shown;
  Snapshot(shown, clean);
  const uint8_t* memory = shown.Bits();
  Scribble(shown);
  EXPECT_EQ(RestoreSnapshot(shown, clean), (TRect{0, 0, 16, 12}));
  EXPECT_EQ(shown.Bits(), memory);
  EXPECT_TRUE(SamePixels(shown, original));
}

TEST(Snapshot, PalettePicturesKeepTheirColourTable) {
  TRasterBitmap shown;
  shown.Reset(TPixelFormat::Bit8, 5, 5);
  shown.ColorTable()[3] = {1, 2, 3, 0};
  shown.Scanline(2)[2] = 3;
  TRasterBitmap clean;
  Snapshot(shown, clean);
  shown.ColorTable()[3] = {9, 9, 9, 0};
  shown.Scanline(2)[2] = 4;
  RestoreSnapshot(shown, clean);
  EXPECT_EQ(shown.Scanline(2)[2], 3);
  EXPECT_EQ(shown.ColorTable()[3], (TRGBQuad{1, 2, 3, 0}));
}

TEST(Snapshot, RestoreAllAcrossASizeChangeCoversBothExtents) {
  TRasterBitmap shown = test_support::Gradient24(20, 5);
  const TRasterBitmap clean = test_support::Gradient24(8, 9);
  EXPECT_EQ(RestoreSnapshot(shown, clean), (TRect{0, 0, 20, 9}));
  EXPECT_TRUE(SamePixels(shown, clean));
  TRasterBitmap empty_shown, empty_clean;
  EXPECT_EQ(RestoreSnapshot(empty_shown, empty_clean), TRect{});
}

}  // namespace
}  // namespace quorvane
