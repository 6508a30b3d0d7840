// quorvane-cli utm --zone Z [--south] --east E --north N [--datum NAME|INDEX]
// [--json]: longitude and latitude of a UTM position on a datum, raw and as
// the Measure page shows them.
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <string>

#include "cli/args.h"
#include "cli/commands.h"
#include "cli/json_writer.h"
#include "geo/datums.h"
#include "geo/measure_readouts.h"

namespace quorvane::cli {

namespace {

// A datum by its index in the list (an index outside it converts on North
// American 1927, as in the window) or by its name, any case.
int ParseDatum(const std::string& text) {
  const TDatumList list = FillDatumList();
  for (size_t i = 0; i < list.Names.size(); ++i) {
    if (SameText(text, list.Names[i])) return int(i);
  }
  if (!text.empty() && (std::isdigit(static_cast<unsigned char>(text.back())))) {
    return int(ParseInteger(text, "--datum", INT32_MIN, INT32_MAX));
  }
  throw EUsage("--datum: unknown datum \"" + text + "\"");
}

}  // namespace

int RunUtm(const TArgs& args) {
  const TParsedArgs parsed = ParseArgs(args, {{"zone", true},
                                              {"south", false},
                                              {"east", true},
                                              {"north", true},
                                              {"datum", true},
                                              {"json", false}});
  parsed.ExpectPositional(0);
  TGeoReference reference;
  // Zone 0 is what a record that was never set holds; it converts on the
  // meridian 183 degrees west.
  reference.Zone = int32_t(ParseInteger(parsed.Required("zone"), "--zone", 0, 60));
  reference.North = !parsed.Has("south");
  const double east = ParseDouble(parsed.Required("east"), "--east", true);
  const double north = ParseDouble(parsed.Required("north"), "--north", true);
  int datum = kDefaultDatumIndex;
  if (const auto text = parsed.Value("datum")) datum = ParseDatum(*text);
  const int datum_used = datum >= 0 && datum < kDatumCount ? datum : kDefaultDatumIndex;

  const TCursorTexts texts = ShowMapCoordinates(reference, {east, north}, datum);
  const std::string datum_name = DatumTable()[datum_used].Name;
  const char* hemisphere = reference.North ? "N" : "S";
  if (parsed.Has("json")) {
    TJsonWriter json;
    json.BeginObject();
    json.Key("longitude").Number(texts.Longitude);
    json.Key("latitude").Number(texts.Latitude);
    json.Key("longitude_text").String(texts.LongitudeText);
    json.Key("latitude_text").String(texts.LatitudeText);
    json.Key("longitude_dms").String(texts.LongitudeDms);
    json.Key("latitude_dms").String(texts.LatitudeDms);
    json.Key("zone").Integer(reference.Zone);
    json.Key("hemisphere").String(hemisphere);
    json.Key("datum").String(datum_name);
    json.Key("datum_index").Integer(datum_used);
    json.EndObject();
    std::printf("%s\n", json.Text().c_str());
    return 0;
  }
  std::printf("longitude: %s\nlatitude: %s\n", ShortestDouble(texts.Longitude).c_str(),
              ShortestDouble(texts.Latitude).c_str());
  std::printf("longitude_text: %s\nlatitude_text: %s\n", texts.LongitudeText.c_str(),
              texts.LatitudeText.c_str());
  std::printf("longitude_dms: %s\nlatitude_dms: %s\n", texts.LongitudeDms.c_str(),
              texts.LatitudeDms.c_str());
  std::printf("zone: %d %s\ndatum: %s (%d)\n", reference.Zone, hemisphere, datum_name.c_str(),
              datum_used);
  return 0;
}

}  // namespace quorvane::cli
