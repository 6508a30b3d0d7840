#pragma once
// A file name's extension as the registry matches it.
#include <string>

namespace quorvane {

// The extension with its dot, from the last dot of the last path component;
// "" when there is none.
std::string ExtensionWithDot(const std::string& file_name);
// ASCII letters in lower case, every other byte as it is.
std::string LowerCase(std::string text);
inline std::string LowerExtension(const std::string& file_name) {
  return LowerCase(ExtensionWithDot(file_name));
}

}  // namespace quorvane
