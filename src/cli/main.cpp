// quorvane-cli: batch commands over the Quorvane core.
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "raster/error.h"
#include "raster/unfinished_saves.h"

namespace {
void PrintUsage(FILE* out) {
  std::fprintf(out, "usage: quorvane-cli COMMAND [ARGS]\n\ncommands:\n");
  for (const auto& command : quorvane::cli::Commands()) {
    std::fprintf(out, "  %s\n", command.Usage);
  }
}
}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
    PrintUsage(argc < 2 ? stderr : stdout);
    return argc < 2 ? 2 : 0;
  }
  // Ctrl+C or kill during a save leaves no temporary file behind.
  quorvane::RemoveUnfinishedSavesOnSignals();
  const std::vector<std::string> args(argv + 2, argv + argc);
  for (const auto& command : quorvane::cli::Commands()) {
    if (argv[1] == std::string(command.Name)) {
      try {
        return command.Run(args);
      } catch (const quorvane::cli::EHelp&) {
        std::printf("usage: quorvane-cli %s\n", command.Usage);
        return 0;
      } catch (const quorvane::cli::EUsage& usage) {
        std::fprintf(stderr, "%s\nusage: quorvane-cli %s\n", usage.what(), command.Usage);
        return 2;
      } catch (const quorvane::ENotEnoughMemory& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
      } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "Not enough memory to finish the %s command\n", command.Name);
        return 1;
      } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
      }
    }
  }
  std::fprintf(stderr, "unknown command: %s\n", argv[1]);
  PrintUsage(stderr);
  return 2;
}
