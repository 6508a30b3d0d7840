#pragma once
// Failures that end an operation travel as exceptions carrying the text the
// user sees; the GUI and CLI edges catch them and show the message. Code that
// must decide what to do about a failure looks at its kind, never its text.
#include <cstdint>
#include <new>
#include <optional>
#include <stdexcept>
#include <string>

namespace quorvane {

enum class TErrorKind {
  Other,        // everything no caller tells apart
  Unsupported,  // a file or picture of a kind this code does not read or write
  Corrupt,      // a file that breaks its own format's rules
  TooLarge,     // beyond a size limit of a format or of the memory cap
  Io,           // the system refused a file or folder call
  Usage,        // a value or name the caller should never have passed
};

class EQuorvaneError : public std::runtime_error {
 public:
  explicit EQuorvaneError(const std::string& message, TErrorKind kind = TErrorKind::Other)
      : std::runtime_error(message), kind_(kind) {}
  TErrorKind Kind() const noexcept { return kind_; }

 private:
  TErrorKind kind_;
};

// The one way running out of memory is said: "Not enough memory to <what>",
// followed by " (<bytes> bytes)" when the size that was wanted is known.
std::string NotEnoughMemoryText(const std::string& what, std::optional<uint64_t> bytes = {});

// Memory that could not be had, said in words. It is a std::bad_alloc, so
// code that falls back when an allocation fails still catches it.
class ENotEnoughMemory : public std::bad_alloc {
 public:
  explicit ENotEnoughMemory(const std::string& what, std::optional<uint64_t> bytes = {})
      : text_(NotEnoughMemoryText(what, bytes)) {}
  const char* what() const noexcept override { return text_.what(); }

 private:
  std::runtime_error text_;  // copies without throwing, as an exception must
};

// `<action> "<path>": <the system's words for errno>`, for failed file calls:
// "Cannot write file "a.png": Permission denied".
std::string SystemErrorText(const std::string& action, const std::string& path);

}  // namespace quorvane
