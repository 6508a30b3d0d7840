#pragma once
// A one-line progress bar on stderr, redrawn in place while a save runs;
// drawn only when stderr is a terminal.
#include <string>

#include "raster/progress.h"

namespace quorvane::cli {

// The bar's hook, or an empty one when stderr is not a terminal.
TProgressEvent TerminalProgressBar(const std::string& label);

// Ends a bar that a failure interrupted, so the message goes below it.
void EndInterruptedBar(const TProgressEvent& bar);

}  // namespace quorvane::cli
