#include "geo/geo_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace quorvane {

namespace {

constexpr int kMaxDecimals = 30;
// Large enough for the fixed text of the largest double (309 digits) with
// kMaxDecimals decimals and a sign.
constexpr size_t kFixedBufferSize = 400;

constexpr int64_t kMillisecondsPerDegree = 3600000;
constexpr int64_t kMillisecondsPerMinute = 60000;
// The largest angle whose whole degrees still fit 32 bits.
constexpr double kLargestSplitDegrees = double(std::numeric_limits<int32_t>::max());

const char kDegreeSign[] = "\xC2\xB0";  // "°" in UTF-8
// Digits of a second's fraction that the millisecond text can give.
constexpr int kMaxFractionDigits = 18;

// "NAN", "INF" or "-INF" for a value that has no digits, else empty.
std::string NonFiniteText(double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  return {};
}

// Replaces the "." of a C-locale number text by the caller's separator.
std::string WithSeparator(std::string text, const TNumberFormat& format) {
  const size_t dot = text.find('.');
  if (dot != std::string::npos) text.replace(dot, 1, format.DecimalSeparator);
  return text;
}

// Fixed text with "." as separator; a result that shows only zeros loses
// its minus sign ("-0.0" is never shown).
std::string PlainFixed(double value, int decimals) {
  decimals = std::clamp(decimals, 0, kMaxDecimals);
  char buffer[kFixedBufferSize];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  std::string text(buffer, result.ptr);
  if (!text.empty() && text[0] == '-' && text.find_first_not_of("0.", 1) == std::string::npos) {
    text.erase(0, 1);
  }
  return text;
}

// The fraction digits of a second from its whole milliseconds, cut to
// `decimals` digits: 250 ms and 2 decimals give "25".
std::string FractionDigits(int32_t milliseconds, int decimals) {
  std::string digits = PadInt(milliseconds, 3);
  digits.resize(size_t(std::clamp(decimals, 0, kMaxFractionDigits)), '0');
  return digits;
}

}  // namespace

std::string FormatFixed(double value, int decimals, const TNumberFormat& format) {
  if (std::string special = NonFiniteText(value); !special.empty()) return special;
  return WithSeparator(PlainFixed(value, decimals), format);
}

std::string FormatNumber(double value, int decimals, const TNumberFormat& format) {
  if (std::string special = NonFiniteText(value); !special.empty()) return special;
  const std::string plain = PlainFixed(value, decimals);
  const size_t sign = plain[0] == '-' ? 1 : 0;
  const size_t dot = std::min(plain.find('.'), plain.size());
  std::string text = plain.substr(0, sign);
  for (size_t i = sign; i < dot; ++i) {
    if (i > sign && (dot - i) % 3 == 0) text += format.ThousandSeparator;
    text += plain[i];
  }
  if (dot < plain.size()) text += format.DecimalSeparator + plain.substr(dot + 1);
  return text;
}

std::string FormatGeneral(double value, const TNumberFormat& format) {
  if (std::string special = NonFiniteText(value); !special.empty()) return special;
  if (value == 0) return "0";
  // Fifteen significant digits, d.dddddddddddddde+XX, then trailing zeros cut.
  char buffer[64];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
  const std::string scientific(buffer, result.ptr);
  const size_t e = scientific.find('e');
  const int exponent = std::atoi(scientific.c_str() + e + 1);
  const bool negative = scientific[0] == '-';
  std::string digits;
  for (size_t i = negative ? 1 : 0; i < e; ++i) {
    if (scientific[i] != '.') digits += scientific[i];
  }
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  std::string text = negative ? "-" : "";
  if (exponent >= 15 || exponent < -5) {
    text += digits.substr(0, 1);
    if (digits.size() > 1) text += format.DecimalSeparator + digits.substr(1);
    return text + "E" + std::to_string(exponent);
  }
  if (exponent < 0) {
    return text + "0" + format.DecimalSeparator + std::string(size_t(-exponent - 1), '0') + digits;
  }
  const size_t integer_digits = size_t(exponent) + 1;
  if (digits.size() <= integer_digits) {
    return text + digits + std::string(integer_digits - digits.size(), '0');
  }
  return text + digits.substr(0, integer_digits) + format.DecimalSeparator +
         digits.substr(integer_digits);
}

TDegreeParts SplitDegrees(double degrees) {
  TDegreeParts parts;
  if (std::isnan(degrees)) return parts;
  const bool negative = degrees < 0;
  const double magnitude = std::fabs(degrees);
  int64_t total;
  if (magnitude >= kLargestSplitDegrees) {
    total = int64_t{std::numeric_limits<int32_t>::max()} * kMillisecondsPerDegree +
            kMillisecondsPerDegree - 1;
  } else {
    total = int64_t(std::nearbyint(magnitude * double(kMillisecondsPerDegree)));
  }
  parts.Degrees = int32_t(
      std::min<int64_t>(total / kMillisecondsPerDegree, std::numeric_limits<int32_t>::max()));
  int64_t rest = total % kMillisecondsPerDegree;
  parts.Minutes = int32_t(rest / kMillisecondsPerMinute);
  rest %= kMillisecondsPerMinute;
  parts.Seconds = int32_t(rest / 1000);
  parts.Milliseconds = int32_t(rest % 1000);
  if (negative) {
    if (parts.Degrees != 0) {
      parts.Degrees = -parts.Degrees;
    } else if (parts.Minutes != 0) {
      parts.Minutes = -parts.Minutes;
    } else if (parts.Seconds != 0) {
      parts.Seconds = -parts.Seconds;
    } else {
      parts.Milliseconds = -parts.Milliseconds;
    }
  }
  return parts;
}

std::string FormatDegrees(bool symbols, bool millis, int decimals, double degrees,
                          const TNumberFormat& format) {
  if (!(std::fabs(degrees) < kLargestSplitDegrees)) return FormatGeneral(degrees, format);
  TDegreeParts parts = SplitDegrees(degrees);
  const bool negative =
      parts.Degrees < 0 || parts.Minutes < 0 || parts.Seconds < 0 || parts.Milliseconds < 0;
  parts.Degrees = std::abs(parts.Degrees);
  parts.Minutes = std::abs(parts.Minutes);
  parts.Seconds = std::abs(parts.Seconds);
  parts.Milliseconds = std::abs(parts.Milliseconds);

  const std::string degree_mark = symbols ? kDegreeSign : ":";
  const std::string minute_mark = symbols ? "'" : ":";
  std::string text = negative ? "-" : "";
  text += std::to_string(parts.Degrees);
  text += degree_mark;
  text += PadInt(parts.Minutes, 2);
  text += minute_mark;
  text += PadInt(parts.Seconds, 2);
  if (symbols) {
    if (decimals > 0) {
      text += '.';
      text += FractionDigits(parts.Milliseconds, decimals);
    }
    text += '"';
  } else if (millis) {
    text += ' ';
    text += PadInt(parts.Milliseconds, 3);
  } else if (decimals > 0) {
    text += format.DecimalSeparator;
    text += FractionDigits(parts.Milliseconds, decimals);
  }
  return text;
}

std::string PadInt(int64_t value, int width) {
  std::string digits = std::to_string(value);
  const size_t sign = value < 0 ? 1 : 0;
  if (width > 0 && digits.size() < size_t(width)) {
    digits.insert(sign, size_t(width) - digits.size(), '0');
  }
  return digits;
}

std::string ChooseText(bool flag, const std::string& when_true, const std::string& when_false) {
  return flag ? when_true : when_false;
}

}  // namespace quorvane
