#pragma once
// The window program's command line. The first argument opens at start-up
// when it names an existing file, whatever its first character; further
// arguments and options the program does not know are ignored. Besides it,
// "--help" and "--version" answer and end the program, and the program's
// own "--screenshot FILE" (for the smoke test on a virtual display) saves
// the opened window.
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quorvane {

struct TStartupArguments {
  // The file to open, when the first argument names an existing one.
  std::optional<std::string> File;
  bool Help = false;
  bool Version = false;
  std::optional<std::string> Screenshot;
};

// `arguments` without the program's own name. `exists` tells whether a
// name is an existing file (not a folder).
TStartupArguments ParseStartupArguments(const std::vector<std::string>& arguments,
                                        const std::function<bool(const std::string&)>& exists);

// The answers to "--help" and "--version", each ending in a line break.
std::string StartupUsageText(const std::string& program);
// "Quorvane " and the version the About box shows for the program file at
// `program_path`.
std::string StartupVersionText(const std::string& program_path);

}  // namespace quorvane
