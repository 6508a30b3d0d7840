// quorvane-cli utm --zone Z [--south] --east E --north N [--datum NAME|INDEX]
// [--json]: longitude and latitude of a UTM position on a datum, raw and as
// the Measure page shows them.
#include <cstdint>
#include <optional>
#include <string>

#include "cli/command_line.h"
#include "cli/record.h"
#include "cli/value_parsing.h"
#include "geo/datums.h"
#include "geo/measure_readouts.h"

namespace quorvane::cli {

int RunUtm(const TArgs& args) {
  std::string zone_text, east_text, north_text;
  std::optional<std::string> datum_text;
  bool south = false, as_json = false;
  TCommandLine line("utm");
  line.Required("--zone", zone_text).Flag("--south", south);
  line.Required("--east", east_text).Required("--north", north_text);
  line.Option("--datum", datum_text).Flag("--json", as_json).Parse(args);
  TGeoReference reference;
  // Zone 0 is what a record that was never set holds; it converts on the
  // meridian 183 degrees west.
  reference.Zone = int32_t(ParseInteger(zone_text, "--zone", 0, 60));
  reference.North = !south;
  const double east = ParseDouble(east_text, "--east", true);
  const double north = ParseDouble(north_text, "--north", true);
  const TDatumChoice datum = ParseDatum(datum_text);
  const int datum_used = int(DatumRow(datum));

  const TCursorTexts texts = MapReadouts(reference, {east, north}, datum);
  const TRecord record = {{"longitude", texts.Longitude},
                          {"latitude", texts.Latitude},
                          {"longitude_text", texts.LongitudeText},
                          {"latitude_text", texts.LatitudeText},
                          {"longitude_dms", texts.LongitudeDms},
                          {"latitude_dms", texts.LatitudeDms},
                          {"zone", reference.Zone},
                          {"hemisphere", reference.North ? "N" : "S"},
                          {"datum", DatumTable()[datum_used].Name},
                          {"datum_index", datum_used}};
  PrintRecord(record, as_json);
  return 0;
}

}  // namespace quorvane::cli
