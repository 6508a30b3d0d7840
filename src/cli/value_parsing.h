#pragma once
// Checked conversions of option values: the argument parser hands over the
// texts, these read them in C notation whatever the user's locale and turn
// every mistake into EUsage (exit status 2) with a message naming the option.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "geo/datums.h"

namespace quorvane::cli {

// A decimal number in C notation. "nan", "inf" and "-inf" are accepted only
// with `allow_non_finite`; numbers beyond the double range never are.
// `what` names the argument in the message.
double ParseDouble(const std::string& text, const std::string& what, bool allow_non_finite = false);
// A decimal integer (no octal or hexadecimal) within [min, max].
int64_t ParseInteger(const std::string& text, const std::string& what, int64_t min, int64_t max);
// "X,Y" as two numbers.
struct TNumberPair {
  double First, Second;
};
TNumberPair ParseNumberPair(const std::string& text, const std::string& what);

// A datum of the Datum list by its index (an index outside the list converts
// on North American 1927, as in the window) or by its name, any case; the
// list's initial entry when not given.
TDatumChoice ParseDatum(const std::optional<std::string>& given);

// Splits at every `separator`; with `skip_empty`, runs of separators count
// as one and no empty pieces are returned.
std::vector<std::string> SplitText(const std::string& text, char separator, bool skip_empty);
// ASCII case-insensitive comparison, for names typed by the user.
bool SameText(const std::string& a, const std::string& b);

}  // namespace quorvane::cli
