#pragma once
// The version quorvane-cli reports: that of the window program installed
// beside it, whose About box shows it, or its own where there is none.
#include <string>

namespace quorvane::cli {

// `argv0`: the name the program was started under, used only where the
// system cannot say which file is running.
std::string CliVersionLine(const char* argv0);

}  // namespace quorvane::cli
