// quorvane-cli tone IN OUT [--brightness B] [--contrast C] [--gamma G]: the
// Tools page's sliders (positions 0 .. 100, 50 neutral) applied to IN as the
// tone base; the output is 24-bit and keeps IN's georeference.
#include <optional>
#include <string>

#include "cli/any_tiff_args.h"
#include "cli/batch_document.h"
#include "cli/batch_files.h"
#include "cli/command_line.h"
#include "cli/value_parsing.h"
#include "document/save_pane.h"
#include "document/streamed_job.h"
#include "document/tone_page.h"
#include "imaging/tone.h"

namespace quorvane::cli {

namespace {

int SliderPosition(const std::optional<std::string>& text, const char* name) {
  return text ? int(ParseInteger(*text, std::string("--") + name, 0, 100)) : 50;
}

}  // namespace

int RunTone(const TArgs& args) {
  std::optional<std::string> brightness, contrast, gamma;
  TAnyTiffArgs any_tiff;
  TCommandLine line("tone");
  line.Option("--brightness", brightness).Option("--contrast", contrast);
  any_tiff.AddTo(line);
  line.Option("--gamma", gamma);
  return RunFileCommand(line, args, [&](const TFileJob& job) {
    any_tiff.Display();  // --bands or --stretch without --any-tiff is a usage error
    const TToneSliders sliders{SliderPosition(brightness, "brightness"),
                               SliderPosition(contrast, "contrast"),
                               SliderPosition(gamma, "gamma")};
    const TToneValues values = ReadToneSliders(sliders.Brightness, sliders.Contrast, sliders.Gamma);
    if (RunStreamedJob({.Input = job.Input,
                        .Output = job.Output,
                        .Load = {.AnyTiff = any_tiff.AnyTiff, .Display = any_tiff.Display()},
                        .Tone = BuildToneTable(values)}) == TStreamOutcome::Saved)
      return 0;
    TDocument document({}, kBatchDocument);
    OpenForBatch(document, job.Input, any_tiff);
    UseSourceAsToneBase(document);
    AdjustTone(document, sliders);
    SaveDestination(document, job.Output, {});
    return 0;
  });
}

}  // namespace quorvane::cli
