// Projected coordinate system codes that name a zone of a transverse
// Mercator grid, and how to find the zone and hemisphere in them.
#include <iterator>
#include <string_view>

#include "geo/geo_reference.h"

namespace quorvane {

namespace {
struct TProjectedCSRange {
  const char* Name;
  int32_t Low, High;
  int32_t LowZone, HighZone;
  char Hemisphere;
};

// Searched in this order; the first range holding the code wins.
constexpr TProjectedCSRange kProjectedCSTable[] = {
    {"Adindan UTM", 20137, 20138, 37, 38, 'N'},
    {"Ain el Abd UTM", 20437, 20439, 37, 39, 'N'},
    {"Afgooye UTM", 20538, 20539, 38, 39, 'N'},
    {"Aratu UTM", 20822, 20824, 22, 24, 'S'},
    {"Batavia UTM", 21148, 21150, 48, 50, 'S'},
    {"Beijing Gauss", 21473, 21483, 13, 23, 'N'},
    {"Bogota UTM", 21817, 21818, 17, 18, 'N'},
    {"Camacupa UTM", 22032, 22033, 32, 33, 'S'},
    {"Carthage UTM", 22332, 22332, 32, 32, 'N'},
    {"Corrego Alegre UTM", 22523, 22524, 23, 24, 'S'},
    {"Douala UTM", 22832, 22832, 32, 32, 'N'},
    {"ED50 UTM", 23028, 23038, 28, 38, 'N'},
    {"Fahud UTM", 23239, 23240, 39, 40, 'N'},
    {"Garoua UTM", 23433, 23433, 33, 33, 'N'},
    {"ID74 UTM", 23846, 23853, 46, 53, 'N'},
    {"ID74 UTM", 23886, 23894, 46, 54, 'S'},
    {"Indian 1954 UTM", 23947, 23948, 47, 48, 'N'},
    {"Indian 1975 UTM", 24047, 24048, 47, 48, 'N'},
    {"Kertau UTM", 24547, 24548, 47, 48, 'N'},
    {"La Canoa UTM", 24720, 24721, 20, 21, 'N'},
    {"PSAD56 UTM", 24818, 24821, 18, 21, 'N'},
    {"PSAD56 UTM", 24877, 24880, 17, 20, 'S'},
    {"Lome UTM", 25231, 25231, 31, 31, 'N'},
    {"Malongo 1987 UTM", 25932, 25932, 32, 32, 'S'},
    {"Massawa UTM", 26237, 26237, 37, 37, 'N'},
    {"Minna UTM", 26331, 26332, 31, 32, 'N'},
    {"Mhast UTM", 26432, 26432, 32, 32, 'S'},
    {"M poraloko UTM", 26632, 26632, 32, 32, 'N'},
    {"M poraloko UTM", 26692, 26692, 32, 32, 'S'},
    {"NAD27 UTM", 26703, 26722, 3, 22, 'N'},
    {"NAD27 Alaska", 26731, 26740, 1, 10, 'N'},
    {"NAD27 Hawaii", 26761, 26765, 1, 5, 'N'},
    {"NAD27 BLM", 26774, 26777, 14, 17, 'N'},
    {"NAD83 UTM", 26903, 26923, 3, 23, 'N'},
    {"NAD83 Alaska", 26931, 26940, 1, 10, 'N'},
    {"NAD83 Hawaii", 26961, 26965, 1, 5, 'N'},
    {"Nahrwan 1967 UTM", 27038, 27040, 38, 40, 'N'},
    {"Naparima UTM", 27120, 27120, 20, 20, 'N'},
    {"Datum 73 UTM", 27429, 27429, 29, 29, 'N'},
    {"Point Noire UTM", 28232, 28232, 32, 32, 'S'},
    {"GDA94 MGA", 28348, 28358, 48, 58, 'S'},
    {"Pulkovo Gauss", 28464, 28492, 4, 32, 'N'},
    {"SAD69 UTM", 29118, 29122, 18, 22, 'N'},
    {"SAD69 UTM", 29177, 29185, 17, 25, 'S'},
    {"Sapper Hill UTM", 29220, 29221, 20, 21, 'S'},
    {"Schwarzeck UTM", 29333, 29333, 33, 33, 'S'},
    {"Sudan UTM", 29635, 29636, 35, 36, 'N'},
    {"Tananarive UTM", 29738, 29739, 38, 39, 'S'},
    {"Timbalai 1948 UTM", 29849, 29850, 49, 50, 'N'},
    {"TC 1948 UTM", 30339, 30340, 39, 40, 'N'},
    {"Nord Sahara UTM", 30729, 30732, 29, 32, 'N'},
    {"Yoff UTM", 31028, 31028, 28, 28, 'N'},
    {"Zanderij UTM", 31121, 31121, 21, 21, 'N'},
    {"WGS72 UTM", 32201, 32260, 1, 60, 'N'},
    {"WGS72 UTM", 32301, 32360, 1, 60, 'S'},
    {"WGS72BE UTM", 32401, 32460, 1, 60, 'N'},
    {"WGS72BE UTM", 32501, 32560, 1, 60, 'S'},
    {"WGS84 UTM", 32601, 32660, 1, 60, 'N'},
    {"WGS84 UTM", 32701, 32760, 1, 60, 'S'},
};
static_assert(std::size(kProjectedCSTable) == 59);
}  // namespace

TProjectedCS LookupProjectedCS(int32_t code) {
  for (const auto& row : kProjectedCSTable) {
    if (row.Low <= code && code <= row.High) {
      return {row.Name, code - row.Low + row.LowZone, row.Hemisphere == 'N'};
    }
  }
  // Codes outside the table still give a zone from their last two digits.
  int32_t zone = code % 100;
  if (zone > 60) zone -= 60;
  return {"Unknow Zone", zone, true};
}

bool IsUtmProjectedCS(int32_t code) {
  for (const auto& row : kProjectedCSTable) {
    if (row.Low <= code && code <= row.High) {
      // The Gauss-Krueger rows and the US state and BLM zones share the
      // table's zone numbering but are other grids.
      const std::string_view name = row.Name;
      return name.ends_with(" UTM") || name == "GDA94 MGA";
    }
  }
  return false;
}

}  // namespace quorvane
