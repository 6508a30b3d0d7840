#include "document/stretch.h"

#include <gtest/gtest.h>

#include <cstring>

#include "imaging/resample_filters.h"
#include "support/document_fixtures.h"

namespace quorvane {
namespace {

using test_support::Gradient24;
using test_support::kUtm18North30m;

class StretchCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    document_.Source.Picture = Gradient24(150, 76);
    document_.SourceChanged();
    document_.Source.GeoReference() = kUtm18North30m;
    box_.Attach(document_);
  }
  TDocument document_;
  test_support::TBoxRecorder box_;
};

TEST_F(StretchCommand, ResamplesIntoTheDestinationWithToneBaseGeoreferenceAndSnapshot) {
  document_.Sizing.StepUp(10);  // 165 x 84
  document_.Destination.Measure.Points = {{1, 1}, {5, 5}};
  std::vector<int> percents;
  const TStretchResult result =
      Stretch(document_, {.Filter = TResampleFilter::Mitchell,
                          .Progress = [&](int percent) { percents.push_back(percent); }});
  EXPECT_FALSE(result.Warning);
  EXPECT_EQ(result.ToneSliderPosition, 50);
  EXPECT_EQ(box_.Calls, (std::vector<std::string>{"hide"}));

  TRasterBitmap expected = document_.Source.Picture;
  ResampleBitmap(expected, 165, 84, TResampleFilter::Mitchell);
  const TRasterBitmap& destination = document_.Destination.Picture;
  ASSERT_EQ(destination.Width(), 165);
  EXPECT_EQ(0, std::memcmp(destination.Bits(), expected.Bits(), expected.Stride() * 84));
  EXPECT_EQ(0, std::memcmp(document_.ToneBase.Bits(), expected.Bits(), expected.Stride() * 84));
  EXPECT_EQ(document_.Destination.CleanCopy().Width(), 165);
  EXPECT_DOUBLE_EQ(document_.Destination.GeoReference().ScaleX, 30 / (165.0 / 150.0));
  EXPECT_DOUBLE_EQ(document_.Destination.GeoReference().ScaleY, 30 / (84.0 / 76.0));
  EXPECT_EQ(document_.Destination.Measure.Points.size(), 2u) << "measuring points stay";
  EXPECT_EQ(document_.Source.GeoReference(), kUtm18North30m);
  EXPECT_FALSE(percents.empty());
  EXPECT_EQ(document_.Sizing.NewWidth, 165) << "a stretch leaves the sizing alone";
}

// Stretches in a row at one size copy the tone base into the memory the
// last one left, and never change the source.
TEST_F(StretchCommand, AgainAtTheSameSizeReusesTheToneBase) {
  const TRasterBitmap source = document_.Source.Picture;
  Stretch(document_);
  const uint8_t* tone_base = document_.ToneBase.Bits();
  Stretch(document_);
  EXPECT_EQ(document_.ToneBase.Bits(), tone_base);
  EXPECT_EQ(0, std::memcmp(document_.Source.Picture.Bits(), source.Bits(), source.Stride() * 76));
}

TEST_F(StretchCommand, NegativeAndZeroSizesWarnAndChangeNothing) {
  for (int clicks : {3, 2}) {
    document_.ResetSizing();
    for (int i = 0; i < clicks; ++i) document_.Sizing.StepDown(50);
    const char* expected = clicks == 3 ? "Negative Image Size" : "Zero Image Size";
    EXPECT_EQ(StretchWarning(document_), expected);
    bool progressed = false;
    const TStretchResult result = Stretch(document_, {.Progress = [&](int) { progressed = true; }});
    EXPECT_EQ(result.Warning, expected);
    EXPECT_FALSE(progressed);
    EXPECT_TRUE(document_.Destination.Picture.Empty());
    EXPECT_TRUE(document_.ToneBase.Empty());
  }
  document_.Sizing.SetNewSize(-1, 5);
  EXPECT_EQ(StretchWarning(document_), "Negative Image Size");
}

TEST_F(StretchCommand, PaletteSourceStaysPaletteUnlessForcedTo24Bit) {
  document_.Source.Picture = test_support::Palette150x76();
  document_.SourceChanged();
  Stretch(document_);
  EXPECT_EQ(document_.Destination.Picture.PixelFormat(), TPixelFormat::Bit8);
  Stretch(document_, {.Force24Bit = true});
  EXPECT_EQ(document_.Destination.Picture.PixelFormat(), TPixelFormat::Bit24);
  EXPECT_EQ(document_.Source.Picture.PixelFormat(), TPixelFormat::Bit8) << "source untouched";
}

TEST_F(StretchCommand, FailedResamplingLeavesTheDestinationAsItWas) {
  document_.Sizing.StepUp(10);
  Stretch(document_);
  const TGeoReference reference = document_.Destination.GeoReference();
  document_.Source.Picture = TRasterBitmap{};  // "Source bitmap too small"
  document_.Source.Snapshot();
  document_.Sizing.SetNewSize(10, 10);
  EXPECT_ANY_THROW(Stretch(document_));
  EXPECT_EQ(document_.Destination.Picture.Width(), 165);
  EXPECT_EQ(document_.ToneBase.Width(), 165);
  EXPECT_EQ(document_.Destination.GeoReference(), reference);
}

TEST_F(StretchCommand, SizesBeyondWhatAPictureHoldsAreRefused) {
  document_.Sizing.SetNewSize(int64_t(1) << 33, 5);
  EXPECT_ANY_THROW(Stretch(document_));
  EXPECT_TRUE(document_.Destination.Picture.Empty());
}

}  // namespace
}  // namespace quorvane
