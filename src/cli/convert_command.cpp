// quorvane-cli convert IN OUT [--packbits] [--no-geotiff]: opens IN as the
// window does (by its extension) and saves the source as OUT in the format
// OUT's extension names, with its georeference. OUT is replaced only by a
// complete file.
#include <string>

#include "cli/any_tiff_args.h"
#include "cli/batch_document.h"
#include "cli/command_line.h"
#include "cli/terminal_progress.h"
#include "document/save_pane.h"

namespace quorvane::cli {

int RunConvert(const TArgs& args) {
  std::string input, output;
  bool packbits = false, no_geotiff = false;
  TAnyTiffArgs any_tiff;
  TCommandLine line("convert");
  line.Positional("IN", input).Positional("OUT", output);
  any_tiff.AddTo(line);
  line.Flag("--packbits", packbits).Flag("--no-geotiff", no_geotiff).Parse(args);

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
