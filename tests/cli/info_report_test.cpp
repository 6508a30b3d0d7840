#include <gtest/gtest.h>

#include <filesystem>

#include "support/cli_runner.h"

namespace quorvane::test_support {
namespace {

TEST(InfoCommand, TextEndsWithTheGeoTiffReportLineByLine) {
  const TCliResult r = RunCli({"info", SamplePath("sample.tif")});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  const std::string expected =
      "report: Version: 1\n"
      "report: Revision: 1\n"
      "report: Minor Rev.: 0\n"
      "report: Count: 4\n"
      "report: Keys ------------------------\n"
      "report: 1024, 0, 1, 1\n"
      "report: 1025, 0, 1, 1\n"
      "report: 3072, 0, 1, 32618\n"
      "report: 3073, 34737, 22, 0\n"
      "report: Model Coordinate System: 1\n"
      "report: Raster Coordinate System: 1\n"
      "report: Projected Coord. Sys: 32618 WGS84 UTM 18 N\n"
      "report: PCS Citation: WGS 84 / UTM zone 18N|\n"
      "report: GeoStrings ----------------------------\n"
      "report: WGS 84 / UTM zone 18N|\n"
      "report: GeoReals ----------------------------\n"
      "report: PixelScale ----------------------------\n"
      "report: X: 30 Y: 30 Z: 0\n"
      "report: TiePoints ----------------------------\n"
      "report: 0 I: 0 J: 0 K: 0 X: 500000 Y: 4649776 Z: 0\n";
  ASSERT_GE(r.Out.size(), expected.size());
  EXPECT_EQ(r.Out.substr(r.Out.size() - expected.size()), expected);
}

TEST(InfoCommand, BitmapWithoutGeoTiffTagsReportsEmptyLists) {
  // Converted to a bitmap the picture loses its tags; the report keeps its frame.
  namespace fs = std::filesystem;
  const fs::path bmp =
      fs::temp_directory_path() / ("quorvane-report-" + std::to_string(::getpid()) + ".bmp");
  ASSERT_EQ(RunCli({"convert", SamplePath("sample.tif"), bmp.string()}).ExitCode, 0);
  const TCliResult plain = RunCli({"info", bmp.string(), "--json"});
  fs::remove(bmp);
  ASSERT_EQ(plain.ExitCode, 0) << plain.Err;
  EXPECT_EQ(ParseJson(plain.Out)["report"],
            nlohmann::json::parse(R"(["Version: 0", "Revision: 0", "Minor Rev.: 0", "Count: 0",
                                      "Keys ------------------------",
                                      "GeoStrings ----------------------------", "",
                                      "GeoReals ----------------------------",
                                      "PixelScale ----------------------------", "X: 0 Y: 0 Z: 0",
                                      "TiePoints ----------------------------"])"))
      << plain.Out;
}

}  // namespace
}  // namespace quorvane::test_support
