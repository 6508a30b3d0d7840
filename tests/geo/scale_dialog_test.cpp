#include "geo/scale_dialog.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

constexpr int kMeters = 0, kKMeters = 1, kFeet = 2;

TMeasureTool ToolWithScale(double scale) {
  TMeasureTool tool;
  tool.GeoReference = {.BaseX = 500000,
                       .BaseY = 4649776,
                       .ScaleX = scale,
                       .ScaleY = scale,
                       .Zone = 18,
                       .North = true};
  return tool;
}

TEST(ScaleDialog, FeetShowTheScaleInFeetAndStoreItBackInMetres) {
  TScaleDialogModel dialog;
  dialog.UnitsRadioClick(kFeet);
  TMeasureTool tool = ToolWithScale(30);
  dialog.Open(tool);
  EXPECT_STREQ(dialog.UnitText(), "Ft");
  EXPECT_EQ(TScaleDialogModel::FieldText(dialog.ScaleX), "98.4251968503937");
  dialog.Store(tool);
  EXPECT_DOUBLE_EQ(tool.GeoReference.ScaleX, 30);
  EXPECT_DOUBLE_EQ(tool.GeoReference.BaseY, 4649776);
  EXPECT_EQ(tool.GeoReference.Zone, 18);
  EXPECT_TRUE(tool.GeoReference.North);
}

TEST(ScaleDialog, MeasuredLineAndRealLengthGiveTheScale) {
  TScaleDialogModel dialog;
  TMeasureTool tool = ToolWithScale(1);
  tool.Points = {{0, 0}, {120, 160}};  // 200 pixels
  dialog.Open(tool);
  EXPECT_EQ(dialog.PixelsText(), "200");
  dialog.LineSpinChange(1000);
  EXPECT_EQ(dialog.LineScaleText(), "5.000");
  dialog.UseBothBtnClick();
  dialog.Store(tool);
  EXPECT_EQ(tool.GeoReference.ScaleX, 5);
  EXPECT_EQ(tool.GeoReference.ScaleY, 5);
  // The real length persists, in metres, to the next opening.
  EXPECT_EQ(dialog.RealLength(), 1000);
  dialog.UnitsRadioClick(kKMeters);
  dialog.Open(tool);
  EXPECT_EQ(dialog.LineLength, 1);
  EXPECT_EQ(dialog.LineScaleText(), "0.005");
}

TEST(ScaleDialog, WithoutAMeasuredLineTheScaleIsOne) {
  TScaleDialogModel dialog;
  dialog.Open(ToolWithScale(30));
  dialog.LineSpinChange(1000);
  EXPECT_EQ(dialog.LineScale(), 1.0);
  EXPECT_EQ(dialog.LineScaleText(), "1.000");
}

TEST(ScaleDialog, SwitchingUnitsConvertsEveryRealField) {
  TScaleDialogModel dialog;
  dialog.Open(ToolWithScale(1500));
  dialog.BaseX = dialog.BaseY = dialog.LineLength = 1500;
  dialog.UnitsRadioClick(kKMeters);
  EXPECT_EQ(dialog.BaseX, 1.5);
  EXPECT_EQ(dialog.BaseY, 1.5);
  EXPECT_EQ(dialog.ScaleX, 1.5);
  EXPECT_EQ(dialog.ScaleY, 1.5);
  EXPECT_EQ(dialog.LineLength, 1.5);
  EXPECT_STREQ(dialog.UnitText(), "kM");
  dialog.UnitsRadioClick(kMeters);
  EXPECT_EQ(dialog.BaseX, 1500);
}

TEST(ScaleDialog, ChoosingTheOtherImageShowsItsRecordAndItsLine) {
  TScaleDialogModel dialog;
  TMeasureTool source = ToolWithScale(30);
  source.Points = {{0, 0}, {100, 0}};
  TMeasureTool destination = ToolWithScale(60);
  destination.Points = {{0, 0}, {50, 0}};
  dialog.Open(source);
  dialog.LineSpinChange(1000);
  EXPECT_EQ(dialog.LineScale(), 10);
  dialog.Store(source);
  dialog.ImageRadioClick(destination);
  EXPECT_EQ(dialog.ScaleX, 60);
  EXPECT_EQ(dialog.PixelsText(), "50");
  // Same real length, but the scale follows the newly chosen line.
  EXPECT_EQ(dialog.LineScale(), 20);
}

TEST(ScaleDialog, HemisphereButtonAndZoneLimits) {
  TScaleDialogModel dialog;
  TMeasureTool tool = ToolWithScale(30);
  dialog.Open(tool);
  EXPECT_TRUE(dialog.North);
  dialog.North = false;
  dialog.SetZone(61);
  dialog.Store(tool);
  EXPECT_FALSE(tool.GeoReference.North);
  EXPECT_EQ(tool.GeoReference.Zone, 60);
  // A record that was never set shows zone 1, the field's lower limit.
  TMeasureTool fresh;
  dialog.Open(fresh);
  EXPECT_EQ(dialog.Zone, 1);
  EXPECT_FALSE(dialog.North);
}

}  // namespace
}  // namespace quorvane
