#pragma once
// The command table of quorvane-cli. Each command lives in its own file,
// parses its arguments with TCommandLine, calls the document layer as the
// window would, prints at most one record and returns the exit status:
// 0 success, 1 failure (message on stderr), 2 usage error (thrown as EUsage).
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace quorvane::cli {

class EUsage : public std::runtime_error {
 public:
  explicit EUsage(const std::string& message) : std::runtime_error(message) {}
};

// "--help" or "-h" after a command: its usage goes to stdout, status 0.
class EHelp : public std::exception {};

using TArgs = std::vector<std::string>;

struct TCommand {
  const char* Name;
  const char* Usage;
  int (*Run)(const TArgs& args);
};

std::span<const TCommand> Commands();

}  // namespace quorvane::cli
