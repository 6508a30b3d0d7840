#include "cli/program_version.h"

#include <filesystem>
#include <system_error>

#include "about/about_texts.h"

namespace quorvane::cli {

namespace fs = std::filesystem;

namespace {

fs::path RunningProgramFile(const char* argv0) {
  std::error_code error;
  fs::path self = fs::read_symlink("/proc/self/exe", error);
  if (error || self.empty()) self = argv0 ? argv0 : "";
  return self;
}

}  // namespace

std::string CliVersionLine(const char* argv0) {
  const fs::path self = RunningProgramFile(argv0);
  // Both programs are built and installed together; the window's file
  // decides, so that the two answers and the About box agree.
  const fs::path window = self.parent_path() / "quorvane";
  std::error_code error;
  const bool beside = fs::is_regular_file(window, error);
  return ProgramVersionLine((beside ? window : self).string());
}

}  // namespace quorvane::cli
