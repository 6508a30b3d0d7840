// The request to open any TIFF, end to end through the registry, the
// document's open and the command line: off, nothing changes; on, the files
// our own reader refuses open with the extended reader and say so.
#include <gtest/gtest.h>

#include <filesystem>

#include "anytiff/any_tiff_test_support.h"
#include "document/document.h"
#include "document/open_image.h"
#include "io/format_registry.h"
#include "support/cli_runner.h"

namespace quorvane::test_support {
namespace {

double RgbSample(uint32_t x, uint32_t y, int s) {
  return (x * 7 + y * 3 + 50 * s) % 256;
}

TTiffRecipe TiledDeflateGeoTiff() {
  TTiffRecipe recipe;
  recipe.Width = 64;
  recipe.Height = 48;
  recipe.Samples = 3;
  recipe.Photometric = PHOTOMETRIC_RGB;
  recipe.TileWidth = recipe.TileHeight = 16;
  recipe.Compression = COMPRESSION_ADOBE_DEFLATE;
  recipe.PixelScale = {30, 30, 0};
  recipe.TiePoints = {0, 0, 0, 500000, 4649776, 0};
  recipe.KeyDirectory = {1, 1, 0, 3, 1024, 0, 1, 1, 1025, 0, 1, 1, 3072, 0, 1, 32618};
  return recipe;
}

std::string LoadMessage(const std::filesystem::path& path, const TLoadOptions& options) {
  TGeoTiffTags tags;
  try {
    LoadPicture(path.string(), tags, options);
  } catch (const EQuorvaneError& e) {
    return e.what();
  }
  return "";
}

TEST(AnyTiffRequest, OffKeepsOurReadersMessagesOnKeepsOurReaderForItsFiles) {
  TTempDir dir;
  WriteTiff(dir, "tiled.tif", TiledDeflateGeoTiff(), RgbSample);
  EXPECT_EQ(LoadMessage(dir / "tiled.tif", {}).rfind("Unsupported", 0), 0u);
  TGeoTiffTags refused_tags;
  EXPECT_THROW(ReadPictureHeader((dir / "tiled.tif").string(), refused_tags), EQuorvaneError);

  // A plain striped 8-bit file is still our own reader's, request or not.
  TTiffRecipe plain;
  plain.Width = 20;
  plain.Height = 10;
  WriteTiff(dir, "plain.tif", plain, [](uint32_t x, uint32_t, int) { return x * 10; });
  TReaderReport reader;
  TGeoTiffTags tags;
  const auto picture =
      LoadPicture((dir / "plain.tif").string(), tags, {.AnyTiff = true, .Reader = &reader});
  EXPECT_FALSE(reader.ExtendedReader);
  EXPECT_EQ(picture->Width(), 20);
}

TEST(AnyTiffRequest, OnOpensRefusedBigAndFloatFilesWithTheirTags) {
  TTempDir dir;
  TTiffRecipe big = TiledDeflateGeoTiff();
  big.BigTiff = true;
  TTiffRecipe floats = TiledDeflateGeoTiff();
  floats.Samples = 1;
  floats.Photometric = PHOTOMETRIC_MINISBLACK;
  floats.Bits = 32;
  floats.SampleFormat = SAMPLEFORMAT_IEEEFP;
  floats.TileWidth = floats.TileHeight = 0;
  floats.Compression = COMPRESSION_NONE;
  for (const auto& [name, recipe] : {std::pair{"tiled.tif", TiledDeflateGeoTiff()},
                                     std::pair{"big.tif", big}, std::pair{"float.tif", floats}}) {
    SCOPED_TRACE(name);
    WriteTiff(dir, name, recipe, RgbSample);
    TReaderReport reader;
    TGeoTiffTags tags;
    const auto picture =
        LoadPicture((dir / name).string(), tags, {.AnyTiff = true, .Reader = &reader});
    EXPECT_TRUE(reader.ExtendedReader);
    EXPECT_EQ(picture->Width(), 64);
    EXPECT_EQ(tags.PixelScale[0], 30);

    TGeoTiffTags header_tags;
    const TPictureHeader header =
        ReadPictureHeader((dir / name).string(), header_tags, {.AnyTiff = true});
    EXPECT_TRUE(header.Reader.ExtendedReader);
    EXPECT_EQ(header.Height, 48);
    EXPECT_EQ(header.PixelFormat, picture->PixelFormat());
  }
}

TEST(AnyTiffRequest, OverviewUnderTheCapIsNamedInTheCaption) {
  TTempDir dir;
  TTiffRecipe recipe = TiledDeflateGeoTiff();
  recipe.Overviews = {{32, 24}, {16, 12}};
  WriteTiff(dir, "cog.tif", recipe, RgbSample);
  TDocument document;
  // 64 x 48 x 3 bytes do not fit 3000; 32 x 24 x 3 do.
  OpenImageFile(document, (dir / "cog.tif").string(),
                {.ChangeFolder = false, .Load = {.MaxPictureBytes = 3000, .AnyTiff = true}});
  EXPECT_EQ(document.Caption, "cog.tif (overview 1, 1/2) - Quorvane");
  EXPECT_EQ(document.Source.Picture.Width(), 32);
  EXPECT_EQ(document.Source.GeoReference().ScaleX, 60);

  OpenImageFile(document, (dir / "cog.tif").string(),
                {.ChangeFolder = false, .Load = {.AnyTiff = true}});
  EXPECT_EQ(document.Caption, "cog.tif - Quorvane");
}

TEST(AnyTiffRequest, CommandLineFlagOnEveryReadingCommand) {
  TTempDir dir;
  WriteTiff(dir, "tiled.tif", TiledDeflateGeoTiff(), RgbSample);
  const std::string in = (dir / "tiled.tif").string();

  const TCliResult refused = RunCli({"info", in, "--json"});
  EXPECT_NE(refused.ExitCode, 0);
  EXPECT_NE(refused.Err.find("Unsupported"), std::string::npos) << refused.Err;

  const TCliResult info = RunCli({"info", in, "--json", "--any-tiff"});
  ASSERT_EQ(info.ExitCode, 0) << info.Err;
  const nlohmann::json json = ParseJson(info.Out);
  EXPECT_EQ(json["width"], 64);
  EXPECT_EQ(json["georef"]["base_x"], 500000);
  EXPECT_EQ(json["reader"]["overview_level"], 0);

  const std::string out = (dir / "out.tif").string();
  for (const std::vector<std::string>& command :
       {std::vector<std::string>{"convert", in, out},
        {"resize", in, out, "--percent", "50"},
        {"tone", in, out, "--gamma", "15"},
        {"crop", in, out, "--rect", "0,0,10,10"},
        {"georef", in, out, "--base", "1,2", "--scale", "1,1", "--zone", "18"},
        {"measure", in, "--points", "0,0 10,0"}}) {
    SCOPED_TRACE(command[0]);
    std::vector<std::string> with_flag = command;
    with_flag.push_back("--any-tiff");
    EXPECT_NE(RunCli(command).ExitCode, 0);
    const TCliResult r = RunCli(with_flag);
    EXPECT_EQ(r.ExitCode, 0) << r.Err;
  }
}

}  // namespace
}  // namespace quorvane::test_support
