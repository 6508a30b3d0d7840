#include "document/zoom_commands.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

constexpr TZoomPane kLarge{8000, 6000, 400, 300};

TEST(ZoomCommands, StepsFitAndActualPixels) {
  struct TCase {
    TZoomCommand Command;
    TViewZoom From;
    TZoomPane Pane;
    TViewZoom Expected;
  };
  const TCase cases[] = {
      {TZoomCommand::ZoomIn, {1, 1}, kLarge, {3, 2}},
      {TZoomCommand::ZoomOut, {1, 1}, kLarge, {2, 3}},
      {TZoomCommand::ActualPixels, {1, 20}, kLarge, {1, 1}},
      {TZoomCommand::FitInView, {1, 1}, kLarge, {1, 20}},
      // A fitted zoom steps to its neighbours.
      {TZoomCommand::ZoomIn, {1, 20}, kLarge, {1, 16}},
      {TZoomCommand::ZoomOut, {1, 20}, kLarge, {1, 24}},
      // A small picture fits enlarged, but no further than the largest step.
      {TZoomCommand::FitInView, {1, 1}, {100, 50, 400, 300}, {4, 1}},
      {TZoomCommand::FitInView, {1, 1}, {2, 2, 400, 300}, {64, 1}},
      // Zooming in stops before the view outgrows what a widget can be.
      {TZoomCommand::ZoomIn, {48, 1}, {300000, 10, 400, 300}, {48, 1}},
      {TZoomCommand::ZoomIn, {32, 1}, {300000, 10, 400, 300}, {48, 1}},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(ZoomAfter(c.Command, c.From, c.Pane), c.Expected)
        << int(c.Command) << " from " << c.From.Num << "/" << c.From.Den;
}

TEST(ZoomCommands, WheelNotchesAddUp) {
  int pending = 0;
  EXPECT_EQ(WheelZoom({1, 1}, 120, pending, kLarge), (TViewZoom{3, 2}));
  EXPECT_EQ(WheelZoom({1, 1}, -240, pending, kLarge), (TViewZoom{1, 2}));
  // Half notches of a precise wheel: the second one steps.
  EXPECT_EQ(WheelZoom({1, 1}, 60, pending, kLarge), (TViewZoom{1, 1}));
  EXPECT_EQ(WheelZoom({1, 1}, 60, pending, kLarge), (TViewZoom{3, 2}));
  EXPECT_EQ(pending, 0);
}

TEST(ZoomCommands, NewPicturesFitOnlyWhenLargeAndAsked) {
  EXPECT_EQ(NewPictureZoom(false, kLarge), kActualPixels);
  EXPECT_EQ(NewPictureZoom(true, kLarge), (TViewZoom{1, 20}));
  EXPECT_EQ(NewPictureZoom(true, {400, 301, 400, 300}), (TViewZoom{300, 301}));
  EXPECT_EQ(NewPictureZoom(true, {100, 50, 400, 300}), kActualPixels);
}

}  // namespace
}  // namespace quorvane
