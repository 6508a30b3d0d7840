#include "typing/spin_edit_rules.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace quorvane {

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool IsControl(char c) {
  return (unsigned char)c < 0x20 || c == 0x7f;
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// `text` without its thousands separators, and with the decimal separator
// turned into the point the number reader expects. A locale whose two
// separators are the same keeps that one as the decimal separator.
std::string Normalised(std::string_view text, const TNumberFormat& format) {
  const std::string& thousands = format.ThousandSeparator;
  const std::string& decimal = format.DecimalSeparator;
  const bool drop_thousands = !thousands.empty() && thousands != decimal;
  std::string out;
  while (!text.empty()) {
    if (drop_thousands && text.starts_with(thousands)) {
      text.remove_prefix(thousands.size());
    } else if (!decimal.empty() && text.starts_with(decimal)) {
      out += '.';
      text.remove_prefix(decimal.size());
    } else {
      // A point that is not the user's decimal separator reads as nothing.
      out += text.front() == '.' ? '\x01' : text.front();
      text.remove_prefix(1);
    }
  }
  return out;
}

// sign? digits* ("." digits*)? with at least one digit, then an optional
// exponent sign? digits+. Returns the text without a leading "+".
std::optional<std::string_view> RealSyntax(std::string_view text) {
  const bool plus = text.starts_with('+');
  if (plus) text.remove_prefix(1);
  const std::string_view number = text;
  if (!plus && text.starts_with('-')) text.remove_prefix(1);
  size_t digits = 0;
  while (!text.empty() && IsDigit(text.front())) text.remove_prefix(1), ++digits;
  if (text.starts_with('.')) {
    text.remove_prefix(1);
    while (!text.empty() && IsDigit(text.front())) text.remove_prefix(1), ++digits;
  }
  if (digits == 0) return std::nullopt;
  if (text.starts_with('E') || text.starts_with('e')) {
    text.remove_prefix(1);
    if (text.starts_with('+') || text.starts_with('-')) text.remove_prefix(1);
    if (text.empty() || !IsDigit(text.front())) return std::nullopt;
    while (!text.empty() && IsDigit(text.front())) text.remove_prefix(1);
  }
  if (!text.empty()) return std::nullopt;
  return number;
}

bool AllowedCharacter(std::string_view& typed, TSpinNumberKind kind, const TNumberFormat& format) {
  const bool real = kind == TSpinNumberKind::Real;
  for (const std::string* separator : {&format.ThousandSeparator, &format.DecimalSeparator}) {
    if (separator == &format.DecimalSeparator && !real) continue;
    if (!separator->empty() && typed.starts_with(*separator)) {
      typed.remove_prefix(separator->size());
      return true;
    }
  }
  const char c = typed.front();
  typed.remove_prefix(1);
  return IsDigit(c) || c == '+' || c == '-' || (real && (c == 'E' || c == 'e'));
}

}  // namespace

TSpinKeyVerdict JudgeSpinKey(const TSpinKeyPress& key, TSpinNumberKind kind,
                             const TNumberFormat& format) {
  std::string_view typed = key.Typed;
  if (typed.empty() || key.Chord) return TSpinKeyVerdict::Accept;
  if (typed == "\r" || typed == "\n") return TSpinKeyVerdict::LeaveToDialog;
  if (typed.size() == 1 && IsControl(typed.front())) return TSpinKeyVerdict::Accept;
  while (!typed.empty())
    if (!AllowedCharacter(typed, kind, format)) return TSpinKeyVerdict::Refuse;
  return TSpinKeyVerdict::Accept;
}

std::optional<double> ParseSpinReal(std::string_view text, const TNumberFormat& format) {
  const std::string normalised = Normalised(TrimBlanks(text), format);
  const auto number = RealSyntax(normalised);
  if (!number) return std::nullopt;
  double value = 0;
  const auto [end, error] = std::from_chars(number->data(), number->data() + number->size(), value);
  if (error != std::errc() || end != number->data() + number->size() || !std::isfinite(value))
    return std::nullopt;
  return value;
}

std::optional<int> ParseSpinInteger(std::string_view text, const TNumberFormat& format) {
  std::string normalised = Normalised(TrimBlanks(text), format);
  std::string_view number = normalised;
  if (number.starts_with('+')) {
    number.remove_prefix(1);
    if (number.starts_with('-')) return std::nullopt;
  }
  if (number.empty() || number.find('.') != std::string_view::npos) return std::nullopt;
  int value = 0;
  // from_chars refuses values beyond int's range.
  const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (error != std::errc() || end != number.data() + number.size()) return std::nullopt;
  return value;
}

std::string SpinRealText(double value, const TNumberFormat& format) {
  return FormatGeneral(value, format);
}

std::string SpinIntegerText(int value) {
  return std::to_string(value);
}

double ClampSpinValue(double value, const std::optional<TRealLimits>& limits) {
  if (!limits || std::isnan(value)) return value;
  return std::clamp(value, limits->Min, std::max(limits->Min, limits->Max));
}

int ClampSpinValue(int64_t value, const std::optional<TIntegerLimits>& limits) {
  constexpr int64_t kLowest = std::numeric_limits<int>::min();
  constexpr int64_t kHighest = std::numeric_limits<int>::max();
  const int64_t low = limits ? limits->Min : kLowest;
  const int64_t high = limits ? std::max(limits->Min, limits->Max) : kHighest;
  return int(std::clamp(value, low, high));
}

double StepSpinValue(double value, double increment, int steps,
                     const std::optional<TRealLimits>& limits) {
  return ClampSpinValue(value + steps * increment, limits);
}

int StepSpinValue(int value, int increment, int steps,
                  const std::optional<TIntegerLimits>& limits) {
  const int64_t stepped = int64_t(value) + int64_t(steps) * increment;
  if (limits && limits->Wrap) {
    const int high = std::max(limits->Min, limits->Max);
    if (stepped > high) return limits->Min;
    if (stepped < limits->Min) return high;
  }
  return ClampSpinValue(stepped, limits);
}

}  // namespace quorvane
