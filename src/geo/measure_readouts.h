#pragma once
// The texts of the Measure page's readouts: measured length, area and
// azimuth in the chosen units, and the map and geographic position of a
// pixel. The window writes them into its display fields.
#include <array>
#include <cstdint>
#include <string>

#include "geo/datums.h"
#include "geo/geo_format.h"
#include "geo/geo_reference.h"
#include "geo/measure_tool.h"

namespace quorvane {

struct TLengthUnit {
  const char* Item;  // item text of the "Length Units" choice
  const char* Text;  // unit text behind the value
  int Decimals;
};
struct TAreaUnit {
  const char* Item;
  const char* Text;
  int Decimals;
};
// Items of the "Length Units" and "Area Units" choices, in their order.
enum class TLengthUnitChoice : uint8_t { Pixels, Metres, Kilometres, Feet, Yards, Miles };
enum class TAreaUnitChoice : uint8_t {
  Pixels,
  SquareMetres,
  Hectares,
  SquareKilometres,
  SquareFeet,
  SquareYards,
  Acres,
  SquareMiles,
};
constexpr int kLengthUnitCount = 6;
constexpr int kAreaUnitCount = 8;
const std::array<TLengthUnit, kLengthUnitCount>& LengthUnits();
const std::array<TAreaUnit, kAreaUnitCount>& AreaUnits();

// The measured length or area in `unit`; a value outside the choices counts
// as pixels.
double LengthInUnit(const TMeasureTool& tool, const TGeoReference& reference,
                    TLengthUnitChoice unit);
double AreaInUnit(const TMeasureTool& tool, const TGeoReference& reference, TAreaUnitChoice unit);

struct TMeasurementTexts {
  double Length = 0.0;  // in the chosen unit
  double Area = 0.0;
  double Azimuth = 0.0;     // degrees
  std::string LengthText;   // "1234.5M"
  std::string AreaText;     // "0.25kM^2"
  std::string AzimuthText;  // "180.0°"
};
TMeasurementTexts MeasurementTexts(const TMeasureTool& tool, const TGeoReference& reference,
                                   TLengthUnitChoice length_unit, TAreaUnitChoice area_unit,
                                   const TNumberFormat& format = {});

struct TLastPointTexts {
  double East = 0.0, North = 0.0;
  std::string EastText, NorthText;  // 1 decimal, thousands grouped
};
TLastPointTexts LastPointTexts(const TGeoReference& reference, double x, double y,
                               const TNumberFormat& format = {});

struct TCursorTexts {
  double East = 0.0, North = 0.0;
  double Longitude = 0.0, Latitude = 0.0;  // degrees on the chosen datum
  std::string EastText, NorthText;
  std::string LongitudeText, LatitudeText;  // 5 decimals
  std::string LongitudeDms, LatitudeDms;    // 12°34'56"
  std::string ZoneText;                     // empty for a system that is not a UTM zone
  // CrsDis: the file's system by its short name ("EPSG:3857", "User
  // defined: Mercator"); empty without one.
  std::string CrsText;
};
TCursorTexts CursorReadouts(const TGeoReference& reference, double x, double y, TDatumChoice datum,
                            const TNumberFormat& format = {});
// The same for a map position given directly; only the zone, hemisphere and
// coordinate system of `reference` are used. A system other than a UTM zone
// of the table gets its longitude and latitude from PROJ, on the chosen
// datum; where PROJ has none the texts stay empty.
TCursorTexts MapReadouts(const TGeoReference& reference, const TMapPoint& map, TDatumChoice datum,
                         const TNumberFormat& format = {});

}  // namespace quorvane
