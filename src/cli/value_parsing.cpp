#include "cli/value_parsing.h"

#include <cctype>
#include <charconv>
#include <climits>
#include <cmath>

#include "geo/datums.h"

namespace quorvane::cli {

double ParseDouble(const std::string& text, const std::string& what, bool allow_non_finite) {
  // from_chars reads C notation whatever the locale, but takes no "+".
  const size_t start = !text.empty() && text[0] == '+' ? 1 : 0;
  const char* first = text.data() + start;
  const char* last = text.data() + text.size();
  double value = 0;
  const auto [end, error] = std::from_chars(first, last, value);
  if (first == last || error == std::errc::invalid_argument || end != last) {
    throw EUsage(what + ": not a number: \"" + text + "\"");
  }
  if (error == std::errc::result_out_of_range) throw EUsage(what + ": out of range: " + text);
  if (!std::isfinite(value) && !allow_non_finite) {
    throw EUsage(what + ": must be a finite number: " + text);
  }
  return value;
}

int64_t ParseInteger(const std::string& text, const std::string& what, int64_t min, int64_t max) {
  const size_t start = !text.empty() && text[0] == '+' ? 1 : 0;
  const char* first = text.data() + start;
  const char* last = text.data() + text.size();
  int64_t value = 0;
  const auto [end, error] = std::from_chars(first, last, value);
  if (first == last || error == std::errc::invalid_argument || end != last) {
    throw EUsage(what + ": not a whole number: \"" + text + "\"");
  }
  if (error == std::errc::result_out_of_range || value < min || value > max) {
    throw EUsage(what + ": out of range " + std::to_string(min) + " to " + std::to_string(max) +
                 ": " + text);
  }
  return value;
}

TNumberPair ParseNumberPair(const std::string& text, const std::string& what) {
  const std::vector<std::string> parts = SplitText(text, ',', false);
  if (parts.size() != 2) throw EUsage(what + ": expected two numbers as X,Y: \"" + text + "\"");
  return {ParseDouble(parts[0], what), ParseDouble(parts[1], what)};
}

TDatumChoice ParseDatum(const std::optional<std::string>& given) {
  if (!given) return kDefaultDatum;
  const std::string& text = *given;
  const TDatumList list = DatumListEntries();
  for (size_t i = 0; i < list.Names.size(); ++i) {
    if (SameText(text, list.Names[i])) return DatumAtPosition(int(i));
  }
  if (!text.empty() && (std::isdigit(static_cast<unsigned char>(text.back())))) {
    return DatumAtPosition(int(ParseInteger(text, "--datum", INT32_MIN, INT32_MAX)));
  }
  throw EUsage("--datum: unknown datum \"" + text + "\"");
}

std::vector<std::string> SplitText(const std::string& text, char separator, bool skip_empty) {
  std::vector<std::string> parts;
  size_t begin = 0;
  while (true) {
    const size_t end = text.find(separator, begin);
    const std::string part = text.substr(begin, end == std::string::npos ? end : end - begin);
    if (!(skip_empty && part.empty())) parts.push_back(part);
    if (end == std::string::npos) break;
    begin = end + 1;
  }
  return parts;
}

bool SameText(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

}  // namespace quorvane::cli
