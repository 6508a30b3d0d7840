#include "raster/error.h"

#include <cerrno>
#include <cstring>

namespace quorvane {

std::string SystemErrorText(const std::string& action, const std::string& path) {
  return action + " \"" + path + "\": " + std::strerror(errno);
}

}  // namespace quorvane
