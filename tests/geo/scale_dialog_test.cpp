#include "geo/scale_dialog.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

constexpr int kMeters = 0, kKMeters = 1, kFeet = 2;

// An image's measuring tool with its georeference.
struct TImage {
  TMeasureTool Tool;
  TGeoReference Reference;
};

TImage ToolWithScale(double scale) {
  TImage tool;
  tool.Reference = {.BaseX = 500000,
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
  TImage tool = ToolWithScale(30);
  dialog.Open(tool.Tool, tool.Reference);
  EXPECT_STREQ(dialog.UnitText(), "Ft");
  EXPECT_EQ(TScaleDialogModel::FieldText(dialog.ScaleX), "98.4251968503937");
  dialog.Store(tool.Reference);
  EXPECT_DOUBLE_EQ(tool.Reference.ScaleX, 30);
  EXPECT_DOUBLE_EQ(tool.Reference.BaseY, 4649776);
  EXPECT_EQ(tool.Reference.Zone, 18);
  EXPECT_TRUE(tool.Reference.North);
}

TEST(ScaleDialog, MeasuredLineAndRealLengthGiveTheScale) {
  TScaleDialogModel dialog;
  TImage tool = ToolWithScale(1);
  tool.Tool.Points = {{0, 0}, {120, 160}};  // 200 pixels
  dialog.Open(tool.Tool, tool.Reference);
  EXPECT_EQ(dialog.PixelsText(), "200");
  dialog.LineSpinChange(1000);
  EXPECT_EQ(dialog.LineScaleText(), "5.000");
  dialog.UseBothBtnClick();
  dialog.Store(tool.Reference);
  EXPECT_EQ(tool.Reference.ScaleX, 5);
  EXPECT_EQ(tool.Reference.ScaleY, 5);
  // The real length persists, in metres, to the next opening.
  EXPECT_EQ(dialog.RealLength(), 1000);
  dialog.UnitsRadioClick(kKMeters);
  dialog.Open(tool.Tool, tool.Reference);
  EXPECT_EQ(dialog.LineLength, 1);
  EXPECT_EQ(dialog.LineScaleText(), "0.005");
}

TEST(ScaleDialog, WithoutAMeasuredLineTheScaleIsOne) {
  TScaleDialogModel dialog;
  const TImage tool = ToolWithScale(30);
  dialog.Open(tool.Tool, tool.Reference);
  dialog.LineSpinChange(1000);
  EXPECT_EQ(dialog.LineScale(), 1.0);
  EXPECT_EQ(dialog.LineScaleText(), "1.000");
}

TEST(ScaleDialog, SwitchingUnitsConvertsEveryRealField) {
  TScaleDialogModel dialog;
  const TImage tool = ToolWithScale(1500);
  dialog.Open(tool.Tool, tool.Reference);
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
  TImage source = ToolWithScale(30);
  source.Tool.Points = {{0, 0}, {100, 0}};
  TImage destination = ToolWithScale(60);
  destination.Tool.Points = {{0, 0}, {50, 0}};
  dialog.Open(source.Tool, source.Reference);
  dialog.LineSpinChange(1000);
  EXPECT_EQ(dialog.LineScale(), 10);
  dialog.Store(source.Reference);
  dialog.ImageRadioClick(destination.Tool, destination.Reference);
  EXPECT_EQ(dialog.ScaleX, 60);
  EXPECT_EQ(dialog.PixelsText(), "50");
  // Same real length, but the scale follows the newly chosen line.
  EXPECT_EQ(dialog.LineScale(), 20);
}

TEST(ScaleDialog, HemisphereButtonAndZoneLimits) {
  TScaleDialogModel dialog;
  TImage tool = ToolWithScale(30);
  dialog.Open(tool.Tool, tool.Reference);
  EXPECT_TRUE(dialog.North);
  dialog.North = false;
  dialog.SetZone(61);
  dialog.Store(tool.Reference);
  EXPECT_FALSE(tool.Reference.North);
  EXPECT_EQ(tool.Reference.Zone, 60);
  // A record that was never set shows zone 1, the field's lower limit.
  TImage fresh;
  dialog.Open(fresh.Tool, fresh.Reference);
  EXPECT_EQ(dialog.Zone, 1);
  EXPECT_FALSE(dialog.North);
}

}  // namespace
}  // namespace quorvane
