#pragma once
// The Measure page's readouts for the pane that the "Image" choice names:
// wrappers that find the pane's tool and georeference and hand them to the
// readout texts of the measuring tool.
#include <cstdint>
#include <optional>

#include "document/document.h"
#include "geo/geo_format.h"
#include "geo/measure_readouts.h"
#include "raster/rect.h"

namespace quorvane {

// ImageRadio: "Input" is the source pane, "Output" the destination pane.
enum class TPaneChoice : uint8_t { Input, Output };

TPane& ChosenPane(TDocument& document, TPaneChoice choice);
const TPane& ChosenPane(const TDocument& document, TPaneChoice choice);

// LastEastDis, LastNorthDis for a click at pixel (x, y).
TLastPointTexts LastPointTexts(const TDocument& document, TPaneChoice pane, int32_t x, int32_t y,
                               const TNumberFormat& format = {});
// EastDis, NorthDis, the longitude and latitude on the datum chosen in
// DatumCombo (an index outside the list converts on North American 1927),
// and ZoneDis, for the cursor at pixel (x, y).
TCursorTexts CursorReadouts(const TDocument& document, TPaneChoice pane, int32_t x, int32_t y,
                            TDatumChoice datum, const TNumberFormat& format = {});
// LengthDis, AreaDis and AzmEdit in the chosen units.
TMeasurementTexts MeasurementTexts(const TDocument& document, TPaneChoice pane,
                                   TLengthUnitChoice length_unit, TAreaUnitChoice area_unit,
                                   const TNumberFormat& format = {});

// The Datum list's entry for the datum of the source file's coordinate
// system ("Datum From File"), -1 when the list has none or the source has
// no system.
std::optional<TDatumChoice> SourceDatum(const TDocument& document);

// "Reset Measurements": the pane's overlays erased and its tool emptied.
struct TMeasureReset {
  TRect Repaint;  // the area of the pane restored from its clean copy
  TMeasurementTexts Texts;
};
TMeasureReset ResetMeasurements(TDocument& document, TPaneChoice pane,
                                TLengthUnitChoice length_unit, TAreaUnitChoice area_unit,
                                const TNumberFormat& format = {});

}  // namespace quorvane
