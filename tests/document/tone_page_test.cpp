#include "document/tone_page.h"

#include <gtest/gtest.h>

#include "document/measure_page.h"
#include "document/stretch.h"
#include "support/document_fixtures.h"

namespace quorvane {
namespace {

using test_support::ColorAt;

constexpr TLengthUnitChoice kPx = TLengthUnitChoice::Pixels;
constexpr TAreaUnitChoice kPx2 = TAreaUnitChoice::Pixels;

class TonePage : public ::testing::Test {
 protected:
  void SetUp() override {
    document_.Source.Picture = test_support::Palette150x76();
    document_.SourceChanged();
  }
  TDocument document_;
};

TEST_F(TonePage, SliderBeforeAnyResizeEmptiesTheDestination) {
  document_.Destination.Picture = test_support::Gradient24(4, 4);
  AdjustTone(document_, {60, 50, 50});
  EXPECT_TRUE(document_.Destination.Picture.Empty());
}

TEST_F(TonePage, AdjustmentsStartFromTheToneBaseEveryTime) {
  Stretch(document_);
  const TRasterBitmap base = document_.ToneBase;
  const TToneTexts texts = AdjustTone(document_, {60, 50, 37});
  EXPECT_EQ(texts.Brightness, "0.6");
  EXPECT_EQ(texts.Contrast, "0.5");
  EXPECT_EQ(texts.Gamma, "0.4");
  AdjustTone(document_, {60, 50, 50});
  AdjustTone(document_, {60, 50, 50});  // twice: no accumulation
  const auto table = BuildToneTable(ReadToneSliders(60, 50, 50));
  EXPECT_EQ(ColorAt(document_.Destination.Picture, 7, 3).Red, table[ColorAt(base, 7, 3).Red]);
  EXPECT_EQ(document_.Destination.Picture.PixelFormat(), TPixelFormat::Bit24);
}

TEST_F(TonePage, ResetCentresAndGivesA24BitCopyOfThePaletteResult) {
  Stretch(document_);
  ASSERT_EQ(document_.Destination.Picture.PixelFormat(), TPixelFormat::Bit8);
  AdjustTone(document_, {90, 10, 20});
  const TToneReset reset = ResetTone(document_, ',');
  EXPECT_EQ(reset.Sliders, (TToneSliders{50, 50, 50}));
  EXPECT_EQ(reset.Texts.Gamma, "0,5");
  EXPECT_EQ(document_.Destination.Picture.PixelFormat(), TPixelFormat::Bit24);
  EXPECT_EQ(ColorAt(document_.Destination.Picture, 9, 2), ColorAt(document_.ToneBase, 9, 2));
}

TEST_F(TonePage, SwitchingPagesKeepsTheAdjustment) {
  Stretch(document_);
  AdjustTone(document_, {80, 50, 50});
  const TRasterBitmap adjusted = document_.Destination.Picture;
  document_.Destination.RestoreSnapshot();  // what a page switch does
  EXPECT_EQ(ColorAt(document_.Destination.Picture, 5, 5), ColorAt(adjusted, 5, 5));
}

TEST_F(TonePage, BatchToneTakesTheSourceAsItsBase) {
  document_.Source.GeoReference() = test_support::kUtm18North30m;
  UseSourceAsToneBase(document_);
  AdjustTone(document_, {50, 50, 50});
  EXPECT_EQ(ColorAt(document_.Destination.Picture, 11, 7),
            ColorAt(document_.Source.Picture, 11, 7));
  EXPECT_EQ(document_.Destination.GeoReference(), test_support::kUtm18North30m);
}

TEST(MeasurePage, ReadoutsUseTheChosenPanesGeoreferenceAndTool) {
  TDocument document;
  document.Source.GeoReference() = test_support::kUtm18North30m;
  document.Destination.GeoReference() = {1000, 2000, 2, 3, 33, false};
  document.Destination.Measure.Points = {{0, 0}, {3, 0}, {3, 4}};
  EXPECT_EQ(LastPointTexts(document, TPaneChoice::Input, 10, 20).EastText, "500,300.0");
  EXPECT_EQ(LastPointTexts(document, TPaneChoice::Output, 10, 20).NorthText, "1,940.0");
  const TCursorTexts cursor =
      CursorReadouts(document, TPaneChoice::Input, 0, 0, TDatumChoice::Wgs1984);
  EXPECT_EQ(cursor.ZoneText, "18");
  EXPECT_EQ(cursor.LongitudeText, "-75.00000");
  EXPECT_EQ(MeasurementTexts(document, TPaneChoice::Output, kPx, kPx2).AreaText, "6.0Px^2");
  EXPECT_EQ(MeasurementTexts(document, TPaneChoice::Input, kPx, kPx2).LengthText, "0.0Px");
  EXPECT_EQ(MeasurementTexts(document, TPaneChoice::Output, TLengthUnitChoice::Metres,
                             TAreaUnitChoice::SquareMetres)
                .LengthText,
            "18.0M");
}

TEST(MeasurePage, ResetMeasurementsErasesAndEmptiesTheChosenTool) {
  TDocument document;
  document.Destination.Picture = test_support::Gradient24(20, 10);
  document.Destination.Snapshot();
  document.Destination.Measure.Points = {{0, 0}, {3, 4}};
  const TRect drawn = document.Destination.DrawMeasure();
  ASSERT_NE(document.Destination.Picture.Scanline(2)[1],
            test_support::Gradient24(20, 10).Scanline(2)[1]);
  const TMeasureReset reset = ResetMeasurements(document, TPaneChoice::Output, kPx, kPx2);
  EXPECT_EQ(reset.Repaint, drawn) << "what the overlay wrote";
  EXPECT_EQ(reset.Texts.LengthText, "0.0Px");
  EXPECT_TRUE(document.Destination.Measure.Points.empty());
  EXPECT_EQ(document.Destination.Picture.Scanline(2)[1],
            test_support::Gradient24(20, 10).Scanline(2)[1]);
}

}  // namespace
}  // namespace quorvane
