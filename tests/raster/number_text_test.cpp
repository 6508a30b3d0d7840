#include "raster/number_text.h"

#include <gtest/gtest.h>

#include <limits>

namespace quorvane {
namespace {

struct TPrecisionCase {
  const char* Name;
  double Value;
  int Decimals;
  const char* Text;
};

class FixedPrecision : public ::testing::TestWithParam<TPrecisionCase> {};

TEST_P(FixedPrecision, RoundsTwiceAsTheToneReadoutDoes) {
  const TPrecisionCase& c = GetParam();
  EXPECT_EQ(FormatFixedPrecision(c.Value, 18, c.Decimals), c.Text);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FixedPrecision,
    ::testing::Values(TPrecisionCase{"TwoDecimalsKept", 1.25, 2, "1.25"},
                      TPrecisionCase{"ExactTieGoesAwayFromZero", 0.125, 2, "0.13"},
                      TPrecisionCase{"NoDecimals", 2.5, 0, "3"},
                      TPrecisionCase{"NegativeTie", -2.5, 0, "-3"},
                      TPrecisionCase{"NegativeRoundingToZeroLosesItsSign", -0.04, 1, "0.0"},
                      TPrecisionCase{"NearTieFollowsTheEighteenDigits", 0.15, 1, "0.1"},
                      TPrecisionCase{"CarryIntoANewDigit", 99.96, 1, "100.0"},
                      TPrecisionCase{"LargeValue", 1e20, 1, "100000000000000000000.0"},
                      TPrecisionCase{"BelowHalfTheLastDigit", 0.0004, 3, "0.000"},
                      TPrecisionCase{"HalfTheLastDigit", 0.0005, 3, "0.001"}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST(NumberText, SeparatorsAndValuesWithoutDigits) {
  const TNumberFormat comma{.DecimalSeparator = ",", .ThousandSeparator = "."};
  EXPECT_EQ(FormatFixedPrecision(0.5, 18, 1, comma), "0,5");
  EXPECT_EQ(FormatNumber(1234567.25, 2, comma), "1.234.567,25");
  EXPECT_EQ(FormatGeneral(0.37, comma), "0,37");
  EXPECT_EQ(FormatFixedPrecision(std::numeric_limits<double>::quiet_NaN(), 18, 1), "NAN");
  EXPECT_EQ(FormatFixedPrecision(-std::numeric_limits<double>::infinity(), 18, 1), "-INF");
  EXPECT_EQ(NonFiniteText(1.0), "");
}

}  // namespace
}  // namespace quorvane
