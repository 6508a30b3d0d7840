#include "cli/record.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>

namespace quorvane::cli {
namespace {

TEST(Record, DoublesReadBackToTheSameValue) {
  EXPECT_EQ(ShortestDouble(500000), "500000");
  EXPECT_EQ(ShortestDouble(0.1), "0.1");
  EXPECT_EQ(ShortestDouble(-0.0), "-0");
  EXPECT_EQ(ShortestDouble(4649776.5), "4649776.5");
  EXPECT_EQ(ShortestDouble(1e300), "1e+300");
  for (double v : {33.9036340277778, -117.474542888889, 1e-7, 123456789012345678.0,
                   std::numeric_limits<double>::denorm_min(), std::numeric_limits<double>::max(),
                   0.30000000000000004}) {
    EXPECT_EQ(std::strtod(ShortestDouble(v).c_str(), nullptr), v) << ShortestDouble(v);
  }
}

// One record with every shape a command prints.
TRecord Sample() {
  return {{"file", "a b.tif"},
          {"width", 200},
          {"scale", 30.0},
          {"north", true},
          {"georef", {{"base_x", 500000.0}, {"zone", 18}}},
          {"projected_cs", nullptr},
          {"pixel_scale", {30.0, 0.25, 0.0}},
          {"doubles", TRecord::array()},
          {"tie_points", {{0.0, 0.0, 0.0, 500000.0, 4649776.5, 0.0}}},
          {"report", {"Version: 1", ""}},
          {"ascii", std::string("x\"\\\n\0\xE9|\xC2\xB0", 9)},
          {"nan", NAN}};
}

TEST(Record, TextHasOneNameValueLinePerValue) {
  EXPECT_EQ(RenderText(Sample()),
            "file: a b.tif\n"
            "width: 200\n"
            "scale: 30\n"
            "north: true\n"
            "georef.base_x: 500000\n"
            "georef.zone: 18\n"
            "projected_cs: none\n"
            "pixel_scale: 30 0.25 0\n"
            "tie_points: 0 0 0 500000 4649776.5 0\n"
            "report: Version: 1\n"
            "report: \n"
            "ascii: x\"\\\\u000a\\u0000\\u00e9|\xC2\xB0\n"
            "nan: nan\n");
}

TEST(Record, JsonCarriesTheSameValues) {
  const std::string text = RenderJson(Sample());
  EXPECT_EQ(text.find('\n'), std::string::npos) << "one line";
  const nlohmann::ordered_json back = nlohmann::ordered_json::parse(text);
  EXPECT_EQ(back.begin().key(), "file") << "in the order added";
  EXPECT_EQ(back["width"], 200);
  EXPECT_EQ(back["georef"]["base_x"], 500000.0);
  EXPECT_TRUE(back["projected_cs"].is_null());
  EXPECT_TRUE(back["nan"].is_null()) << "NaN has no JSON form";
  EXPECT_EQ(back["tie_points"][0][4], 4649776.5);
  // The stray byte 0xE9 stands for U+00E9; the degree sign stays itself.
  EXPECT_EQ(back["ascii"], std::string("x\"\\\n\0\xC3\xA9|\xC2\xB0", 10));
  EXPECT_NE(text.find("\"base_x\":500000.0"), std::string::npos) << "plain digits: " << text;
}

}  // namespace
}  // namespace quorvane::cli
