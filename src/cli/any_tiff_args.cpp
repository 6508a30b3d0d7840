#include "cli/any_tiff_args.h"

#include "cli/batch_document.h"
#include "raster/error.h"

namespace quorvane::cli {

void TAnyTiffArgs::AddTo(TCommandLine& line) {
  line.Flag("--any-tiff", AnyTiff).Option("--bands", Bands).Option("--stretch", Stretch);
}

TAnyTiffDisplay TAnyTiffArgs::Display() const {
  if ((Bands || Stretch) && !AnyTiff) throw EUsage("--bands and --stretch need --any-tiff");
  TAnyTiffDisplay display;
  if (Stretch) {
    const std::optional<TDisplayStretch> stretch = ParseDisplayStretch(*Stretch);
    if (!stretch) throw EUsage("--stretch: expected cut, minmax or none: \"" + *Stretch + "\"");
    display.Stretch = *stretch;
  }
  if (Bands) {
    try {
      display.Bands = ParseBandList(*Bands);
    } catch (const EQuorvaneError& error) {
      throw EUsage(std::string("--bands: ") + error.what());
    }
  }
  return display;
}

void OpenForBatch(TDocument& document, const std::string& path, const TAnyTiffArgs& args) {
  document.Display = args.Display();
  OpenForBatch(document, path, args.AnyTiff);
}

}  // namespace quorvane::cli
