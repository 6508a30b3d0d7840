#include <gtest/gtest.h>

#include <filesystem>

#include "support/cli_runner.h"

namespace quorvane::test_support {
namespace {

// samples/sample.tif: 200 x 150 pixels of 30 m, upper-left corner at
// E 500000, N 4649776 of WGS 84 zone 18 north.

TEST(MeasureCommand, RightTriangleInPixelsAndMetres) {
  const TCliResult pixels =
      RunCli({"measure", SamplePath("sample.tif"), "--points", "0,0 3,0 3,4"});
  ASSERT_EQ(pixels.ExitCode, 0) << pixels.Err;
  EXPECT_EQ(pixels.Out,
            "length: 7\narea: 6\nazimuth: 180\n"
            "length_text: 7.0Px\narea_text: 6.0Px^2\nazimuth_text: 180.0\u00B0\n"
            "length_unit: Pixles\narea_unit: Pixels\n");
  const TCliResult metres = RunCli({"measure", SamplePath("sample.tif"), "--points", "0,0 3,0 3,4",
                                    "--length-units", "1", "--area-units", "Hectres", "--json"});
  ASSERT_EQ(metres.ExitCode, 0) << metres.Err;
  EXPECT_EQ(ParseJson(metres.Out),
            nlohmann::json::parse("{\"length\": 210, \"area\": 0.54, \"azimuth\": 180, "
                                  "\"length_text\": \"210.0M\", \"area_text\": \"0.5Hectare\", "
                                  "\"azimuth_text\": \"180.0\u00B0\", \"length_unit\": \"Meters\", "
                                  "\"area_unit\": \"Hectres\"}"));
}

TEST(MeasureCommand, UnitsByItemOrUnitTextInAnyCase) {
  const TCliResult r = RunCli({"measure", SamplePath("sample.tif"), "--points", "0 , 0 50,0",
                               "--length-units", "miles", "--area-units", "acres"});
  EXPECT_EQ(r.ExitCode, 2) << "a blank inside a pair splits it";
  const TCliResult miles = RunCli({"measure", SamplePath("sample.tif"), "--points", "0,0  50,0",
                                   "--length-units", "miles", "--area-units", "ACRES"});
  ASSERT_EQ(miles.ExitCode, 0) << miles.Err;
  // 50 pixels of 30 m = 1500 m.
  EXPECT_NE(miles.Out.find("length_text: 0.93Mi\n"), std::string::npos) << miles.Out;
  EXPECT_NE(miles.Out.find("area_text: 0.0Acres\n"), std::string::npos) << miles.Out;
  const TCliResult km =
      RunCli({"measure", SamplePath("sample.tif"), "--points", "0,0 50,0", "--length-units", "kM"});
  EXPECT_NE(km.Out.find("length_text: 1.50kM\n"), std::string::npos) << km.Out;
}

TEST(MeasureCommand, NoPointsMeasureNothing) {
  const TCliResult r = RunCli({"measure", SamplePath("sample.tif"), "--points", ""});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_NE(r.Out.find("length_text: 0.0Px\narea_text: 0.0Px^2\nazimuth_text: 0.0\u00B0\n"),
            std::string::npos);
}

TEST(MeasureCommand, UnreadableFileIsAFailure) {
  const TCliResult missing = RunCli({"measure", SamplePath("no-such.tif"), "--points", "0,0"});
  EXPECT_EQ(missing.ExitCode, 1);
}

}  // namespace
}  // namespace quorvane::test_support
