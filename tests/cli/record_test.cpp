#include "cli/json_writer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>

namespace quorvane::cli {
namespace {

TEST(JsonWriter, DoublesReadBackToTheSameValue) {
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

TEST(JsonWriter, NestsAndEscapes) {
  TJsonWriter json;
  json.BeginObject().Key("a").BeginArray().Integer(1).Number(NAN).Bool(false).EndArray();
  json.Key("s")
      .String(std::string("x\"\\\n\0\xE9", 6))
      .Key("o")
      .BeginObject()
      .EndObject()
      .EndObject();
  EXPECT_EQ(json.Text(),
            "{\"a\": [1, null, false], \"s\": \"x\\\"\\\\\\n\\u0000\\u00e9\", \"o\": {}}");
}

}  // namespace
}  // namespace quorvane::cli
