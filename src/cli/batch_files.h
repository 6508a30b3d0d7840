#pragma once
// The two forms of the commands that turn one picture file into another:
//   COMMAND IN OUT [options]
//   COMMAND IN... --output-dir DIR [--format EXT] [-j N] [options]
// The second names each output after its input (the extension EXT when
// given) and runs the files in parallel: a file that fails is reported
// with its message and the others go on; the status is 1 when any failed.
#include <functional>
#include <string>

#include "cli/command_line.h"
#include "cli/commands.h"

namespace quorvane::cli {

struct TFileJob {
  std::string Input, Output;
  // Several files run at once: no per-file progress bar.
  bool InBatch = false;
  // Threads a resampler of this file may take (0: one per core).
  int ResampleThreads = 0;
};

// Returns the file's exit status, or throws its failure.
using TFileRunner = std::function<int(const TFileJob& job)>;

// Declares the positional arguments (and the batch form's options) on
// `line`, after the command's own options, parses `args` and runs `run`
// once or for every input.
int RunFileCommand(TCommandLine& line, const TArgs& args, const TFileRunner& run);

}  // namespace quorvane::cli
