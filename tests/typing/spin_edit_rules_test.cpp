#include "typing/spin_edit_rules.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

using TVerdict = TSpinKeyVerdict;
constexpr TSpinNumberKind kReal = TSpinNumberKind::Real;
constexpr TSpinNumberKind kInteger = TSpinNumberKind::Integer;
const TNumberFormat kPoint{};  // "." and ","
const TNumberFormat kComma{.DecimalSeparator = ",", .ThousandSeparator = "."};
const TNumberFormat kFrench{.DecimalSeparator = ",", .ThousandSeparator = "\u202F"};

TEST(SpinKeys, RealFieldsTakeNumberCharactersAndControlKeys) {
  for (const char* typed :
       {"0", "9", "+", "-", "E", "e", ".", ",", "\b", "\x1b", "\x03", "\x16", "\x7f", "", "12e-3"})
    EXPECT_EQ(JudgeSpinKey({typed}, kReal, kPoint), TVerdict::Accept) << typed;
  for (const char* typed : {"a", "x", " ", "/", "f", "1a", "\u00E9", "D"})
    EXPECT_EQ(JudgeSpinKey({typed}, kReal, kPoint), TVerdict::Refuse) << typed;
  EXPECT_EQ(JudgeSpinKey({"\r"}, kReal, kPoint), TVerdict::LeaveToDialog);
  // Ctrl+A may come with the plain letter as its text: a command all the same.
  EXPECT_EQ(JudgeSpinKey({"a", true}, kReal, kPoint), TVerdict::Accept);
}

TEST(SpinKeys, SeparatorsFollowTheUsersSettings) {
  EXPECT_EQ(JudgeSpinKey({","}, kReal, kComma), TVerdict::Accept);
  EXPECT_EQ(JudgeSpinKey({"."}, kReal, kComma), TVerdict::Accept);
  EXPECT_EQ(JudgeSpinKey({"\u202F"}, kReal, kFrench), TVerdict::Accept);
  EXPECT_EQ(JudgeSpinKey({"."}, kReal, kFrench), TVerdict::Refuse);
  // A lone byte of a longer separator is no separator.
  EXPECT_EQ(JudgeSpinKey({"\xE2"}, kReal, kFrench), TVerdict::Refuse);
}

TEST(SpinKeys, IntegerFieldsTakeNoDecimalsOrExponents) {
  for (const char* typed : {"7", "+", "-", ",", "\b"})
    EXPECT_EQ(JudgeSpinKey({typed}, kInteger, kPoint), TVerdict::Accept) << typed;
  for (const char* typed : {".", "e", "E", "a"})
    EXPECT_EQ(JudgeSpinKey({typed}, kInteger, kPoint), TVerdict::Refuse) << typed;
}

TEST(SpinParse, RealsWithSeparatorsSignsAndExponents) {
  EXPECT_EQ(ParseSpinReal("1,234.5", kPoint), 1234.5);
  EXPECT_EQ(ParseSpinReal("1.234,5", kComma), 1234.5);
  EXPECT_EQ(ParseSpinReal("1\u202F234,5", kFrench), 1234.5);
  EXPECT_EQ(ParseSpinReal("  -0.5 ", kPoint), -0.5);
  EXPECT_EQ(ParseSpinReal("+.5", kPoint), 0.5);
  EXPECT_EQ(ParseSpinReal("5.", kPoint), 5.0);
  EXPECT_EQ(ParseSpinReal("1.5E-3", kPoint), 0.0015);
  EXPECT_EQ(ParseSpinReal("2e+2", kPoint), 200.0);
  EXPECT_EQ(ParseSpinReal("98.4251968503937", kPoint), 98.4251968503937);
}

TEST(SpinParse, TextThatIsNoNumberGivesNothing) {
  for (const char* text : {"", " ", "-", "+", ".", "e5", "1e", "1e+", "1..2", "1.2.3", "--1", "+-1",
                           "1-", "inf", "nan", "0x10", "1e999", "1 2", "abc"})
    EXPECT_EQ(ParseSpinReal(text, kPoint), std::nullopt) << text;
  // A point is no decimal separator where the comma is one.
  EXPECT_EQ(ParseSpinReal("1.5", kFrench), std::nullopt);
}

TEST(SpinParse, IntegersWithinTheRangeOfInt) {
  EXPECT_EQ(ParseSpinInteger("31", kPoint), 31);
  EXPECT_EQ(ParseSpinInteger(" +1,000 ", kPoint), 1000);
  EXPECT_EQ(ParseSpinInteger("-2147483648", kPoint), -2147483648LL);
  for (const char* text : {"", "-", "2147483648", "1.0", "1e3", "+-1", "12a"})
    EXPECT_EQ(ParseSpinInteger(text, kPoint), std::nullopt) << text;
}

TEST(SpinText, RealsInGeneralFormat) {
  EXPECT_EQ(SpinRealText(0.1 + 0.2, kPoint), "0.3");
  EXPECT_EQ(SpinRealText(1500, kPoint), "1500");
  EXPECT_EQ(SpinRealText(1.5, kComma), "1,5");
  EXPECT_EQ(SpinRealText(30 * kFootUnits.FeetPerMetre, kPoint), "98.4251968503937");
  EXPECT_EQ(SpinIntegerText(-12), "-12");
}

TEST(SpinSteps, LimitsHoldOrWrap) {
  const TIntegerLimits zone{.Min = 1, .Max = 60};
  EXPECT_EQ(StepSpinValue(60, 1, 1, zone), 60);
  EXPECT_EQ(StepSpinValue(55, 1, 10, zone), 60);
  EXPECT_EQ(StepSpinValue(1, 1, -1, zone), 1);
  EXPECT_EQ(ClampSpinValue(int64_t(0), zone), 1);
  EXPECT_EQ(ClampSpinValue(int64_t(75), zone), 60);
  const TIntegerLimits wrapping{.Min = 1, .Max = 60, .Wrap = true};
  EXPECT_EQ(StepSpinValue(60, 1, 1, wrapping), 1);
  EXPECT_EQ(StepSpinValue(1, 1, -1, wrapping), 60);
  // Without limits the value saturates instead of overflowing.
  EXPECT_EQ(StepSpinValue(2147483640, 1, 10, std::nullopt), 2147483647);
  EXPECT_DOUBLE_EQ(StepSpinValue(0.5, 1, 1, TRealLimits{0, 1}), 1.0);
  EXPECT_DOUBLE_EQ(StepSpinValue(1.5, 0.25, SpinSteps(true, true), std::nullopt), 4.0);
}

}  // namespace
}  // namespace quorvane
