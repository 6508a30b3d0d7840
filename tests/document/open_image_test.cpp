#include "document/open_image.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/document_fixtures.h"
#include "support/geo_grid.h"

namespace quorvane {
namespace {

namespace fs = std::filesystem;
using test_support::Gradient24;
using test_support::kUtm18North30m;
using test_support::Palette150x76;
using test_support::WritePicture;

// Opening changes the process's current folder; every test gets it back.
class OpenImage : public ::testing::Test {
 protected:
  void SetUp() override { previous_ = fs::current_path(); }
  void TearDown() override { fs::current_path(previous_); }

  TOpenOptions Recording() {
    TOpenOptions options;
    options.AddRecentFile = [this](const std::string& path) { recent_.push_back(path); };
    return options;
  }

  test_support::TTempDir folder_;
  fs::path previous_;
  std::vector<std::string> recent_;
};

TEST_F(OpenImage, GeoTiffGivesPictureCaptionReportAndGeoreference) {
  WritePicture(folder_ / "map.tif", Gradient24(60, 40));
  TDocument document(Palette150x76());
  const TSourceTexts texts = OpenImageFile(document, (folder_ / "map.tif").string(), Recording());
  EXPECT_EQ(texts.SourceSize, "Source Image - Size: 60 X 40 Pixels: 24-bit");
  EXPECT_EQ(texts.NewSize.ImageSize, " 60 x 40");
  EXPECT_EQ(document.Caption, "map.tif - Quorvane");
  EXPECT_EQ(test_support::GridPart(document.Source.GeoReference()), kUtm18North30m);
  EXPECT_EQ(document.GeoTiffTags.TiePointCount, 1);
  ASSERT_FALSE(document.Report.empty());
  EXPECT_EQ(document.Report[0], "Version: 1");
  EXPECT_EQ(recent_, (std::vector<std::string>{(folder_ / "map.tif").string()}));
  EXPECT_TRUE(fs::equivalent(fs::current_path(), folder_.Path()));
  EXPECT_EQ(document.Source.CleanCopy().Width(), 60);
}

TEST_F(OpenImage, PlainPictureAfterAGeoTiffResetsTheGeoreferenceButKeepsTheZone) {
  WritePicture(folder_ / "map.tif", Gradient24(60, 40));
  WritePicture(folder_ / "plain.bmp", Gradient24(20, 10));
  TDocument document(Palette150x76());
  OpenImageFile(document, (folder_ / "map.tif").string());
  OpenImageFile(document, (folder_ / "plain.bmp").string());
  EXPECT_EQ(document.Source.GeoReference(), (TGeoReference{0, 0, 1, 1, 18, true}));
  EXPECT_EQ(document.GeoTiffTags.TiePointCount, 0);
  EXPECT_EQ(document.Report[3], "Count: 0") << "the report describes the new file";
}

TEST_F(OpenImage, FailedLoadKeepsThePictureButNotTheEarlierSteps) {
  WritePicture(folder_ / "map.tif", Gradient24(60, 40));
  test_support::WriteFileBytes(folder_ / "broken.tif", {'I', 'I', 42, 0, 99, 0, 0, 0});
  TDocument document(Palette150x76());
  test_support::TBoxRecorder box;
  box.Attach(document);
  OpenImageFile(document, (folder_ / "map.tif").string(), Recording());
  const std::vector<std::string> report = document.Report;
  document.Sizing.StepUp(10);
  box.Calls.clear();

  EXPECT_ANY_THROW(OpenImageFile(document, (folder_ / "broken.tif").string(), Recording()));
  EXPECT_EQ(recent_.back(), (folder_ / "broken.tif").string()) << "listed before the load";
  EXPECT_EQ(box.Calls, (std::vector<std::string>{"hide"}));
  EXPECT_EQ(document.Source.GeoReference(), (TGeoReference{0, 0, 1, 1, 18, true}));
  EXPECT_EQ(document.GeoTiffTags.TiePointCount, 0) << "the tags were emptied";
  EXPECT_EQ(document.Source.Picture.Width(), 60) << "the previous picture stays";
  EXPECT_EQ(document.Caption, "map.tif - Quorvane");
  EXPECT_EQ(document.Report, report);
  EXPECT_EQ(document.Sizing.SizeStep, 10);
}

TEST_F(OpenImage, RelativePathStillNamesTheFileAfterTheFolderChange) {
  fs::create_directories(folder_ / "maps");
  WritePicture(folder_ / "maps" / "a.bmp", Gradient24(7, 5));
  fs::current_path(folder_.Path());
  TDocument document;
  OpenImageFile(document, "maps/a.bmp", Recording());
  EXPECT_EQ(document.Source.Picture.Width(), 7);
  EXPECT_TRUE(fs::equivalent(fs::current_path(), folder_ / "maps"));
  EXPECT_EQ(recent_, (std::vector<std::string>{(folder_ / "maps" / "a.bmp").string()}))
      << "the list keeps a path that still works from elsewhere";
  EXPECT_EQ(document.Caption, "a.bmp - Quorvane");
}

TEST_F(OpenImage, FolderThatCannotBeEnteredEndsTheOpenFirst) {
  TDocument document(Palette150x76());
  document.Source.GeoReference() = kUtm18North30m;
  try {
    OpenImageFile(document, (folder_ / "missing" / "a.tif").string(), Recording());
    FAIL();
  } catch (const std::exception& error) {
    EXPECT_NE(std::string(error.what()).find("missing"), std::string::npos) << error.what();
  }
  EXPECT_TRUE(recent_.empty());
  EXPECT_EQ(test_support::GridPart(document.Source.GeoReference()), kUtm18North30m);
  EXPECT_TRUE(fs::equivalent(fs::current_path(), previous_));
}

TEST_F(OpenImage, BatchOpenLeavesTheCurrentFolder) {
  WritePicture(folder_ / "a.bmp", Gradient24(7, 5));
  TDocument document;
  OpenImageFile(document, (folder_ / "a.bmp").string(), {.ChangeFolder = false});
  EXPECT_TRUE(fs::equivalent(fs::current_path(), previous_));
  EXPECT_EQ(document.Source.Picture.Height(), 5);
}

TEST_F(OpenImage, InfoReadsWhatAnOpenWouldShow) {
  WritePicture(folder_ / "map.tif", Gradient24(60, 40));
  const TImageInfo info = ReadImageInfo((folder_ / "map.tif").string());
  EXPECT_EQ(info.Header.Width, 60);
  EXPECT_EQ(info.Header.PixelFormat, TPixelFormat::Bit24);
  EXPECT_EQ(test_support::GridPart(info.GeoReference), kUtm18North30m);
  TDocument document;
  OpenImageFile(document, (folder_ / "map.tif").string(), {.ChangeFolder = false});
  EXPECT_EQ(info.Report, document.Report);
  EXPECT_TRUE(fs::equivalent(fs::current_path(), previous_));
}

}  // namespace
}  // namespace quorvane
