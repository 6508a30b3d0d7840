#include "raster/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace quorvane {

namespace {

constexpr int kMaxDecimals = 30;
// Large enough for the fixed text of the largest double (309 digits) with
// kMaxDecimals decimals and a sign.
constexpr size_t kFixedBufferSize = 400;

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

}  // namespace

std::string NonFiniteText(double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  return {};
}

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

std::string FormatFixedPrecision(double value, int precision, int decimals,
                                 const TNumberFormat& format) {
  if (std::string special = NonFiniteText(value); !special.empty()) return special;
  precision = std::clamp(precision, 1, 18);
  decimals = std::clamp(decimals, 0, kMaxDecimals);
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*e", precision - 1, std::fabs(value));
  // buffer: d.ddd...e+XX with `precision` significant digits.
  std::string digits = std::string(1, buffer[0]);
  if (precision > 1) digits += std::string(buffer + 2, size_t(precision - 1));
  const int integer_digits = std::atoi(std::strchr(buffer, 'e') + 1) + 1;
  // Digits to keep: the integer part and the decimals.
  const int keep = integer_digits + decimals;
  std::string kept;
  if (keep < 0 || (keep == 0 && digits[0] < '5')) {
    kept = "0";
  } else if (keep == 0) {
    kept = "1";
  } else {
    digits.resize(std::max(digits.size(), size_t(keep) + 1), '0');
    kept = digits.substr(0, size_t(keep));
    if (digits[size_t(keep)] >= '5') {
      size_t i = kept.size();
      while (i > 0 && kept[i - 1] == '9') kept[--i] = '0';
      if (i == 0) {
        kept.insert(kept.begin(), '1');
      } else {
        ++kept[i - 1];
      }
    }
  }
  const size_t width = size_t(decimals) + 1;
  if (kept.size() < width) kept.insert(kept.begin(), width - kept.size(), '0');
  std::string result = kept.substr(0, kept.size() - size_t(decimals));
  result.erase(0, std::min(result.find_first_not_of('0'), result.size() - 1));
  if (decimals > 0) result += format.DecimalSeparator + kept.substr(kept.size() - size_t(decimals));
  const bool zero = kept.find_first_not_of('0') == std::string::npos;
  return (value < 0 && !zero ? "-" : "") + result;
}

}  // namespace quorvane
