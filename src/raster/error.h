#pragma once
// Failures that end an operation travel as exceptions carrying the text the
// user sees; the GUI and CLI edges catch them and show the message.
#include <cstdint>
#include <new>
#include <stdexcept>
#include <string>

namespace quorvane {

class EQuorvaneError : public std::runtime_error {
 public:
  explicit EQuorvaneError(const std::string& message) : std::runtime_error(message) {}
};

// Memory that could not be had, said in words: "Not enough memory to hold the
// picture (N bytes)". It is a std::bad_alloc, so code that falls back when an
// allocation fails still catches it.
class ENotEnoughMemory : public std::bad_alloc {
 public:
  // "Not enough memory to <what> (<bytes> bytes)".
  ENotEnoughMemory(const std::string& what, uint64_t bytes)
      : text_("Not enough memory to " + what + " (" + std::to_string(bytes) + " bytes)") {}
  const char* what() const noexcept override { return text_.what(); }

 private:
  std::runtime_error text_;  // copies without throwing, as an exception must
};

// `<action> "<path>": <the system's words for errno>`, for failed file calls:
// "Cannot write file "a.png": Permission denied".
std::string SystemErrorText(const std::string& action, const std::string& path);

}  // namespace quorvane
