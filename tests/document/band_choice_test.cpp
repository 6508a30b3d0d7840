// The choice of bands and stretch end to end: which files take the display
// path, the document's re-render from the open file, the session's memory of
// the choice, and the command line's --bands and --stretch.
#include "document/band_choice.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "anytiff/any_tiff_test_support.h"
#include "document/crop.h"
#include "document/open_image.h"
#include "io/format_registry.h"
#include "support/cli_runner.h"

namespace quorvane::test_support {
namespace {

double SceneValue(uint32_t x, uint32_t y, int s) {
  return 1000 * (s + 1) + double((x * 13 + y * 7 + uint32_t(s) * 5) % 900);
}

// A 4-band 16-bit scene with a grey photometric tag, in plain strips our
// own reader would read by bit depth alone, georeferenced.
TTiffRecipe Scene() {
  TTiffRecipe recipe;
  recipe.Width = 40;
  recipe.Height = 30;
  recipe.Bits = 16;
  recipe.Samples = 4;
  recipe.NoData = "0";
  recipe.PixelScale = {30, 30, 0};
  recipe.TiePoints = {0, 0, 0, 500000, 4649776, 0};
  recipe.KeyDirectory = {1, 1, 0, 3, 1024, 0, 1, 1, 1025, 0, 1, 1, 3072, 0, 1, 32618};
  return recipe;
}

TRasterBitmap Decoded(const std::filesystem::path& file, const TAnyTiffDisplay& display) {
  TRasterBitmap picture;
  TGeoTiffTags tags;
  TAnyTiffOptions options;
  options.MaxPictureBytes = kRoomyCap;
  options.Display = display;
  DecodeAnyTiffFile(file.string(), picture, tags, options);
  return picture;
}

// Samples over 8 bits or more than three a pixel go to the extended reader
// when asked, signed and float ones already did; off, our reader keeps them.
TEST(BandChoice, MeasurementsTakeTheDisplayPathOnlyWhenAsked) {
  TTempDir dir;
  struct TRoute {
    const char* Name;
    uint16_t Bits, Samples;
    TPixelFormat Own, Extended;
  } const routes[] = {{"grey16.tif", 16, 1, TPixelFormat::Bit15, TPixelFormat::Bit8},
                      {"rgba8.tif", 8, 4, TPixelFormat::Bit32, TPixelFormat::Bit24},
                      {"rgb8.tif", 8, 3, TPixelFormat::Bit24, TPixelFormat::Bit24}};
  for (const TRoute& route : routes) {
    SCOPED_TRACE(route.Name);
    TTiffRecipe recipe;
    recipe.Bits = route.Bits;
    recipe.Samples = route.Samples;
    if (route.Samples == 3) recipe.Photometric = PHOTOMETRIC_RGB;
    WriteTiff(dir, route.Name, recipe, [](uint32_t x, uint32_t y, int s) { return x + y + s; });
    TGeoTiffTags tags;
    TReaderReport reader;
    EXPECT_EQ(LoadPicture((dir / route.Name).string(), tags, {})->PixelFormat(), route.Own);
    const auto picture =
        LoadPicture((dir / route.Name).string(), tags, {.AnyTiff = true, .Reader = &reader});
    EXPECT_EQ(picture->PixelFormat(), route.Extended);
    EXPECT_EQ(reader.ExtendedReader, route.Samples != 3);
  }
}

TEST(BandChoice, ReRendersFromTheOpenFileAndIsRememberedForTheSession) {
  TTempDir dir;
  WriteTiff(dir, "scene.tif", Scene(), SceneValue);
  TDocument document({}, {.KeepCleanCopies = false});
  EXPECT_FALSE(CanChooseBands(document));
  OpenImageFile(document, (dir / "scene.tif").string(),
                {.ChangeFolder = false, .Load = {.AnyTiff = true}});
  ASSERT_TRUE(CanChooseBands(document));
  EXPECT_TRUE(SameStoredPixels(document.Source.Picture, Decoded(dir / "scene.tif", {})));
  EXPECT_EQ(ShownChoice(document), (TAnyTiffDisplay{.Bands = {0, 1, 2}}));
  const std::vector<TBandRowTexts> rows = BandRowTexts(document);
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0].Name, "Band 1");
  EXPECT_EQ(rows[0].Min, "1000");
  EXPECT_EQ(rows[2].Max, "3720");
  EXPECT_EQ(rows[3].Min, "");  // not shown yet
  EXPECT_EQ(rows[3].NoData, "0");

  // The file goes away: the choice still re-reads it through the open file.
  std::filesystem::remove(dir / "scene.tif");
  WriteTiff(dir, "copy.tif", Scene(), SceneValue);
  const TAnyTiffDisplay false_colour{.Stretch = TDisplayStretch::MinMax, .Bands = {3, 2, 1}};
  document.Source.GeoReference().BaseX = 1234;  // set by hand: stays
  ApplyBandChoice(document, false_colour);
  EXPECT_TRUE(SameStoredPixels(document.Source.Picture, Decoded(dir / "copy.tif", false_colour)));
  EXPECT_EQ(document.Source.GeoReference().BaseX, 1234);
  EXPECT_EQ(BandRowTexts(document)[3].Max, "4725");
  EXPECT_EQ(ShownChoice(document), false_colour);

  // Later opens show the remembered choice; a file without band 4 its own.
  OpenImageFile(document, (dir / "copy.tif").string(),
                {.ChangeFolder = false, .Load = {.AnyTiff = true}});
  EXPECT_TRUE(SameStoredPixels(document.Source.Picture, Decoded(dir / "copy.tif", false_colour)));
  TTiffRecipe dem;
  dem.Bits = 16;
  WriteTiff(dir, "dem.tif", dem, [](uint32_t x, uint32_t y, int) { return 400 + x * y; });
  OpenImageFile(document, (dir / "dem.tif").string(),
                {.ChangeFolder = false, .Load = {.AnyTiff = true}});
  EXPECT_EQ(ShownChoice(document),
            (TAnyTiffDisplay{.Stretch = TDisplayStretch::MinMax, .Bands = {0}}));

  // A cropped source is no longer the file's picture.
  Crop(document, {0, 0, 8, 8});
  EXPECT_FALSE(CanChooseBands(document));
  EXPECT_THROW(ApplyBandChoice(document, {}), EQuorvaneError);
}

TEST(BandChoice, CommandLineBandsAndStretch) {
  TTempDir dir;
  WriteTiff(dir, "scene.tif", Scene(), SceneValue);
  const std::string in = (dir / "scene.tif").string(), out = (dir / "out.bmp").string();
  const TCliResult r =
      RunCli({"convert", in, out, "--any-tiff", "--bands", "4,3,2", "--stretch", "minmax"});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  TGeoTiffTags tags;
  EXPECT_TRUE(
      SameStoredPixels(*LoadPicture(out, tags),
                       Decoded(in, {.Stretch = TDisplayStretch::MinMax, .Bands = {3, 2, 1}})));
  const TCliResult grey =
      RunCli({"crop", in, out, "--rect", "0,0,5,5", "--any-tiff", "--bands", "2"});
  ASSERT_EQ(grey.ExitCode, 0) << grey.Err;
  for (const std::vector<std::string>& wrong :
       {std::vector<std::string>{"convert", in, out, "--bands", "1"},
        {"convert", in, out, "--any-tiff", "--stretch", "linear"},
        {"resize", in, out, "--percent", "50", "--any-tiff", "--bands", "1,2"}}) {
    const TCliResult u = RunCli(wrong);
    EXPECT_EQ(u.ExitCode, 2) << u.Err;
  }
  const TCliResult missing = RunCli({"tone", in, out, "--any-tiff", "--bands", "5"});
  EXPECT_EQ(missing.ExitCode, 1);
  EXPECT_NE(missing.Err.find("No Band 5 (the file has 4 bands)"), std::string::npos) << missing.Err;
}

}  // namespace
}  // namespace quorvane::test_support
