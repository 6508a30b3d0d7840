// resize, tone and crop run through the binary on files made here.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <random>
#include <string>

#include "document/open_image.h"
#include "geo/geo_reference.h"
#include "geo/geotiff_georef.h"
#include "imaging/resample.h"
#include "imaging/resample_filters.h"
#include "imaging/tone.h"
#include "support/cli_runner.h"
#include "support/geo_grid.h"
#include "support/test_pictures.h"
#include "tiff/tiff_writer.h"

namespace quorvane {
namespace {

namespace fs = std::filesystem;
using test_support::RunCli;
using test_support::SamePixels;

class PictureCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() /
              ("quorvane-picture-commands-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(folder_);
    picture_.Reset(TPixelFormat::Bit24, 60, 40);
    std::mt19937 random(3);
    for (int r = 0; r < 40; ++r) {
      for (int i = 0; i < 180; ++i) picture_.Scanline(r)[i] = uint8_t(random());
    }
    geo_ = {500000, 4649776, 30, 30, 18, true};
    TGeoTiffTags tags;
    ClearGeoTiffTags(tags);
    GeoReferenceToGeoTiff(geo_, tags);
    SaveTiffFile(Path("in.tif"), picture_, {.GeoTiff = &tags});
  }
  void TearDown() override { fs::remove_all(folder_); }

  std::string Path(const std::string& name) const { return (folder_ / name).string(); }

  // The picture in `name` and its georeference, as the window opens them.
  std::unique_ptr<TRasterBitmap> Load(const std::string& name, TGeoReference& geo) const {
    TDocument document;
    OpenImageFile(document, Path(name), {.ChangeFolder = false});
    geo = document.Source.GeoReference();
    return std::make_unique<TRasterBitmap>(std::move(document.Source.Picture));
  }

  fs::path folder_;
  TRasterBitmap picture_;
  TGeoReference geo_;
};

TEST_F(PictureCommands, ResizeToSizeMatchesTheResamplerAndScalesTheGeoreference) {
  const auto result = RunCli(
      {"resize", Path("in.tif"), Path("out.tif"), "--size", "90x50", "--filter", "mitchell"});
  ASSERT_EQ(result.ExitCode, 0) << result.Err;
  TGeoReference geo;
  const auto out = Load("out.tif", geo);
  TRasterBitmap expected = picture_;
  ResampleBitmap(expected, 90, 50, TResampleFilter::Mitchell);
  EXPECT_TRUE(SamePixels(*out, expected));
  EXPECT_DOUBLE_EQ(geo.ScaleX, 20.0);
  EXPECT_DOUBLE_EQ(geo.ScaleY, 30.0 / (50.0 / 40.0));
  EXPECT_DOUBLE_EQ(geo.BaseX, 500000);
}

TEST_F(PictureCommands, ResizeByPercentFollowsTheAspectRatio) {
  const auto result =
      RunCli({"resize", Path("in.tif"), Path("out.bmp"), "--percent", "50", "--filter", "0"});
  ASSERT_EQ(result.ExitCode, 0) << result.Err;
  TGeoReference geo;
  const auto out = Load("out.bmp", geo);
  EXPECT_EQ(out->Width(), 30);
  EXPECT_EQ(out->Height(), 20);
}

// The usage errors of every command are in usage_errors_test.cpp.
TEST_F(PictureCommands, ResizeFailuresWriteNothing) {
  const auto huge =
      RunCli({"resize", Path("in.tif"), Path("bad.tif"), "--size", "2000000000x2000000000"});
  EXPECT_NE(huge.ExitCode, 0);
  EXPECT_FALSE(fs::exists(Path("bad.tif")));
  const auto missing = RunCli({"resize", Path("none.tif"), Path("bad.tif"), "--size", "5x5"});
  EXPECT_EQ(missing.ExitCode, 1);
}

TEST_F(PictureCommands, ToneWritesTheTableAppliedTo24Bit) {
  const auto result =
      RunCli({"tone", Path("in.tif"), Path("out.tif"), "--brightness", "70", "--gamma", "40"});
  ASSERT_EQ(result.ExitCode, 0) << result.Err;
  TGeoReference geo;
  const auto out = Load("out.tif", geo);
  const auto table = BuildToneTable(ReadToneSliders(70, 50, 40));
  ASSERT_EQ(out->PixelFormat(), TPixelFormat::Bit24);
  EXPECT_EQ(out->Scanline(7)[11], table[picture_.Scanline(7)[11]]);
  EXPECT_EQ(test_support::GridPart(geo), test_support::GridPart(geo_));
}

TEST_F(PictureCommands, CropCutsTheClampedRectangleAndShiftsTheOrigin) {
  const auto result = RunCli({"crop", Path("in.tif"), Path("out.tif"), "--rect", "200,30,10,5"});
  ASSERT_EQ(result.ExitCode, 0) << result.Err;
  TGeoReference geo;
  const auto out = Load("out.tif", geo);
  ASSERT_EQ(out->Width(), 50);
  ASSERT_EQ(out->Height(), 25);
  EXPECT_EQ(0, std::memcmp(out->Scanline(0), picture_.Scanline(5) + 30, 150));
  EXPECT_DOUBLE_EQ(geo.BaseX, 500000 + 10 * 30);
  EXPECT_DOUBLE_EQ(geo.BaseY, 4649776 - 5 * 30);

  const auto outside = RunCli({"crop", Path("in.tif"), Path("bad.tif"), "--rect", "70,0,90,10"});
  EXPECT_EQ(outside.ExitCode, 1);
  EXPECT_NE(outside.Err.find("cuts nothing"), std::string::npos);
  EXPECT_EQ(RunCli({"crop", Path("in.tif"), Path("bad.tif"), "--rect", "5,5,5,9"}).ExitCode, 1);
  EXPECT_FALSE(fs::exists(Path("bad.tif")));
}

}  // namespace
}  // namespace quorvane
