#include "about/startup_arguments.h"

#include "about/about_texts.h"

namespace quorvane {

namespace {

constexpr const char* kScreenshotOption = "--screenshot";

bool IsHelp(const std::string& argument) {
  return argument == "--help" || argument == "-h" || argument == "-?";
}

bool IsVersion(const std::string& argument) {
  return argument == "--version" || argument == "-v";
}

}  // namespace

// An existing file is taken before anything else is made of its name, so
// "-map.tif" opens like "map.tif". Options, ours or unknown, are not the
// first argument; the first other argument is, whether or not it exists.
TStartupArguments ParseStartupArguments(const std::vector<std::string>& arguments,
                                        const std::function<bool(const std::string&)>& exists) {
  TStartupArguments parsed;
  bool first_taken = false;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (!first_taken && exists(argument)) {
      parsed.File = argument;
      first_taken = true;
    } else if (IsHelp(argument)) {
      parsed.Help = true;
    } else if (IsVersion(argument)) {
      parsed.Version = true;
    } else if (argument == kScreenshotOption && i + 1 < arguments.size()) {
      parsed.Screenshot = arguments[++i];
    } else if (argument.starts_with(std::string(kScreenshotOption) + "=")) {
      parsed.Screenshot = argument.substr(std::string(kScreenshotOption).size() + 1);
    } else if (!argument.starts_with('-')) {
      first_taken = true;
    }
  }
  return parsed;
}

std::string StartupUsageText(const std::string& program) {
  return "Usage: " + program +
         " [FILE]\n"
         "Viewer and editor for georeferenced raster images.\n"
         "\n"
         "  FILE           picture to open at start, when it exists\n"
         "  -h, --help     show this text and end\n"
         "  -v, --version  show the version and end\n";
}

std::string StartupVersionText(const std::string& program_path) {
  return ProgramVersionLine(program_path) + "\n";
}

}  // namespace quorvane
