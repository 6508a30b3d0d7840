#include "geo/datum_list_crs.h"

#include <array>
#include <cstdio>

#include "geo/datums.h"

namespace quorvane {

namespace {

struct TDatumShift {
  int EpsgDatum;        // 0 where no EPSG datum is plainly the same
  const char* ToWgs84;  // the published mean shift (metres; seconds and ppm for seven terms)
};

// In list order.
constexpr std::array<TDatumShift, kDatumCount> kDatumShifts = {{
    {6201, "-166,-15,204"},              // Adindan
    {6209, "-143,-90,-294"},             // Arc 1950
    {6210, "-160,-6,-302"},              // Arc 1960
    {6202, "-133,-48,148"},              // Australian 1966
    {6203, "-134,-48,149"},              // Australian 1984
    {6715, "-104,-129,239"},             // Camp Area Astro
    {6222, "-136,-108,-292"},            // Cape
    {6230, "-87,-98,-121"},              // European 1950
    {6668, "-86,-98,-119"},              // European 1979
    {6272, "84,-22,209"},                // Geodetic 1949
    {6738, "-156,-271,-189"},            // Hong Kong 1963
    {6236, "-637,-549,-203"},            // Hu Tzu Shan
    {0, "282,726,254"},                  // Indian
    {6267, "-8,160,176"},                // North American 1927
    {6269, "0,0,0"},                     // North American 1983
    {6232, "-346,-1,224"},               // Oman
    {6277, "375,-111,431"},              // Ordnance Survey 1936
    {6284, "28,-130,-95"},               // Pulkovo 1942
    {6248, "-288,175,-376"},             // South American 1956
    {6618, "-57,1,-41"},                 // South American 1969
    {6301, "-148,507,685"},              // Tokyo
    {6322, "0,0,4.5,0,0,0.554,0.2263"},  // WGS 1972
    {6326, "0,0,0"},                     // WGS 1984
}};

}  // namespace

std::string DatumListDefinition(TDatumChoice datum) {
  const size_t row = DatumRow(datum);
  const TEllipsoid& ellipsoid = EllipsoidTable()[DatumTable()[row].Ellipsoid];
  char text[160];
  std::snprintf(text, sizeof text, "+proj=longlat +a=%.17g +b=%.17g +towgs84=%s +no_defs +type=crs",
                ellipsoid.A, ellipsoid.B, kDatumShifts[row].ToWgs84);
  return text;
}

std::optional<TDatumChoice> DatumListEntryOfEpsgDatum(int datum_code) {
  if (datum_code <= 0) return std::nullopt;
  for (int i = 0; i < kDatumCount; ++i) {
    if (kDatumShifts[size_t(i)].EpsgDatum == datum_code) return DatumAtPosition(i);
  }
  return std::nullopt;
}

}  // namespace quorvane
