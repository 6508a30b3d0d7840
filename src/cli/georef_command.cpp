// quorvane-cli georef IN OUT --base X,Y --scale SX,SY --zone Z [--south]
// [--packbits]: gives IN a georeference by hand, as the scale/coordinates
// dialog does, and saves it as OUT with the GeoTIFF tags on (they reach the
// file when OUT is a TIFF).
#include <string>

#include "cli/args.h"
#include "cli/commands.h"
#include "cli/load_image.h"
#include "geo/geotiff_georef.h"
#include "geo/scale_dialog.h"
#include "io/format_registry.h"

namespace quorvane::cli {

int RunGeoref(const TArgs& args) {
  const TParsedArgs parsed = ParseArgs(
      args,
      {{"base", true}, {"scale", true}, {"zone", true}, {"south", false}, {"packbits", false}});
  parsed.ExpectPositional(2);
  const TNumberPair base = ParseNumberPair(parsed.Required("base"), "--base");
  const TNumberPair scale = ParseNumberPair(parsed.Required("scale"), "--scale");
  const int64_t zone = ParseInteger(parsed.Required("zone"), "--zone", kMinZone, kMaxZone);

  const TCliImage image = LoadImage(parsed.Positional[0]);

  // The dialog in metres: the fields as typed, then OK.
  TMeasureTool tool;
  tool.GeoReference = image.GeoReference;
  TScaleDialogModel dialog;
  dialog.Open(tool);
  dialog.BaseX = base.First;
  dialog.BaseY = base.Second;
  dialog.ScaleX = scale.First;
  dialog.ScaleY = scale.Second;
  dialog.SetZone(zone);
  dialog.North = !parsed.Has("south");
  dialog.Store(tool);

  TGeoTiffTags written;
  GeoReferenceToGeoTiff(tool.GeoReference, written);
  SaveBitmapFile(*image.Bitmap, parsed.Positional[1],
                 {.Compress = parsed.Has("packbits"), .GeoTiff = true, .GeoTiffTags = &written});
  return 0;
}

}  // namespace quorvane::cli
