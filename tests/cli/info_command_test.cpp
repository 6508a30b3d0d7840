#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "support/cli_runner.h"

namespace quorvane::test_support {
namespace {

TEST(InfoCommand, JsonReportsTheSampleGeoTiff) {
  const TCliResult r = RunCli({"info", SamplePath("sample.tif"), "--json"});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(ParseJson(r.Out), nlohmann::json::parse(R"({
    "file": ")" + SamplePath("sample.tif") + R"(",
    "width": 200, "height": 150, "pixel_format": "24-bit",
    "georef": {"base_x": 500000, "base_y": 4649776, "scale_x": 30, "scale_y": 30, "zone": 18,
               "north": true},
    "projected_cs": {"code": 32618, "name": "WGS84 UTM", "zone": 18, "north": true},
    "crs": {"code": 32618, "name": "WGS 84 / UTM zone 18N", "short_name": "EPSG:32618",
            "kind": "projected", "linear_unit": "metre", "metres_per_unit": 1},
    "geotiff": {"version": 1, "revision": 1, "minor_revision": 0,
                "keys": [[1024, 0, 1, 1], [1025, 0, 1, 1], [3072, 0, 1, 32618],
                         [3073, 34737, 22, 0]],
                "ascii": "WGS 84 / UTM zone 18N|\u0000", "doubles": [],
                "pixel_scale": [30, 30, 0], "tie_points": [[0, 0, 0, 500000, 4649776, 0]]},
    "report": ["Version: 1", "Revision: 1", "Minor Rev.: 0", "Count: 4",
               "Keys ------------------------", "1024, 0, 1, 1", "1025, 0, 1, 1",
               "3072, 0, 1, 32618", "3073, 34737, 22, 0", "Model Coordinate System: 1",
               "Raster Coordinate System: 1", "Projected Coord. Sys: 32618 WGS84 UTM 18 N",
               "PCS Citation: WGS 84 / UTM zone 18N|", "GeoStrings ----------------------------",
               "WGS 84 / UTM zone 18N|", "GeoReals ----------------------------",
               "PixelScale ----------------------------", "X: 30 Y: 30 Z: 0",
               "TiePoints ----------------------------",
               "0 I: 0 J: 0 K: 0 X: 500000 Y: 4649776 Z: 0"]})"));
  EXPECT_NE(r.Out.find("\"base_x\":500000.0"), std::string::npos) << "plain digits";
}

TEST(InfoCommand, TextAndJsonCarryTheSameRecord) {
  const TCliResult text = RunCli({"info", SamplePath("sample.tif")});
  const nlohmann::json json = ParseJson(RunCli({"info", SamplePath("sample.tif"), "--json"}).Out);
  ASSERT_EQ(text.ExitCode, 0) << text.Err;
  EXPECT_EQ(text.Out.rfind("file: " + SamplePath("sample.tif") + "\n", 0), 0u) << text.Out;
  EXPECT_EQ(json["file"], SamplePath("sample.tif"));
  std::istringstream lines(text.Out);
  size_t report_lines = 0;
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("report: ", 0) == 0) ++report_lines;
  }
  EXPECT_EQ(report_lines, json["report"].size());
}

TEST(InfoCommand, TextHasOneNameValueLineEach) {
  const TCliResult r = RunCli({"info", SamplePath("sample.tif")});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_NE(r.Out.find("\nwidth: 200\nheight: 150\npixel_format: 24-bit\n"), std::string::npos);
  EXPECT_NE(r.Out.find("\nprojected_cs.code: 32618\nprojected_cs.name: WGS84 UTM\n"
                       "projected_cs.zone: 18\nprojected_cs.north: true\n"),
            std::string::npos);
  EXPECT_NE(r.Out.find("\ngeotiff.keys: 3072 0 1 32618\n"), std::string::npos);
  EXPECT_NE(r.Out.find("\ngeotiff.ascii: WGS 84 / UTM zone 18N|\\u0000\n"), std::string::npos);
  EXPECT_NE(r.Out.find("\ngeotiff.pixel_scale: 30 30 0\n"), std::string::npos);
  EXPECT_NE(r.Out.find("\ngeotiff.tie_points: 0 0 0 500000 4649776 0\n"), std::string::npos);
  std::istringstream lines(r.Out);
  for (std::string line; std::getline(lines, line);)
    EXPECT_NE(line.find(": "), std::string::npos) << line;
}

TEST(InfoCommand, FailuresGoToStderrWithStatusOne) {
  TCliResult r = RunCli({"info", SamplePath("no-such-file.tif")});
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_EQ(r.Out, "");
  EXPECT_NE(r.Err.find("no-such-file.tif"), std::string::npos);

  r = RunCli({"info", SamplePath("sample.xyz")});
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_EQ(r.Err, "Unknown picture file extension (.xyz)\n");

  r = RunCli({"info"});
  EXPECT_EQ(r.ExitCode, 2);
  r = RunCli({"info", SamplePath("sample.tif"), "--bogus"});
  EXPECT_EQ(r.ExitCode, 2);
}

TEST(ConvertCommand, WritesTheDecodedPictureAsABitmapAndNothingOnFailure) {
  namespace fs = std::filesystem;
  const fs::path out =
      fs::temp_directory_path() / ("quorvane-convert-" + std::to_string(::getpid()) + ".bmp");
  TCliResult r = RunCli({"convert", SamplePath("sample.tif"), out.string()});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  r = RunCli({"info", out.string(), "--json"});
  EXPECT_EQ(r.ExitCode, 0) << r.Err;
  const nlohmann::json json = ParseJson(r.Out);
  EXPECT_EQ(json["width"], 200);
  EXPECT_EQ(json["height"], 150);
  EXPECT_EQ(json["pixel_format"], "24-bit");
  fs::remove(out);

  r = RunCli({"convert", SamplePath("no-such-file.tif"), out.string()});
  EXPECT_EQ(r.ExitCode, 1);
  EXPECT_FALSE(fs::exists(out));
}

}  // namespace
}  // namespace quorvane::test_support
