#include "cli/command_line.h"

#include <CLI/CLI.hpp>

namespace quorvane::cli {

TCommandLine::TCommandLine(const std::string& command)
    : app_(std::make_unique<CLI::App>("", command)) {
  // Usage texts are the command table's own; the parser only parses.
  app_->set_help_flag("-h,--help");
  app_->option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
}

TCommandLine::~TCommandLine() = default;

TCommandLine& TCommandLine::Positional(const std::string& name, std::string& target) {
  app_->add_option(name, target)->required();
  return *this;
}

TCommandLine& TCommandLine::Positionals(const std::string& name,
                                        std::vector<std::string>& targets) {
  app_->add_option(name, targets)
      ->required()
      ->expected(1, -1)
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  return *this;
}

TCommandLine& TCommandLine::Option(const std::string& name, std::optional<std::string>& target) {
  std::string& value = values_.emplace_back();
  optional_.emplace_back(app_->add_option(name, value), &target);
  return *this;
}

TCommandLine& TCommandLine::Required(const std::string& name, std::string& target) {
  app_->add_option(name, target)->required();
  return *this;
}

TCommandLine& TCommandLine::Flag(const std::string& name, bool& target) {
  app_->add_flag(name, target);
  return *this;
}

void TCommandLine::Parse(const TArgs& args) {
  // The parser takes the arguments last first.
  std::vector<std::string> reversed(args.rbegin(), args.rend());
  try {
    app_->parse(reversed);
  } catch (const CLI::CallForHelp&) {
    throw EHelp();
  } catch (const CLI::ParseError& error) {
    throw EUsage(error.what());
  }
  for (auto& [option, target] : optional_) {
    if (option->count() > 0) *target = option->as<std::string>();
  }
}

}  // namespace quorvane::cli
