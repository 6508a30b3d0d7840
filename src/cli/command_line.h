#pragma once
// The arguments of one command: required positional arguments, options with
// a value and flags. Values are handed over as texts, for the checked
// conversions of value_parsing.h. A later repetition of an option wins;
// "--" ends the options. Every mistake throws EUsage with the parser's
// message; "--help" throws EHelp.
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "cli/commands.h"

namespace CLI {
class App;
class Option;
}  // namespace CLI

namespace quorvane::cli {

class TCommandLine {
 public:
  explicit TCommandLine(const std::string& command);
  ~TCommandLine();
  TCommandLine(const TCommandLine&) = delete;
  TCommandLine& operator=(const TCommandLine&) = delete;

  // Positional arguments are taken in the order they are declared.
  TCommandLine& Positional(const std::string& name, std::string& target);
  // One or more positional arguments, the rest of them.
  TCommandLine& Positionals(const std::string& name, std::vector<std::string>& targets);
  // "--name VALUE"; `target` stays empty when the option is not given.
  TCommandLine& Option(const std::string& name, std::optional<std::string>& target);
  // "--name VALUE" that must be given.
  TCommandLine& Required(const std::string& name, std::string& target);
  TCommandLine& Flag(const std::string& name, bool& target);

  void Parse(const TArgs& args);

 private:
  std::unique_ptr<CLI::App> app_;
  std::deque<std::string> values_;  // stable addresses for the parser to fill
  std::vector<std::pair<CLI::Option*, std::optional<std::string>*>> optional_;
};

}  // namespace quorvane::cli
