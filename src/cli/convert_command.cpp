// quorvane-cli convert IN OUT [--packbits] [--no-geotiff]: opens IN as the
// window does (by its extension) and saves the source as OUT in the format
// OUT's extension names, with its georeference. OUT is replaced only by a
// complete file.
#include <string>

#include "cli/batch_document.h"
#include "cli/command_line.h"
#include "cli/terminal_progress.h"
#include "document/save_pane.h"
#include "document/streamed_job.h"

namespace quorvane::cli {

int RunConvert(const TArgs& args) {
  std::string input, output;
  bool packbits = false, no_geotiff = false;
  bool any_tiff = false;
  TCommandLine line("convert");
  line.Positional("IN", input).Positional("OUT", output);
  line.Flag("--packbits", packbits)
      .Flag("--any-tiff", any_tiff)
      .Flag("--no-geotiff", no_geotiff)
      .Parse(args);

  if (RunStreamedJob({.Input = input,
                      .Output = output,
                      .Load = {.AnyTiff = any_tiff},
                      .Compress = packbits,
                      .GeoTiff = !no_geotiff}) == TStreamOutcome::Saved)
    return 0;
  TDocument document({}, kBatchDocument);
  OpenForBatch(document, input, any_tiff);
  const TProgressEvent bar = TerminalProgressBar("Saving " + output);
  try {
    SaveSource(document, output, {.Compress = packbits, .GeoTiff = !no_geotiff, .Progress = bar});
  } catch (...) {
    EndInterruptedBar(bar);
    throw;
  }
  return 0;
}

}  // namespace quorvane::cli
