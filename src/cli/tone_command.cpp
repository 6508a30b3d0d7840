// quorvane-cli tone IN OUT [--brightness B] [--contrast C] [--gamma G]: the
// Tools page's sliders (positions 0 .. 100, 50 neutral) applied to IN as the
// tone base; the output is 24-bit and keeps IN's georeference.
#include <optional>
#include <string>

#include "cli/any_tiff_args.h"
#include "cli/batch_document.h"
#include "cli/command_line.h"
#include "cli/value_parsing.h"
#include "document/save_pane.h"
#include "document/tone_page.h"

namespace quorvane::cli {

namespace {

int SliderPosition(const std::optional<std::string>& text, const char* name) {
  return text ? int(ParseInteger(*text, std::string("--") + name, 0, 100)) : 50;
}

}  // namespace

int RunTone(const TArgs& args) {
  std::string input, output;
  std::optional<std::string> brightness, contrast, gamma;
  TAnyTiffArgs any_tiff;
  TCommandLine line("tone");
  line.Positional("IN", input).Positional("OUT", output);
  line.Option("--brightness", brightness).Option("--contrast", contrast);
  any_tiff.AddTo(line);
  line.Option("--gamma", gamma).Parse(args);
  const TToneSliders sliders{SliderPosition(brightness, "brightness"),
                             SliderPosition(contrast, "contrast"), SliderPosition(gamma, "gamma")};

  TDocument document({}, kBatchDocument);
  OpenForBatch(document, input, any_tiff);
  UseSourceAsToneBase(document);
  AdjustTone(document, sliders);
  SaveDestination(document, output, {});
  return 0;
}

}  // namespace quorvane::cli
