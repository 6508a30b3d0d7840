#include "geo/measure_readouts.h"

#include <cmath>
#include <limits>

#include "geo/coordinate_system.h"
#include "geo/datums.h"

namespace quorvane {

namespace {

constexpr std::array<TLengthUnit, kLengthUnitCount> kLengthUnits = {{
    {"Pixles", "Px", 1},
    {"Meters", "M", 1},
    {"kMeters", "kM", 2},
    {"Feet", "Ft", 1},
    {"Yards", "Yd", 2},
    {"Miles", "Mi", 2},
}};

constexpr std::array<TAreaUnit, kAreaUnitCount> kAreaUnits = {{
    {"Pixels", "Px^2", 1},
    {"Meters", "M^2", 1},
    {"Hectres", "Hectare", 1},
    {"kMeters", "kM^2", 2},
    {"Feet", "Ft^2", 1},
    {"Yards", "Yd^2", 1},
    {"Acres", "Acres", 1},
    {"Miles", "Mi^2", 2},
}};

constexpr double kYardsPerMetre = 1.09361329834;
constexpr double kMilesPerMetre = 0.000621375053282911;
constexpr double kSquareFeetPerSquareMetre = 10.7639104167;
constexpr double kSquareYardsPerSquareMetre = 1.19599004630609;
constexpr double kAcresPerSquareMetre = 0.000247104393046888;
constexpr double kSquareMilesPerSquareMetre = 3.8610695684234E-7;

const char kDegreeSign[] = "\xC2\xB0";

}  // namespace

const std::array<TLengthUnit, kLengthUnitCount>& LengthUnits() {
  return kLengthUnits;
}
const std::array<TAreaUnit, kAreaUnitCount>& AreaUnits() {
  return kAreaUnits;
}

double LengthInUnit(const TMeasureTool& tool, const TGeoReference& reference,
                    TLengthUnitChoice unit) {
  switch (unit) {
    case TLengthUnitChoice::Metres:
      return tool.PathLength(reference);
    case TLengthUnitChoice::Kilometres:
      return tool.PathLength(reference) / 1000;
    case TLengthUnitChoice::Feet:
      return tool.PathLength(reference) * kFootUnits.FeetPerMetre;
    case TLengthUnitChoice::Yards:
      return tool.PathLength(reference) * kYardsPerMetre;
    case TLengthUnitChoice::Miles:
      return tool.PathLength(reference) * kMilesPerMetre;
    default:
      return tool.PathLength();
  }
}

double AreaInUnit(const TMeasureTool& tool, const TGeoReference& reference, TAreaUnitChoice unit) {
  switch (unit) {
    case TAreaUnitChoice::SquareMetres:
      return tool.EnclosedArea(reference);
    case TAreaUnitChoice::Hectares:
      return tool.EnclosedArea(reference) / 10000;
    case TAreaUnitChoice::SquareKilometres:
      return tool.EnclosedArea(reference) / 1000000;
    case TAreaUnitChoice::SquareFeet:
      return tool.EnclosedArea(reference) * kSquareFeetPerSquareMetre;
    case TAreaUnitChoice::SquareYards:
      return tool.EnclosedArea(reference) * kSquareYardsPerSquareMetre;
    case TAreaUnitChoice::Acres:
      return tool.EnclosedArea(reference) * kAcresPerSquareMetre;
    case TAreaUnitChoice::SquareMiles:
      return tool.EnclosedArea(reference) * kSquareMilesPerSquareMetre;
    default:
      return tool.EnclosedArea();
  }
}

TMeasurementTexts MeasurementTexts(const TMeasureTool& tool, const TGeoReference& reference,
                                   TLengthUnitChoice length_unit, TAreaUnitChoice area_unit,
                                   const TNumberFormat& format) {
  if (size_t(length_unit) >= kLengthUnitCount) length_unit = TLengthUnitChoice::Pixels;
  if (size_t(area_unit) >= kAreaUnitCount) area_unit = TAreaUnitChoice::Pixels;
  const TLengthUnit& length = kLengthUnits[size_t(length_unit)];
  const TAreaUnit& area = kAreaUnits[size_t(area_unit)];
  TMeasurementTexts texts;
  texts.Length = LengthInUnit(tool, reference, length_unit);
  texts.Area = AreaInUnit(tool, reference, area_unit);
  texts.Azimuth = tool.LastAzimuth(reference);
  texts.LengthText = FormatFixed(texts.Length, length.Decimals, format) + length.Text;
  texts.AreaText = FormatFixed(texts.Area, area.Decimals, format) + area.Text;
  texts.AzimuthText = FormatFixed(texts.Azimuth, 1, format) + kDegreeSign;
  return texts;
}

TLastPointTexts LastPointTexts(const TGeoReference& reference, double x, double y,
                               const TNumberFormat& format) {
  const TMapPoint map = PixelToMap(reference, x, y);
  return {map.East, map.North, FormatNumber(map.East, 1, format),
          FormatNumber(map.North, 1, format)};
}

TCursorTexts CursorReadouts(const TGeoReference& reference, double x, double y, TDatumChoice datum,
                            const TNumberFormat& format) {
  return MapReadouts(reference, PixelToMap(reference, x, y), datum, format);
}

namespace {

void ShowGeographic(const TGeographic& geographic, const TNumberFormat& format,
                    TCursorTexts& texts) {
  texts.Longitude = geographic.Longitude;
  texts.Latitude = geographic.Latitude;
  texts.LongitudeText = FormatFixed(geographic.Longitude, 5, format);
  texts.LatitudeText = FormatFixed(geographic.Latitude, 5, format);
  texts.LongitudeDms = FormatDegrees(true, false, 0, geographic.Longitude, format);
  texts.LatitudeDms = FormatDegrees(true, false, 0, geographic.Latitude, format);
}

// Systems PROJ converts; UTM zones of the table keep the zone conversion.
const TCoordinateSystem* ProjSystem(const TGeoReference& reference) {
  const TCoordinateSystem* system = reference.System.get();
  return system && system->Usable() && !system->IsTableUtm() ? system : nullptr;
}

}  // namespace

TCursorTexts MapReadouts(const TGeoReference& reference, const TMapPoint& map, TDatumChoice datum,
                         const TNumberFormat& format) {
  TCursorTexts texts;
  texts.East = map.East;
  texts.North = map.North;
  texts.EastText = FormatNumber(map.East, 1, format);
  texts.NorthText = FormatNumber(map.North, 1, format);
  if (reference.System && reference.System->Usable()) texts.CrsText = reference.System->ShortName();
  if (const TCoordinateSystem* system = ProjSystem(reference)) {
    if (const std::optional<TGeographic> geographic = system->ToDatum(map, datum)) {
      ShowGeographic(*geographic, format, texts);
    } else {
      texts.Longitude = texts.Latitude = std::numeric_limits<double>::quiet_NaN();
    }
    return texts;
  }
  // The southern grid's false northing applies to a southern record with a
  // zone above 0: a record that was never set (zone 0) converts on the
  // northern grid whatever its flag says.
  const bool north = reference.North ? reference.Zone >= 0 : reference.Zone <= 0;
  const int32_t zone = reference.Zone == INT32_MIN ? INT32_MAX : reference.Zone;
  ShowGeographic(UtmToGeographic(zone, north, map.East, map.North, datum), format, texts);
  texts.ZoneText = std::to_string(reference.Zone);
  return texts;
}

}  // namespace quorvane
