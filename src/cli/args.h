#pragma once
// Command-line parsing shared by the commands: options of the form --name
// [value], positional arguments, and checked number conversions. Every
// mistake throws EUsage, which the driver turns into the usage text and
// exit status 2.
#include <cstdint>
#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "cli/commands.h"

namespace quorvane::cli {

struct TOptionSpec {
  const char* Name;  // without the leading "--"
  bool TakesValue;
};

class TParsedArgs {
 public:
  std::vector<std::string> Positional;

  bool Has(const std::string& name) const { return options_.count(name) != 0; }
  // The option's value, when given.
  std::optional<std::string> Value(const std::string& name) const;
  // The option's value; throws EUsage when it is missing.
  const std::string& Required(const std::string& name) const;
  // Throws EUsage unless exactly `count` positional arguments were given.
  void ExpectPositional(size_t count) const;

 private:
  friend TParsedArgs ParseArgs(const TArgs&, std::initializer_list<TOptionSpec>);
  std::map<std::string, std::string> options_;
};

// Anything starting with "--" is an option and must be listed; a later
// repetition wins. Other arguments (including "-5") are positional.
TParsedArgs ParseArgs(const TArgs& args, std::initializer_list<TOptionSpec> options);

// A decimal number in C notation, whatever the user's locale. "nan", "inf"
// and "-inf" are accepted only with `allow_non_finite`; numbers beyond the
// double range never are. `what` names the argument in the message.
double ParseDouble(const std::string& text, const std::string& what, bool allow_non_finite = false);
int64_t ParseInteger(const std::string& text, const std::string& what, int64_t min, int64_t max);
// "X,Y" as two numbers.
struct TNumberPair {
  double First, Second;
};
TNumberPair ParseNumberPair(const std::string& text, const std::string& what);

// Splits at every `separator`; with `skip_empty`, runs of separators count
// as one and no empty pieces are returned.
std::vector<std::string> SplitText(const std::string& text, char separator, bool skip_empty);
// ASCII case-insensitive comparison, for names typed by the user.
bool SameText(const std::string& a, const std::string& b);

}  // namespace quorvane::cli
