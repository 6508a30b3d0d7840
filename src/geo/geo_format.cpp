#include "geo/geo_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace quorvane {

namespace {

constexpr int64_t kMillisecondsPerDegree = 3600000;
constexpr int64_t kMillisecondsPerMinute = 60000;
// The largest angle whose whole degrees still fit 32 bits.
constexpr double kLargestSplitDegrees = double(std::numeric_limits<int32_t>::max());

const char kDegreeSign[] = "\xC2\xB0";  // "°" in UTF-8
// Digits of a second's fraction that the millisecond text can give.
constexpr int kMaxFractionDigits = 18;

// The fraction digits of a second from its whole milliseconds, cut to
// `decimals` digits: 250 ms and 2 decimals give "25".
std::string FractionDigits(int32_t milliseconds, int decimals) {
  std::string digits = PadInt(milliseconds, 3);
  digits.resize(size_t(std::clamp(decimals, 0, kMaxFractionDigits)), '0');
  return digits;
}

}  // namespace

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
