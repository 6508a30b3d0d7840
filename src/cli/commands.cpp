#include "cli/commands.h"

namespace quorvane::cli {

int RunInfo(const TArgs& args);
int RunConvert(const TArgs& args);

std::span<const TCommand> Commands() {
  static const TCommand kCommands[] = {
      {"info", "info FILE [--json]", RunInfo},
      {"convert", "convert IN OUT [--packbits] [--no-geotiff]", RunConvert},
  };
  return kCommands;
}

}  // namespace quorvane::cli
