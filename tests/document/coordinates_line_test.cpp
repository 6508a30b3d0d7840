#include "document/coordinates_line.h"

#include <gtest/gtest.h>

#include "geo/datums.h"
#include "support/document_fixtures.h"

namespace quorvane {
namespace {

TEST(CoordinatesLine, HoldsEveryFieldOfTheReadoutOnOneLine) {
  TCursorReadout readout;
  readout.X = 12;
  readout.Y = 34;
  readout.Texts = CursorReadouts(test_support::kUtm18North30m, 12, 34, kDefaultDatum);
  readout.Datum = DatumListEntries().Names[DatumRow(kDefaultDatum)];
  const std::string line = CoordinatesLine(readout);
  EXPECT_EQ(line, "Pixel 12,34; East 500,360.0; North 4,648,756.0; Zone 18; Longitude " +
                      readout.Texts.LongitudeText + " (" + readout.Texts.LongitudeDms +
                      "); Latitude " + readout.Texts.LatitudeText + " (" +
                      readout.Texts.LatitudeDms + "); Datum North American 1927");
  EXPECT_EQ(line.find('\n'), std::string::npos);
  EXPECT_EQ(readout.Texts.LongitudeText.substr(0, 4), "-74.") << "just east of 75 W";
}

}  // namespace
}  // namespace quorvane
