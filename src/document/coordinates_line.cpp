#include "document/coordinates_line.h"

namespace quorvane {

std::string CoordinatesLine(const TCursorReadout& readout) {
  const TCursorTexts& t = readout.Texts;
  return "Pixel " + std::to_string(readout.X) + "," + std::to_string(readout.Y) + "; East " +
         t.EastText + "; North " + t.NorthText + "; Zone " + t.ZoneText + "; Longitude " +
         t.LongitudeText + " (" + t.LongitudeDms + "); Latitude " + t.LatitudeText + " (" +
         t.LatitudeDms + "); Datum " + readout.Datum;
}

}  // namespace quorvane
