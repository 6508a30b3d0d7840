#include "cli/terminal_progress.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>

namespace quorvane::cli {

TProgressEvent TerminalProgressBar(const std::string& label) {
  if (::isatty(STDERR_FILENO) != 1) return {};
  // The TIFF writer reports every row; the bar is redrawn only when it moves.
  return [label, last = -1](TProgressStage stage, uint8_t percent, bool, const TRect&,
                            std::string_view) mutable {
    constexpr int kWidth = 40;
    const int shown = std::min<int>(percent, 100);
    if (stage == TProgressStage::Running && shown == last) return;
    last = shown;
    const int filled = shown * kWidth / 100;
    std::fprintf(stderr, "\r%s [%s%s] %3d%%", label.c_str(), std::string(filled, '#').c_str(),
                 std::string(kWidth - filled, ' ').c_str(), shown);
    if (stage == TProgressStage::Ending) std::fputc('\n', stderr);
    std::fflush(stderr);
  };
}

void EndInterruptedBar(const TProgressEvent& bar) {
  if (bar) std::fputc('\n', stderr);
}

}  // namespace quorvane::cli
