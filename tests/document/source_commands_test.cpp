// Paste and crop: the commands that replace the source picture besides an open.
#include <gtest/gtest.h>

#include "document/clipboard.h"
#include "document/crop.h"
#include "document/open_image.h"
#include "support/document_fixtures.h"
#include "support/geo_grid.h"

namespace quorvane {
namespace {

using test_support::Gradient24;
using test_support::kUtm18North30m;

class SourceCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    test_support::WritePicture(folder_ / "in.tif", Gradient24(60, 40));
    OpenImageFile(document_, (folder_ / "in.tif").string(), {.ChangeFolder = false});
    box_.Attach(document_);
  }
  test_support::TTempDir folder_;
  TDocument document_;
  test_support::TBoxRecorder box_;
};

TEST_F(SourceCommands, PasteKeepsCaptionGeoreferenceAndReport) {
  const std::vector<std::string> report = document_.Report;
  document_.Sizing.StepUp(10);
  const TRasterBitmap pasted = Gradient24(33, 11);
  const TSourceTexts texts = PasteSource(document_, &pasted);
  EXPECT_EQ(texts.SourceSize, "Source Image - Size: 33 X 11 Pixels: 24-bit");
  EXPECT_EQ(texts.NewSize.ImageSize, " 33 x 11") << "sizing restarts from the pasted size";
  EXPECT_EQ(box_.Calls, (std::vector<std::string>{"hide", "set 0,0,0,0"}));
  EXPECT_EQ(document_.Caption, "in.tif - Quorvane");
  EXPECT_EQ(test_support::GridPart(document_.Source.GeoReference()), kUtm18North30m);
  EXPECT_EQ(document_.Report, report);
  EXPECT_EQ(document_.Source.CleanCopy().Width(), 33);
}

TEST_F(SourceCommands, PasteWithoutABitmapFailsAndKeepsTheSource) {
  try {
    PasteSource(document_, nullptr);
    FAIL();
  } catch (const std::exception& error) {
    EXPECT_STREQ(error.what(), "Unsupported clipboard format");
  }
  EXPECT_EQ(document_.Source.Picture.Width(), 60);
  EXPECT_EQ(box_.Calls, (std::vector<std::string>{"hide"})) << "the box stays hidden";
}

TEST_F(SourceCommands, CopiesHideTheBoxFromTheSourceOnly) {
  EXPECT_EQ(CopySource(document_).Width(), 60);
  EXPECT_EQ(box_.Calls, (std::vector<std::string>{"hide"}));
  EXPECT_TRUE(CopyDestination(document_).Empty()) << "nothing before the first resize";
  EXPECT_EQ(box_.Calls.size(), 1u);
}

TEST_F(SourceCommands, CropCutsAndShiftsTheOriginToTheCornerCut) {
  const TRasterBitmap before = document_.Source.Picture;
  const TCropResult result = Crop(document_, {50, 30, 10, 5});  // given right to left
  ASSERT_TRUE(result.Cropped);
  EXPECT_EQ(result.Clamped, (TRect{10, 5, 50, 30}));
  EXPECT_EQ(result.Texts.SourceSize, "Source Image - Size: 40 X 25 Pixels: 24-bit");
  EXPECT_EQ(test_support::ColorAt(document_.Source.Picture, 0, 0),
            test_support::ColorAt(before, 10, 5));
  EXPECT_DOUBLE_EQ(document_.Source.GeoReference().BaseX, 500000 + 10 * 30);
  EXPECT_DOUBLE_EQ(document_.Source.GeoReference().BaseY, 4649776 - 5 * 30);
  EXPECT_EQ(box_.Calls, (std::vector<std::string>{"hide", "set 0,0,0,0"}));
  EXPECT_EQ(document_.ResetSizing().ImageSize, " 40 x 25") << "Reset gives the cropped size";
}

TEST_F(SourceCommands, CropReachingLeftOfThePictureShiftsOnlyByThePartInside) {
  ASSERT_TRUE(Crop(document_, {-20, 8, 30, 100}).Cropped);
  EXPECT_EQ(document_.Source.Picture.Width(), 30);
  EXPECT_EQ(document_.Source.Picture.Height(), 32);
  EXPECT_DOUBLE_EQ(document_.Source.GeoReference().BaseX, 500000) << "not moved along x";
  EXPECT_DOUBLE_EQ(document_.Source.GeoReference().BaseY, 4649776 - 8 * 30);
}

TEST_F(SourceCommands, FailedCropChangesNothing) {
  document_.Sizing.StepUp(10);
  for (const TRect& rect : {TRect{5, 5, 5, 20}, TRect{70, 0, 90, 10}, TRect{}}) {
    box_.Calls.clear();
    EXPECT_FALSE(Crop(document_, rect).Cropped);
    EXPECT_EQ(box_.Calls, (std::vector<std::string>{"hide"}));
  }
  EXPECT_EQ(document_.Source.Picture.Width(), 60);
  EXPECT_EQ(test_support::GridPart(document_.Source.GeoReference()), kUtm18North30m);
  EXPECT_EQ(document_.Sizing.SizeStep, 10);
}

TEST_F(SourceCommands, CropLeavesTheDestinationAlone) {
  document_.Destination.Picture = Gradient24(5, 5);
  document_.Destination.GeoReference() = {1, 2, 3, 4, 5, true};
  Crop(document_, {0, 0, 10, 10});
  EXPECT_EQ(document_.Destination.Picture.Width(), 5);
  EXPECT_EQ(document_.Destination.GeoReference(), (TGeoReference{1, 2, 3, 4, 5, true}));
}

}  // namespace
}  // namespace quorvane
