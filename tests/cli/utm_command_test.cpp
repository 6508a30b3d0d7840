#include <gtest/gtest.h>

#include "support/cli_runner.h"

namespace quorvane::test_support {
namespace {

TEST(UtmCommand, JsonGivesRawValuesAndReadoutTexts) {
  const TCliResult r = RunCli(
      {"utm", "--zone", "31", "--east", "500000", "--north", "0", "--datum", "22", "--json"});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  EXPECT_EQ(ParseJson(r.Out),
            nlohmann::json::parse(
                "{\"longitude\": 3.0000000000000004, \"latitude\": 0, \"longitude_text\": "
                "\"3.00000\", \"latitude_text\": \"0.00000\", \"longitude_dms\": "
                "\"3\u00B000'00\\\"\", \"latitude_dms\": \"0\u00B000'00\\\"\", \"zone\": 31, "
                "\"hemisphere\": \"N\", \"datum\": \"WGS 1984\", \"datum_index\": 22}"));
  EXPECT_NE(r.Out.find("\"longitude\":3.0000000000000004"), std::string::npos) << r.Out;
}

TEST(UtmCommand, DefaultsToNorthAmerican1927AndTakesDatumNamesInAnyCase) {
  const TCliResult by_default =
      RunCli({"utm", "--zone", "18", "--east", "585628", "--north", "4511322"});
  ASSERT_EQ(by_default.ExitCode, 0) << by_default.Err;
  EXPECT_NE(by_default.Out.find("\ndatum: North American 1927\ndatum_index: 13\n"),
            std::string::npos)
      << by_default.Out;
  const TCliResult by_name = RunCli({"utm", "--zone", "18", "--east", "585628", "--north",
                                     "4511322", "--datum", "north american 1927"});
  EXPECT_EQ(by_name.Out, by_default.Out);
  const TCliResult outside =
      RunCli({"utm", "--zone", "18", "--east", "585628", "--north", "4511322", "--datum", "23"});
  EXPECT_EQ(outside.Out, by_default.Out);
}

TEST(UtmCommand, SouthernGridAndZoneZero) {
  const TCliResult south = RunCli({"utm", "--zone", "33", "--south", "--east", "500000", "--north",
                                   "10000000", "--datum", "WGS 1984"});
  ASSERT_EQ(south.ExitCode, 0) << south.Err;
  EXPECT_NE(south.Out.find("longitude_text: 15.00000\nlatitude_text: 0.00000\n"), std::string::npos)
      << south.Out;
  EXPECT_NE(south.Out.find("zone: 33\nhemisphere: S\n"), std::string::npos);
  const TCliResult zero = RunCli({"utm", "--zone", "0", "--east", "500000", "--north", "0"});
  EXPECT_NE(zero.Out.find("longitude_text: -183.00000\n"), std::string::npos) << zero.Out;
}

TEST(UtmCommand, NonFiniteInputGivesText) {
  const TCliResult r =
      RunCli({"utm", "--zone", "18", "--east", "nan", "--north", "-inf", "--json"});
  ASSERT_EQ(r.ExitCode, 0) << r.Err;
  const nlohmann::json json = ParseJson(r.Out);
  EXPECT_TRUE(json["longitude"].is_null()) << r.Out;
  EXPECT_EQ(json["longitude_text"], "NAN");
}

}  // namespace
}  // namespace quorvane::test_support
