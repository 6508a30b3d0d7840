// quorvane-cli measure FILE --points "x1,y1 x2,y2 ..." [--length-units N]
// [--area-units N] [--json]: length, enclosed area and last azimuth of a
// polyline clicked on FILE's source pane, in the units of the Measure page,
// through FILE's georeference.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli/batch_document.h"
#include "cli/command_line.h"
#include "cli/record.h"
#include "cli/value_parsing.h"
#include "document/measure_page.h"

namespace quorvane::cli {

namespace {

// A unit by its index, its item text or its unit text (any case).
template <typename TUnits>
int ParseUnit(const std::optional<std::string>& given, const std::string& what,
              const TUnits& units) {
  if (!given) return 0;
  const std::string& text = *given;
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
  std::string path, points_text;
  std::optional<std::string> length_text, area_text;
  bool as_json = false;
  bool any_tiff = false;
  TCommandLine line("measure");
  line.Positional("FILE", path).Required("--points", points_text);
  line.Option("--length-units", length_text).Option("--area-units", area_text);
  line.Flag("--json", as_json).Flag("--any-tiff", any_tiff).Parse(args);
  const std::vector<TPixelPoint> points = ParsePoints(points_text);
  const int length_unit = ParseUnit(length_text, "--length-units", LengthUnits());
  const int area_unit = ParseUnit(area_text, "--area-units", AreaUnits());

  TDocument document({}, kBatchDocument);
  OpenForBatch(document, path, any_tiff);
  document.Source.Measure.Points = points;
  const TMeasurementTexts texts = MeasurementTexts(
      document, TPaneChoice::Input, TLengthUnitChoice(length_unit), TAreaUnitChoice(area_unit));
  const TRecord record = {{"length", texts.Length},
                          {"area", texts.Area},
                          {"azimuth", texts.Azimuth},
                          {"length_text", texts.LengthText},
                          {"area_text", texts.AreaText},
                          {"azimuth_text", texts.AzimuthText},
                          {"length_unit", LengthUnits()[length_unit].Item},
                          {"area_unit", AreaUnits()[area_unit].Item}};
  PrintRecord(record, as_json);
  return 0;
}

}  // namespace quorvane::cli
