#include "document/document.h"

#include <gtest/gtest.h>

#include "document/readouts.h"
#include "support/document_fixtures.h"

namespace quorvane {
namespace {

using test_support::Palette150x76;

TEST(Document, StartsWithTheStartupPictureAndResetGeoreferences) {
  const TDocument document(Palette150x76());
  EXPECT_EQ(document.Caption, "Quorvane");
  EXPECT_EQ(document.Sizing.NewWidth, 150);
  EXPECT_EQ(document.Sizing.NewHeight, 76);
  EXPECT_TRUE(document.Destination.Picture.Empty());
  EXPECT_TRUE(document.ToneBase.Empty());
  for (const TPane* pane : {&document.Source, &document.Destination}) {
    EXPECT_EQ(pane->GeoReference(), (TGeoReference{0, 0, 1, 1, 0, false}));
  }
  EXPECT_EQ(document.Source.CleanCopy().Width(), 150) << "the start-up picture is the clean one";
  // The selection box draws into the source: its copy is taken at once,
  // while the picture carries no box.
  EXPECT_TRUE(document.Source.CleanCopyTaken());
  EXPECT_FALSE(document.Destination.CleanCopyTaken()) << "no copy before the first overlay";
}

TEST(Document, SourceChangedRestartsSizingEmptiesTheBoxAndTakesASnapshot) {
  TDocument document(Palette150x76());
  test_support::TBoxRecorder box;
  box.Attach(document);
  document.Sizing.StepUp(30);
  document.Source.Picture.Reset(TPixelFormat::Bit24, 40, 30);
  const TSourceTexts texts = document.SourceChanged();
  EXPECT_EQ(texts.SourceSize, "Source Image - Size: 40 X 30 Pixels: 24-bit");
  EXPECT_EQ(texts.NewSize, (TNewSizeTexts{" 40 x 30", "Percent", " 0"}));
  EXPECT_EQ(texts.Box, "X1: 0 Y1: 0  X2: 0 Y2: 0  W: 0 H: 0");
  EXPECT_EQ(box.Calls, (std::vector<std::string>{"set 0,0,0,0"}));
  EXPECT_EQ(document.Source.CleanCopy().Width(), 40);
}

TEST(Document, ResetSizingReadsTheSourcePictureAgain) {
  TDocument document(Palette150x76());
  document.Sizing.SetUnits(TSizeUnits::Pixels);
  document.Sizing.StepUp(50);
  EXPECT_EQ(document.ResetSizing(), (TNewSizeTexts{" 150 x 76", "Pixels", " 0"}));
}

TEST(Readouts, TextsOfTheWindowsLabels) {
  TRasterBitmap empty;
  EXPECT_EQ(SourceSizeText(empty), "Source Image - Size: 0 X 0");
  EXPECT_EQ(SourceSizeText(Palette150x76()), "Source Image - Size: 150 X 76 Pixels: 8-bit");
  TRasterBitmap wide;
  wide.Reset(TPixelFormat::Bit24, 200, 150);
  EXPECT_EQ(SourceSizeText(wide), "Source Image - Size: 200 X 150 Pixels: 24-bit");
  EXPECT_EQ(BoxReadoutText({-5, 2, 30, 40}), "X1: -5 Y1: 2  X2: 30 Y2: 40  W: 35 H: 38");
  EXPECT_EQ(BoxReadoutText({-3, 4, 10, 2}), "X1: -3 Y1: 4  X2: 10 Y2: 2  W: 13 H: -2");
  EXPECT_EQ(BoxReadoutText({INT32_MIN, 0, INT32_MAX, 0}),
            "X1: -2147483648 Y1: 0  X2: 2147483647 Y2: 0  W: 4294967295 H: 0");
  EXPECT_EQ(MouseReadoutText(12, -3), "12,-3");
  EXPECT_EQ(CaptionText("/some/folder/map.tif"), "map.tif - Quorvane");
  EXPECT_EQ(CaptionText("map.tif"), "map.tif - Quorvane");
}

TEST(Pane, SnapshotsEraseOverlaysWholeOrByRectangle) {
  TPane pane;
  pane.Picture.Reset(TPixelFormat::Bit24, 10, 8);
  pane.Snapshot();
  pane.PrepareOverlay();
  pane.Picture.Scanline(2)[3 * 4] = 200;  // an overlay at (4, 2)
  pane.Picture.Scanline(6)[3 * 9] = 200;  // and at (9, 6)
  EXPECT_EQ(pane.RestoreSnapshotRect({3, 1, 6, 4}), (TRect{3, 1, 6, 4}));
  EXPECT_EQ(pane.Picture.Scanline(2)[3 * 4], 0);
  EXPECT_EQ(pane.Picture.Scanline(6)[3 * 9], 200) << "outside the rectangle";
  EXPECT_EQ(pane.RestoreSnapshotRect({8, 5, 40, 40}), (TRect{8, 5, 10, 8})) << "clipped";
  EXPECT_EQ(pane.Picture.Scanline(6)[3 * 9], 0);
  EXPECT_EQ(pane.RestoreSnapshotRect({20, 20, 30, 30}), TRect{}) << "nothing inside";

  pane.Picture.Reset(TPixelFormat::Bit24, 4, 20);  // replaced by a taller picture
  EXPECT_EQ(pane.RestoreSnapshot(), (TRect{0, 0, 10, 20})) << "old and new extent";
  EXPECT_EQ(pane.Picture.Width(), 10);
}

TEST(Pane, RepaintRequestsOfTheMeasuringTool) {
  TPane pane;
  pane.Picture.Reset(TPixelFormat::Bit24, 30, 30);
  pane.Snapshot();
  pane.PrepareOverlay();
  const TRepaintRequest down = pane.Measure.MouseDown(10, 10, {.Left = true});
  EXPECT_EQ(pane.Restore(down), TRect{}) << "no points before: nothing to erase";
  const TRepaintRequest move = pane.Measure.MouseMove(12, 10, {.Left = true});
  EXPECT_EQ(pane.Restore(move), (TRect{6, 6, 14, 14})) << "around the old point";
  EXPECT_EQ(pane.Restore(pane.Measure.MouseUp()), TRect{})
      << "the whole picture, but only what overlays wrote differs, and nothing was drawn";
}

TEST(Pane, RepaintErasesFromTheCleanCopyAndDrawsTheToolAgain) {
  TPane pane;
  pane.Picture.Reset(TPixelFormat::Bit24, 30, 30);
  pane.Snapshot();
  EXPECT_EQ(pane.Repaint(pane.Measure.MouseDown(10, 10, {.Left = true})).Bounds(),
            (TRect{6, 6, 14, 14}))
      << "the new point's marker";
  EXPECT_TRUE(pane.CleanCopyTaken()) << "taken before the first drawing";
  EXPECT_NE(test_support::ColorAt(pane.Picture, 10, 10),
            test_support::ColorAt(pane.CleanCopy(), 10, 10));
  const TRect moved = pane.Repaint(pane.Measure.MouseMove(20, 10, {.Left = true})).Bounds();
  EXPECT_EQ(moved, (TRect{6, 6, 24, 14})) << "the old place erased, the new one drawn";
  EXPECT_EQ(test_support::ColorAt(pane.Picture, 10, 10),
            test_support::ColorAt(pane.CleanCopy(), 10, 10));
  pane.Measure.Clear();
  EXPECT_EQ(pane.DrawMeasure(), TRect{}) << "nothing to draw";
}

TEST(Pane, WithoutACleanCopySnapshotsDoNothing) {
  TPane pane(TCleanCopyTaking::Never);
  pane.Picture.Reset(TPixelFormat::Bit24, 10, 8);
  pane.Snapshot();
  pane.DrawMeasure();
  EXPECT_FALSE(pane.CleanCopyTaken());
  EXPECT_EQ(pane.RestoreSnapshot(), TRect{});
  EXPECT_EQ(pane.Picture.Width(), 10) << "the picture is not replaced by an empty copy";
}

}  // namespace
}  // namespace quorvane
