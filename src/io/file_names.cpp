#include "io/file_names.h"

#include <algorithm>

namespace quorvane {

std::string ExtensionWithDot(const std::string& file_name) {
  const size_t slash = file_name.find_last_of('/');
  const size_t dot = file_name.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
  return file_name.substr(dot);
}

std::string LowerCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return char(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c); });
  return text;
}

}  // namespace quorvane
