#include "geo/geo_format.h"
#include "raster/units.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <random>

namespace quorvane {
namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();
const TNumberFormat kGerman{",", "."};

TEST(SplitDegrees, SignSitsOnTheMostSignificantNonZeroPart) {
  EXPECT_EQ(SplitDegrees(40.714349), (TDegreeParts{40, 42, 51, 656}));
  EXPECT_EQ(SplitDegrees(-0.02), (TDegreeParts{0, -1, 12, 0}));
  EXPECT_EQ(SplitDegrees(-0.0001), (TDegreeParts{0, 0, 0, -360}));
  EXPECT_EQ(SplitDegrees(-12.5), (TDegreeParts{-12, 30, 0, 0}));
  // Rounds to zero milliseconds and loses its sign.
  EXPECT_EQ(SplitDegrees(-1e-10), (TDegreeParts{0, 0, 0, 0}));
}

TEST(SplitDegrees, CarriesInWholeMillisecondsOfArc) {
  EXPECT_EQ(SplitDegrees(179.9999999), (TDegreeParts{180, 0, 0, 0}));
}

TEST(SplitDegrees, OutOfRangeAnglesSaturateAndNaNGivesZero) {
  EXPECT_EQ(SplitDegrees(kNaN), TDegreeParts{});
  EXPECT_EQ(SplitDegrees(kInf).Degrees, std::numeric_limits<int32_t>::max());
  EXPECT_EQ(SplitDegrees(-1e300).Degrees, -std::numeric_limits<int32_t>::max());
}

TEST(FormatDegrees, WithSymbolsCutsTheSecondsRatherThanRounding) {
  EXPECT_EQ(FormatDegrees(true, false, 0, 40.714349), "40\u00B042'51\"");
  EXPECT_EQ(FormatDegrees(true, false, 2, 40.714349), "40\u00B042'51.65\"");
  EXPECT_EQ(FormatDegrees(true, false, 5, 40.714349), "40\u00B042'51.65600\"");
  EXPECT_EQ(FormatDegrees(true, false, 0, -0.5), "-0\u00B030'00\"");
  EXPECT_EQ(FormatDegrees(true, false, 0, 179.9999999), "180\u00B000'00\"");
  EXPECT_EQ(FormatDegrees(true, false, 0, -0.0001), "-0\u00B000'00\"");
}

TEST(FormatDegrees, FractionDigitsComeFromTheWholeMilliseconds) {
  // 0.29 s has no exact binary value; its digits must still read 29.
  EXPECT_EQ(FormatDegrees(true, false, 2, 1.29 / 3600), "0\u00B000'01.29\"");
  EXPECT_EQ(FormatDegrees(false, false, 2, 1.29 / 3600), "0:00:01.29");
}

TEST(FormatDegrees, WithoutSymbolsUsesColonsMillisecondsAndTheDecimalSeparator) {
  EXPECT_EQ(FormatDegrees(false, false, 0, 40.714349), "40:42:51");
  EXPECT_EQ(FormatDegrees(false, true, 0, 40.714349), "40:42:51 656");
  EXPECT_EQ(FormatDegrees(false, false, 1, 40.714349, kGerman), "40:42:51,6");
  EXPECT_EQ(FormatDegrees(false, false, 0, -0.02), "-0:01:12");
  // Symbols always use a point inside the seconds.
  EXPECT_EQ(FormatDegrees(true, false, 1, 40.714349, kGerman), "40\u00B042'51.6\"");
}

TEST(FormatDegrees, NonFiniteAndHugeAnglesGiveText) {
  EXPECT_EQ(FormatDegrees(true, false, 0, kNaN), "NAN");
  EXPECT_EQ(FormatDegrees(true, false, 0, -kInf), "-INF");
  EXPECT_EQ(FormatDegrees(true, false, 0, 1e20), "1E20");
}

TEST(PadInt, PadsWithZerosButNeverCuts) {
  EXPECT_EQ(PadInt(7, 3), "007");
  EXPECT_EQ(PadInt(1234, 2), "1234");
  EXPECT_EQ(PadInt(0, 2), "00");
  EXPECT_EQ(PadInt(-5, 3), "-05");
}

TEST(ChooseText, PicksByTheFlag) {
  EXPECT_EQ(ChooseText(true, "N", "S"), "N");
  EXPECT_EQ(ChooseText(false, "N", "S"), "S");
}

TEST(FormatNumber, GroupsThousandsWithTheCallersSeparators) {
  EXPECT_EQ(FormatNumber(4649176, 1), "4,649,176.0");
  EXPECT_EQ(FormatNumber(500300, 1), "500,300.0");
  EXPECT_EQ(FormatNumber(999.96, 1), "1,000.0");
  EXPECT_EQ(FormatNumber(-1234.56, 1), "-1,234.6");
  EXPECT_EQ(FormatNumber(-123.4, 1), "-123.4");
  EXPECT_EQ(FormatNumber(12, 0), "12");
  EXPECT_EQ(FormatNumber(1234567.25, 2, kGerman), "1.234.567,25");
  EXPECT_EQ(FormatNumber(-0.04, 1), "0.0");
  EXPECT_EQ(FormatNumber(kNaN, 1), "NAN");
}

TEST(FormatFixed, WritesTheGivenDecimalsWithoutGrouping) {
  EXPECT_EQ(FormatFixed(1234.5, 1), "1234.5");
  EXPECT_EQ(FormatFixed(0.932062579924, 2), "0.93");
  EXPECT_EQ(FormatFixed(-75.0000004, 5), "-75.00000");
  EXPECT_EQ(FormatFixed(42.123456, 5, kGerman), "42,12346");
  EXPECT_EQ(FormatFixed(1e20, 0), "100000000000000000000");
  EXPECT_EQ(FormatFixed(kInf, 2), "INF");
  EXPECT_EQ(FormatFixed(-kInf, 2), "-INF");
}

TEST(FormatGeneral, GivesTheShortestTextOfFifteenSignificantDigits) {
  EXPECT_EQ(FormatGeneral(33.9036340277778), "33.9036340277778");
  EXPECT_EQ(FormatGeneral(-117.474542888889), "-117.474542888889");
  EXPECT_EQ(FormatGeneral(30), "30");
  EXPECT_EQ(FormatGeneral(4649776), "4649776");
  EXPECT_EQ(FormatGeneral(0), "0");
  EXPECT_EQ(FormatGeneral(0.1), "0.1");
  EXPECT_EQ(FormatGeneral(1.0 / 3), "0.333333333333333");
  EXPECT_EQ(FormatGeneral(2.0 / 3), "0.666666666666667");
  EXPECT_EQ(FormatGeneral(999999999999999), "999999999999999");
  EXPECT_EQ(FormatGeneral(1e15), "1E15");
  EXPECT_EQ(FormatGeneral(-1.25e20), "-1.25E20");
  EXPECT_EQ(FormatGeneral(0.0001), "0.0001");
  EXPECT_EQ(FormatGeneral(0.00001), "0.00001");
  EXPECT_EQ(FormatGeneral(1.5e-6), "1.5E-6");
  EXPECT_EQ(FormatGeneral(0.5, kGerman), "0,5");
  EXPECT_EQ(FormatGeneral(kNaN), "NAN");
  EXPECT_EQ(FormatGeneral(std::numeric_limits<double>::denorm_min()), "4.94065645841247E-324");
}

TEST(FormatGeneral, ReadsBackWithinFifteenSignificantDigitsAcrossTheRange) {
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> mantissa(-10, 10);
  std::uniform_int_distribution<int> exponent(-320, 300);
  for (int i = 0; i < 20000; ++i) {
    const double value = mantissa(random) * std::pow(10.0, exponent(random));
    const std::string text = FormatGeneral(value);
    ASSERT_EQ(text.find_first_not_of("-0123456789.E"), std::string::npos) << text;
    const double back = std::strtod(text.c_str(), nullptr);
    EXPECT_LE(std::fabs(back - value), std::fabs(value) * 5e-15 + 5e-324) << text;
    // Shortest: no trailing zero in a fraction, at most 15 significant digits.
    const std::string mantissa_text = text.substr(0, text.find('E'));
    if (mantissa_text.find('.') != std::string::npos) {
      EXPECT_NE(mantissa_text.back(), '0') << text;
    }
    std::string digits;
    for (char c : mantissa_text) {
      if (std::isdigit(static_cast<unsigned char>(c)) && !(digits.empty() && c == '0')) {
        digits += c;
      }
    }
    EXPECT_LE(digits.size(), 15u) << text;
  }
}

TEST(FootUnits, InternationalAndSurveyFoot) {
  EXPECT_EQ(kFootUnits.MetresPerFoot, 0.3048);
  EXPECT_DOUBLE_EQ(kFootUnits.FeetPerMetre, 3.280839895013123);
  EXPECT_EQ(kFootUnits.InchesPerMetre, kInchesPerMetre);
  EXPECT_EQ(kInchesPerMetre, 39.37007874015748);
  EXPECT_DOUBLE_EQ(kFootUnits.MetresPerInch, 0.0254);
  const TFootUnits survey = UsSurveyFootUnits();
  EXPECT_NEAR(survey.InchesPerMetre, 39.37, 1e-9);
  EXPECT_NEAR(survey.MetresPerInch, 0.0254000508, 1e-12);
}

}  // namespace
}  // namespace quorvane
