#include "document/save_pane.h"

#include <gtest/gtest.h>

#include "document/open_image.h"
#include "document/stretch.h"
#include "support/document_fixtures.h"
#include "support/geo_grid.h"

namespace quorvane {
namespace {

using test_support::GeoReferenceOfFile;
using test_support::Gradient24;
using test_support::kUtm18North30m;

class SavePane : public ::testing::Test {
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

TEST_F(SavePane, EachPaneIsSavedWithItsOwnGeoreference) {
  document_.Sizing.SetNewSize(90, 20);
  Stretch(document_);
  box_.Calls.clear();
  SaveSource(document_, (folder_ / "source.tif").string(), {});
  EXPECT_EQ(box_.Calls, (std::vector<std::string>{"hide"}));
  ASSERT_FALSE(SaveDestination(document_, (folder_ / "destination.tif").string(), {}).Warning);

  EXPECT_EQ(test_support::GridPart(GeoReferenceOfFile(folder_ / "source.tif")), kUtm18North30m);
  const TGeoReference destination = GeoReferenceOfFile(folder_ / "destination.tif");
  EXPECT_DOUBLE_EQ(destination.ScaleX, 30 / (90.0 / 60.0));
  EXPECT_DOUBLE_EQ(destination.ScaleY, 30 / (20.0 / 40.0));
  EXPECT_EQ(destination.BaseX, kUtm18North30m.BaseX);
  EXPECT_EQ(document_.GeoTiffTags.PixelScale[0], 30) << "the tags still describe the file opened";
}

TEST_F(SavePane, WithoutGeoTiffTheTiffHasNoGeoreference) {
  SaveSource(document_, (folder_ / "plain.tif").string(), {.GeoTiff = false});
  EXPECT_EQ(GeoReferenceOfFile(folder_ / "plain.tif"), (TGeoReference{0, 0, 1, 1, 0, false}));
}

TEST_F(SavePane, CompressionReachesTheWriter) {
  SaveSource(document_, (folder_ / "plain.tif").string(), {});
  SaveSource(document_, (folder_ / "packed.tif").string(), {.Compress = true});
  EXPECT_NE(test_support::ReadFileBytes(folder_ / "plain.tif"),
            test_support::ReadFileBytes(folder_ / "packed.tif"));
  TGeoTiffTags tags;
  const auto packed = LoadPicture((folder_ / "packed.tif").string(), tags);
  EXPECT_EQ(test_support::Compare24(*packed, document_.Source.Picture).Max, 0);
}

TEST_F(SavePane, EmptyDestinationIsAWarningAndNothingIsWritten) {
  EXPECT_EQ(SaveDestinationWarning(document_), "Destination Is Empty");
  const TSaveResult result = SaveDestination(document_, (folder_ / "out.tif").string(), {});
  EXPECT_EQ(result.Warning, "Destination Is Empty");
  EXPECT_TRUE(box_.Calls.empty()) << "the box is not even hidden";
  EXPECT_FALSE(std::filesystem::exists(folder_ / "out.tif"));
}

TEST_F(SavePane, WriterErrorsPropagateAndTheBoxStaysHidden) {
  EXPECT_ANY_THROW(SaveSource(document_, (folder_ / "no-folder" / "a.tif").string(), {}));
  EXPECT_EQ(box_.Calls, (std::vector<std::string>{"hide"}));
}

}  // namespace
}  // namespace quorvane
