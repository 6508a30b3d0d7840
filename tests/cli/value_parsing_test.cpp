#include "cli/args.h"

#include <gtest/gtest.h>

#include <cmath>

namespace quorvane::cli {
namespace {

TEST(CliArgs, OptionsValuesFlagsAndPositionals) {
  const TParsedArgs parsed =
      ParseArgs({"in.tif", "--zone", "-5", "--south", "out.tif", "--zone", "7"},
                {{"zone", true}, {"south", false}});
  EXPECT_EQ(parsed.Positional, (std::vector<std::string>{"in.tif", "out.tif"}));
  EXPECT_EQ(parsed.Required("zone"), "7") << "a later repetition wins";
  EXPECT_TRUE(parsed.Has("south"));
  EXPECT_FALSE(parsed.Value("missing").has_value());
  EXPECT_THROW(parsed.Required("east"), EUsage);
  EXPECT_NO_THROW(parsed.ExpectPositional(2));
  EXPECT_THROW(parsed.ExpectPositional(1), EUsage);
  EXPECT_THROW(parsed.ExpectPositional(3), EUsage);
}

TEST(CliArgs, UnknownOptionsAndMissingValuesAreUsageErrors) {
  EXPECT_THROW(ParseArgs({"--bogus"}, {{"zone", true}}), EUsage);
  EXPECT_THROW(ParseArgs({"--zone"}, {{"zone", true}}), EUsage);
  EXPECT_THROW(ParseArgs({"--"}, {{"zone", true}}), EUsage);
}

TEST(CliArgs, DoublesInCNotationOnly) {
  EXPECT_EQ(ParseDouble("4649776.5", "n"), 4649776.5);
  EXPECT_EQ(ParseDouble("+1e3", "n"), 1000);
  EXPECT_EQ(ParseDouble("-0.25", "n"), -0.25);
  for (const char* bad : {"", "+", "1,5", "12abc", " 1", "0x", "1e999", "-1e999", "1e-999"}) {
    EXPECT_THROW(ParseDouble(bad, "n"), EUsage) << bad;
  }
  EXPECT_THROW(ParseDouble("nan", "n"), EUsage);
  EXPECT_TRUE(std::isnan(ParseDouble("nan", "n", true)));
  EXPECT_EQ(ParseDouble("-inf", "n", true), -INFINITY);
}

TEST(CliArgs, IntegersWithinTheirRange) {
  EXPECT_EQ(ParseInteger("60", "z", 0, 60), 60);
  EXPECT_EQ(ParseInteger("+0", "z", 0, 60), 0);
  for (const char* bad : {"61", "-1", "1.0", "x", "", "99999999999999999999"}) {
    EXPECT_THROW(ParseInteger(bad, "z", 0, 60), EUsage) << bad;
  }
}

TEST(CliArgs, PairsAndSplitting) {
  const TNumberPair pair = ParseNumberPair("500000,4649776.5", "--base");
  EXPECT_EQ(pair.First, 500000);
  EXPECT_EQ(pair.Second, 4649776.5);
  EXPECT_THROW(ParseNumberPair("1", "--base"), EUsage);
  EXPECT_THROW(ParseNumberPair("1,2,3", "--base"), EUsage);
  EXPECT_EQ(SplitText("a  b ", ' ', true), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(SplitText("a,,b", ',', false), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_TRUE(SameText("WGS 1984", "wgs 1984"));
  EXPECT_FALSE(SameText("WGS 1984", "WGS 1972"));
}

}  // namespace
}  // namespace quorvane::cli
