// quorvane-cli locate FILE --pixel X,Y [--datum NAME|INDEX] [--json]
// [--any-tiff]: the map position of a picture position (its upper-left
// corner, as the mouse readouts take it), the file's coordinate system and
// the longitude and latitude the Measure page shows there.
#include <optional>
#include <string>

#include "cli/command_line.h"
#include "cli/crs_record.h"
#include "cli/value_parsing.h"
#include "document/open_image.h"
#include "geo/datums.h"
#include "geo/measure_readouts.h"

namespace quorvane::cli {

int RunLocate(const TArgs& args) {
  std::string path, pixel_text;
  std::optional<std::string> datum_text;
  bool as_json = false, any_tiff = false;
  TCommandLine line("locate");
  line.Positional("FILE", path).Required("--pixel", pixel_text).Option("--datum", datum_text);
  line.Flag("--json", as_json).Flag("--any-tiff", any_tiff).Parse(args);
  const TNumberPair pixel = ParseNumberPair(pixel_text, "--pixel");
  const TDatumChoice datum = ParseDatum(datum_text);
  const int datum_used = int(DatumRow(datum));

  // The header carries the georeference; the pixels are not needed.
  const TImageInfo info = ReadImageInfo(path, {.AnyTiff = any_tiff});
  const TGeoReference& reference = info.GeoReference;
  const TMapPoint map = PixelToMap(reference, pixel.First, pixel.Second);
  const TCursorTexts texts = MapReadouts(reference, map, datum);
  const TRecord record = {{"x", map.East},
                          {"y", map.North},
                          {"crs", CrsRecord(reference)},
                          {"longitude", texts.Longitude},
                          {"latitude", texts.Latitude},
                          {"longitude_text", texts.LongitudeText},
                          {"latitude_text", texts.LatitudeText},
                          {"longitude_dms", texts.LongitudeDms},
                          {"latitude_dms", texts.LatitudeDms},
                          {"zone", texts.ZoneText},
                          {"datum", DatumTable()[datum_used].Name},
                          {"datum_index", datum_used}};
  PrintRecord(record, as_json);
  return 0;
}

}  // namespace quorvane::cli
