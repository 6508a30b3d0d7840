// quorvane-cli measure FILE --points "x1,y1 x2,y2 ..." [--length-units N]
// [--area-units N] [--json]: length, enclosed area and last azimuth of a
// polyline clicked on FILE, in the units of the Measure page, through FILE's
// georeference.
#include <cstdint>
#include <cstdio>
#include <string>

#include "cli/args.h"
#include "cli/commands.h"
#include "cli/json_writer.h"
#include "cli/load_image.h"
#include "geo/measure_readouts.h"

namespace quorvane::cli {

namespace {

// A unit by its index, its item text or its unit text (any case).
template <typename TUnits>
int ParseUnit(const std::string& text, const std::string& what, const TUnits& units) {
  for (size_t i = 0; i < units.size(); ++i) {
    if (SameText(text, units[i].Item) || SameText(text, units[i].Text)) return int(i);
  }
  if (!text.empty() && text.find_first_not_of("+0123456789") == std::string::npos) {
    return int(ParseInteger(text, what, 0, int64_t(units.size()) - 1));
  }
  std::string known;
  for (const auto& unit : units) known += std::string(known.empty() ? "" : ", ") + unit.Item;
  throw EUsage(what + ": unknown unit \"" + text + "\" (0 to " + std::to_string(units.size() - 1) +
               " or one of " + known + ")");
}

std::vector<TPixelPoint> ParsePoints(const std::string& text) {
  std::vector<TPixelPoint> points;
  for (const std::string& piece : SplitText(text, ' ', true)) {
    const std::vector<std::string> xy = SplitText(piece, ',', false);
    if (xy.size() != 2) throw EUsage("--points: expected x,y pairs: \"" + piece + "\"");
    points.push_back({int32_t(ParseInteger(xy[0], "--points", INT32_MIN, INT32_MAX)),
                      int32_t(ParseInteger(xy[1], "--points", INT32_MIN, INT32_MAX))});
  }
  return points;
}

}  // namespace

int RunMeasure(const TArgs& args) {
  const TParsedArgs parsed = ParseArgs(
      args, {{"points", true}, {"length-units", true}, {"area-units", true}, {"json", false}});
  parsed.ExpectPositional(1);
  TMeasureTool tool;
  tool.Points = ParsePoints(parsed.Required("points"));
  int length_unit = 0, area_unit = 0;
  if (const auto text = parsed.Value("length-units")) {
    length_unit = ParseUnit(*text, "--length-units", LengthUnits());
  }
  if (const auto text = parsed.Value("area-units")) {
    area_unit = ParseUnit(*text, "--area-units", AreaUnits());
  }

  // The georeference as the window derives it after opening the file.
  tool.GeoReference = LoadImage(parsed.Positional[0]).GeoReference;

  const TMeasurementTexts texts = ShowMeasurements(tool, length_unit, area_unit);
  if (parsed.Has("json")) {
    TJsonWriter json;
    json.BeginObject();
    json.Key("length").Number(texts.Length);
    json.Key("area").Number(texts.Area);
    json.Key("azimuth").Number(texts.Azimuth);
    json.Key("length_text").String(texts.LengthText);
    json.Key("area_text").String(texts.AreaText);
    json.Key("azimuth_text").String(texts.AzimuthText);
    json.Key("length_unit").String(LengthUnits()[length_unit].Item);
    json.Key("area_unit").String(AreaUnits()[area_unit].Item);
    json.EndObject();
    std::printf("%s\n", json.Text().c_str());
    return 0;
  }
  std::printf("length: %s\narea: %s\nazimuth: %s\n", ShortestDouble(texts.Length).c_str(),
              ShortestDouble(texts.Area).c_str(), ShortestDouble(texts.Azimuth).c_str());
  std::printf("length_text: %s\narea_text: %s\nazimuth_text: %s\n", texts.LengthText.c_str(),
              texts.AreaText.c_str(), texts.AzimuthText.c_str());
  return 0;
}

}  // namespace quorvane::cli
