#pragma once
// The command table of quorvane-cli. Each command lives in its own file and
// returns the process exit status: 0 success, 1 failure (message on stderr),
// 2 usage error (thrown as EUsage).
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace quorvane::cli {

class EUsage : public std::runtime_error {
 public:
  explicit EUsage(const std::string& message) : std::runtime_error(message) {}
};

using TArgs = std::vector<std::string>;

struct TCommand {
  const char* Name;
  const char* Usage;
  int (*Run)(const TArgs& args);
};

std::span<const TCommand> Commands();

}  // namespace quorvane::cli
