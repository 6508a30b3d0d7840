#include <cstdio>

#include "cli/commands.h"

namespace quorvane::cli {

int RunInfo(const TArgs&) {
  std::fprintf(stderr, "info: not built yet\n");
  return 1;
}

}  // namespace quorvane::cli
