#pragma once
// "Copy Coordinates": the last cursor readout of the Measure page as one line
// of text for the clipboard, so a position can be pasted into a note, a
// spreadsheet or a message without retyping eleven fields.
#include <cstdint>
#include <string>

#include "geo/measure_readouts.h"

namespace quorvane {

// A cursor readout as the page showed it: the picture pixel, its texts and
// the datum they were computed on.
struct TCursorReadout {
  int32_t X = 0;
  int32_t Y = 0;
  TCursorTexts Texts;
  std::string Datum;
};

// "Pixel 12,34; East 500,015.0; North 4,649,761.0; Zone 18;
// Longitude -74.99982 (-74°59'59"); Latitude 41.99986 (41°59'59");
// Datum North American 1927" on one line. Fields are separated by "; " so
// the thousands separators of east and north stay unambiguous.
std::string CoordinatesLine(const TCursorReadout& readout);

}  // namespace quorvane
