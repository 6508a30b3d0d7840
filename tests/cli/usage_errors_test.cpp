// Every command's usage errors: exit status 2, the message and the command's
// usage line on stderr, nothing on stdout and no output file. "IN" stands for
// the bundled sample, "OUT" for a file in a fresh folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/cli_runner.h"
#include "support/test_pictures.h"

namespace quorvane::test_support {
namespace {

struct TUsageCase {
  const char* Name;
  std::vector<std::string> Args;
  const char* Message = "";  // a part of the message, when it matters
};

void PrintTo(const TUsageCase& c, std::ostream* out) {
  *out << c.Name;
}

class UsageErrors : public ::testing::TestWithParam<TUsageCase> {};

TEST_P(UsageErrors, ExitWithTwoAndTheUsageLine) {
  const TTempDir folder;
  const std::filesystem::path out = folder / "out.tif";
  std::vector<std::string> args;
  for (const std::string& arg : GetParam().Args) {
    args.push_back(arg == "IN" ? SamplePath("sample.tif") : arg == "OUT" ? out.string() : arg);
  }
  const TCliResult r = RunCli(args);
  EXPECT_EQ(r.ExitCode, 2) << r.Err;
  EXPECT_NE(r.Err.find("usage: quorvane-cli " + args[0] + " "), std::string::npos) << r.Err;
  EXPECT_NE(r.Err.find(GetParam().Message), std::string::npos) << r.Err;
  EXPECT_EQ(r.Out, "");
  EXPECT_FALSE(std::filesystem::exists(out));
}

const TUsageCase kUsageCases[] = {
    {"info_without_file", {"info"}},
    {"info_with_two_files", {"info", "IN", "IN"}},
    {"info_unknown_option", {"info", "IN", "--bogus"}, "--bogus"},
    {"convert_without_files", {"convert"}},
    {"convert_with_one_file", {"convert", "IN"}},
    {"convert_with_three_files", {"convert", "IN", "OUT", "c"}},
    {"convert_unknown_option", {"convert", "IN", "OUT", "--lzw"}, "--lzw"},
    {"resize_without_size", {"resize", "IN", "OUT"}, "give either --size WxH or --percent P"},
    {"resize_size_and_percent", {"resize", "IN", "OUT", "--size", "5x5", "--percent", "50"}},
    {"resize_size_zero", {"resize", "IN", "OUT", "--size", "0x10"}, "Zero Image Size"},
    {"resize_size_negative", {"resize", "IN", "OUT", "--size", "-5x10"}, "Negative Image Size"},
    {"resize_size_one_number", {"resize", "IN", "OUT", "--size", "10"}},
    {"resize_size_not_numbers", {"resize", "IN", "OUT", "--size", "axb"}},
    {"resize_size_too_large", {"resize", "IN", "OUT", "--size", "99999999999x1"}, "too large"},
    {"resize_size_without_value", {"resize", "IN", "OUT", "--size"}},
    {"resize_percent_zero", {"resize", "IN", "OUT", "--percent", "0"}, "Zero Image Size"},
    {"resize_percent_negative", {"resize", "IN", "OUT", "--percent", "-20"}, "Negative"},
    {"resize_filter_index_too_high", {"resize", "IN", "OUT", "--size", "5x5", "--filter", "9"}},
    {"resize_filter_unknown", {"resize", "IN", "OUT", "--size", "5x5", "--filter", "blurry"}},
    {"resize_threads_negative", {"resize", "IN", "OUT", "--size", "5x5", "--threads", "-1"}},
    {"tone_gamma_too_high", {"tone", "IN", "OUT", "--gamma", "101"}},
    {"tone_contrast_not_a_number", {"tone", "IN", "OUT", "--contrast", "x"}},
    {"tone_gamma_fraction", {"tone", "IN", "OUT", "--gamma", "50.5"}},
    {"crop_without_rect", {"crop", "IN", "OUT"}, "--rect"},
    {"crop_rect_three_numbers", {"crop", "IN", "OUT", "--rect", "1,2,3"}},
    {"crop_rect_fraction", {"crop", "IN", "OUT", "--rect", "0,0,1.5,2"}},
    {"utm_zone_61", {"utm", "--zone", "61", "--east", "1", "--north", "1"}},
    {"utm_zone_negative", {"utm", "--zone", "-1", "--east", "1", "--north", "1"}},
    {"utm_zone_not_a_number", {"utm", "--zone", "x", "--east", "1", "--north", "1"}},
    {"utm_east_with_letters", {"utm", "--zone", "18", "--east", "12abc", "--north", "1"}},
    {"utm_east_beyond_doubles", {"utm", "--zone", "18", "--east", "1e400", "--north", "1"}},
    {"utm_north_empty", {"utm", "--zone", "18", "--east", "1", "--north", ""}},
    {"utm_without_north", {"utm", "--zone", "18", "--east", "1"}},
    {"utm_unknown_datum",
     {"utm", "--zone", "18", "--east", "1", "--north", "1", "--datum", "Mars 2000"}},
    {"utm_datum_index_beyond_integers",
     {"utm", "--zone", "18", "--east", "1", "--north", "1", "--datum", "99999999999"}},
    {"utm_unknown_option", {"utm", "--zone", "18", "--east", "1", "--north", "1", "--bogus"}},
    {"utm_stray_argument", {"utm", "--zone", "18", "--east", "1", "--north", "1", "stray"}},
    {"utm_zone_without_value", {"utm", "--zone"}},
    {"measure_without_points", {"measure", "IN"}},
    {"measure_without_file", {"measure", "--points", "0,0"}},
    {"measure_odd_coordinates", {"measure", "IN", "--points", "0,0 1"}},
    {"measure_three_coordinates", {"measure", "IN", "--points", "0,0 1,2,3"}},
    {"measure_points_not_numbers", {"measure", "IN", "--points", "a,b"}},
    {"measure_point_beyond_integers", {"measure", "IN", "--points", "0,0 3000000000,0"}},
    {"measure_length_unit_6", {"measure", "IN", "--points", "0,0", "--length-units", "6"}},
    {"measure_area_unit_negative", {"measure", "IN", "--points", "0,0", "--area-units", "-1"}},
    {"measure_area_unit_unknown", {"measure", "IN", "--points", "0,0", "--area-units", "Furlongs"}},
    {"georef_zone_0", {"georef", "IN", "OUT", "--base", "1,2", "--scale", "1,1", "--zone", "0"}},
    {"georef_zone_61", {"georef", "IN", "OUT", "--base", "1,2", "--scale", "1,1", "--zone", "61"}},
    {"georef_base_one_number",
     {"georef", "IN", "OUT", "--base", "1", "--scale", "1,1", "--zone", "18"}},
    {"georef_scale_not_finite",
     {"georef", "IN", "OUT", "--base", "1,2", "--scale", "nan,1", "--zone", "18"}},
    {"georef_without_zone", {"georef", "IN", "OUT", "--base", "1,2", "--scale", "1,1"}},
    {"georef_without_output", {"georef", "IN", "--base", "1,2", "--scale", "1,1", "--zone", "18"}},
};

INSTANTIATE_TEST_SUITE_P(AllCommands, UsageErrors, ::testing::ValuesIn(kUsageCases),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace quorvane::test_support
