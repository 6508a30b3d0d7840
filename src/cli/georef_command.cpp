// quorvane-cli georef IN OUT --base X,Y --scale SX,SY --zone Z [--south]
// [--packbits]: gives IN a georeference by hand, as the scale/coordinates
// dialog does, and saves the source as OUT with the GeoTIFF tags on (they
// reach the file when OUT is a TIFF).
#include <string>

#include "cli/batch_document.h"
#include "cli/command_line.h"
#include "cli/value_parsing.h"
#include "document/save_pane.h"
#include "geo/scale_dialog.h"

namespace quorvane::cli {

int RunGeoref(const TArgs& args) {
  std::string input, output, base_text, scale_text, zone_text;
  bool south = false, packbits = false;
  bool any_tiff = false;
  TCommandLine line("georef");
  line.Positional("IN", input).Positional("OUT", output);
  line.Required("--base", base_text).Required("--scale", scale_text);
  line.Required("--zone", zone_text).Flag("--south", south).Flag("--packbits", packbits);
  line.Flag("--any-tiff", any_tiff).Parse(args);
  const TNumberPair base = ParseNumberPair(base_text, "--base");
  const TNumberPair scale = ParseNumberPair(scale_text, "--scale");
  const int64_t zone = ParseInteger(zone_text, "--zone", kMinZone, kMaxZone);

  TDocument document({}, kBatchDocument);
  OpenForBatch(document, input, any_tiff);
  // The dialog in metres on the source pane: the fields as typed, then OK.
  TScaleDialogModel dialog;
  dialog.Open(document.Source.Measure, document.Source.GeoReference());
  dialog.BaseX = base.First;
  dialog.BaseY = base.Second;
  dialog.ScaleX = scale.First;
  dialog.ScaleY = scale.Second;
  dialog.SetZone(zone);
  dialog.North = !south;
  dialog.Store(document.Source.GeoReference());
  SaveSource(document, output, {.Compress = packbits});
  return 0;
}

}  // namespace quorvane::cli
