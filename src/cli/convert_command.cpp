// quorvane-cli convert IN OUT [--packbits] [--no-geotiff]: opens IN as the
// window does (by its extension) and saves the source as OUT in the format
// OUT's extension names, with its georeference. OUT is replaced only by a
// complete file. Strip TIFFs into TIFF, PNG or JPEG go through rows.
#include <string>

#include "cli/any_tiff_args.h"
#include "cli/batch_document.h"
#include "cli/batch_files.h"
#include "cli/command_line.h"
#include "cli/terminal_progress.h"
#include "document/save_pane.h"
#include "document/streamed_job.h"

namespace quorvane::cli {

int RunConvert(const TArgs& args) {
  bool packbits = false, no_geotiff = false;
  TAnyTiffArgs any_tiff;
  TCommandLine line("convert");
  any_tiff.AddTo(line);
  line.Flag("--packbits", packbits).Flag("--no-geotiff", no_geotiff);
  return RunFileCommand(line, args, [&](const TFileJob& job) {
    any_tiff.Display();  // --bands or --stretch without --any-tiff is a usage error
    if (RunStreamedJob({.Input = job.Input,
                        .Output = job.Output,
                        .Load = {.AnyTiff = any_tiff.AnyTiff, .Display = any_tiff.Display()},
                        .Compress = packbits,
                        .GeoTiff = !no_geotiff}) == TStreamOutcome::Saved)
      return 0;
    TDocument document({}, kBatchDocument);
    OpenForBatch(document, job.Input, any_tiff);
    const TProgressEvent bar =
        job.InBatch ? TProgressEvent{} : TerminalProgressBar("Saving " + job.Output);
    try {
      SaveSource(document, job.Output,
                 {.Compress = packbits, .GeoTiff = !no_geotiff, .Progress = bar});
    } catch (...) {
      EndInterruptedBar(bar);
      throw;
    }
    return 0;
  });
}

}  // namespace quorvane::cli
