// quorvane-cli: batch commands over the Quorvane core.
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/program_version.h"
#include "raster/error.h"
#include "raster/unfinished_saves.h"

namespace {

void PrintUsage(FILE* out) {
  std::fprintf(out,
               "usage: quorvane-cli COMMAND [ARGS]\n"
               "       quorvane-cli --help | --version\n\ncommands:\n");
  for (const auto& command : quorvane::cli::Commands()) {
    std::fprintf(out, "  %s\n", command.Usage);
  }
}

// The full help: what the tool is for, the commands and where to read more.
void PrintHelp() {
  std::printf(
      "quorvane-cli: the batch commands of Quorvane, the viewer and editor for georeferenced\n"
      "raster images (GeoTIFF, TIFF, BMP, JPEG, PNG, GIF, PCX, TGA, IFF).\n\n");
  PrintUsage(stdout);
  std::printf(
      "\noptions:\n"
      "  -h, --help     show this help and exit\n"
      "  --version      show the version (as the window's About box shows it) and exit\n\n"
      "convert, resize, crop and tone also take several inputs with --output-dir DIR\n"
      "[--format EXT] [-j N] in place of OUT.\n"
      "\"quorvane-cli COMMAND --help\" shows the usage of one command; the manual page\n"
      "quorvane-cli(1) describes every command and option.\n"
      "Exit status: 0 success, 1 failure (message on stderr), 2 usage error.\n");
}

bool Is(const char* arg, const char* a, const char* b = nullptr) {
  return std::strcmp(arg, a) == 0 || (b && std::strcmp(arg, b) == 0);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    PrintUsage(stderr);
    return 2;
  }
  if (Is(argv[1], "--help", "-h")) {
    PrintHelp();
    return 0;
  }
  if (Is(argv[1], "--version")) {
    std::printf("%s\n", quorvane::cli::CliVersionLine(argv[0]).c_str());
    return 0;
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
        const std::string what = "finish the " + std::string(command.Name) + " command";
        std::fprintf(stderr, "%s\n", quorvane::NotEnoughMemoryText(what).c_str());
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
