#pragma once
// Failures that end an operation travel as exceptions carrying the text the
// user sees; the GUI and CLI edges catch them and show the message.
#include <stdexcept>
#include <string>

namespace quorvane {

class EQuorvaneError : public std::runtime_error {
 public:
  explicit EQuorvaneError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace quorvane
