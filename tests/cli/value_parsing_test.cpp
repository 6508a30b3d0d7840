#include "cli/value_parsing.h"

#include "cli/command_line.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

namespace quorvane::cli {
namespace {

TEST(CommandLine, OptionsValuesFlagsAndPositionals) {
  std::string in, out, zone;
  std::optional<std::string> east, missing;
  bool south = false;
  TCommandLine line("test");
  line.Positional("IN", in).Positional("OUT", out).Required("--zone", zone);
  line.Option("--east", east).Option("--missing", missing).Flag("--south", south);
  line.Parse({"in.tif", "--zone", "-5", "--south", "out.tif", "--zone", "7", "--east", "-inf"});
  EXPECT_EQ(in, "in.tif");
  EXPECT_EQ(out, "out.tif");
  EXPECT_EQ(zone, "7") << "a later repetition wins";
  EXPECT_EQ(east, "-inf") << "a value may start with a minus";
  EXPECT_FALSE(missing.has_value());
  EXPECT_TRUE(south);
}

TEST(CommandLine, MistakesAreUsageErrors) {
  const std::vector<std::vector<std::string>> mistakes = {
      {"a", "b", "--zone", "1", "--bogus"},  // unknown option
      {"a", "b", "--zone"},                  // missing value
      {"a", "b"},                            // required option missing
      {"a", "--zone", "1"},                  // positional missing
      {"a", "b", "c", "--zone", "1"},        // one positional too many
      {"a", "b", "--zone", "1", "-x"},       // unknown short option
  };
  for (const auto& args : mistakes) {
    std::string in, out, zone;
    TCommandLine line("test");
    line.Positional("IN", in).Positional("OUT", out).Required("--zone", zone);
    EXPECT_THROW(line.Parse(args), EUsage) << args.back();
  }
  std::string in;
  TCommandLine line("test");
  line.Positional("IN", in);
  EXPECT_THROW(line.Parse({"--help"}), EHelp);
  TCommandLine ended("test");
  ended.Positional("IN", in);
  ended.Parse({"--", "--not-an-option"});
  EXPECT_EQ(in, "--not-an-option") << "\"--\" ends the options";
}

TEST(ValueParsing, DoublesInCNotationOnly) {
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

TEST(ValueParsing, IntegersWithinTheirRange) {
  EXPECT_EQ(ParseInteger("60", "z", 0, 60), 60);
  EXPECT_EQ(ParseInteger("+0", "z", 0, 60), 0);
  EXPECT_EQ(ParseInteger("010", "z", 0, 60), 10) << "decimal, never octal";
  for (const char* bad : {"61", "-1", "1.0", "x", "", "99999999999999999999"}) {
    EXPECT_THROW(ParseInteger(bad, "z", 0, 60), EUsage) << bad;
  }
}

TEST(ValueParsing, PairsAndSplitting) {
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
