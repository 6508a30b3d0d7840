#include "raster/error.h"

#include <cerrno>
#include <cstring>

namespace quorvane {

std::string NotEnoughMemoryText(const std::string& what, std::optional<uint64_t> bytes) {
  std::string text = "Not enough memory to " + what;
  if (bytes) text += " (" + std::to_string(*bytes) + " bytes)";
  return text;
}

std::string SystemErrorText(const std::string& action, const std::string& path) {
  return action + " \"" + path + "\": " + std::strerror(errno);
}

}  // namespace quorvane
