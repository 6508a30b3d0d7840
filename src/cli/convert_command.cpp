#include <cstdio>

#include "cli/commands.h"

namespace quorvane::cli {

int RunConvert(const TArgs&) {
  std::fprintf(stderr, "convert: not built yet\n");
  return 1;
}

}  // namespace quorvane::cli
