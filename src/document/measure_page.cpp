#include "document/measure_page.h"

#include "geo/coordinate_system.h"

namespace quorvane {

TPane& ChosenPane(TDocument& document, TPaneChoice choice) {
  return choice == TPaneChoice::Output ? document.Destination : document.Source;
}

const TPane& ChosenPane(const TDocument& document, TPaneChoice choice) {
  return choice == TPaneChoice::Output ? document.Destination : document.Source;
}

std::optional<TDatumChoice> SourceDatum(const TDocument& document) {
  const TCoordinateSystem* system = document.Source.GeoReference().System.get();
  return system && system->Usable() ? system->ListDatum() : std::nullopt;
}

TLastPointTexts LastPointTexts(const TDocument& document, TPaneChoice pane, int32_t x, int32_t y,
                               const TNumberFormat& format) {
  return LastPointTexts(ChosenPane(document, pane).GeoReference(), x, y, format);
}

TCursorTexts CursorReadouts(const TDocument& document, TPaneChoice pane, int32_t x, int32_t y,
                            TDatumChoice datum, const TNumberFormat& format) {
  return CursorReadouts(ChosenPane(document, pane).GeoReference(), x, y, datum, format);
}

TMeasurementTexts MeasurementTexts(const TDocument& document, TPaneChoice pane,
                                   TLengthUnitChoice length_unit, TAreaUnitChoice area_unit,
                                   const TNumberFormat& format) {
  const TPane& chosen = ChosenPane(document, pane);
  return MeasurementTexts(chosen.Measure, chosen.GeoReference(), length_unit, area_unit, format);
}

TMeasureReset ResetMeasurements(TDocument& document, TPaneChoice pane,
                                TLengthUnitChoice length_unit, TAreaUnitChoice area_unit,
                                const TNumberFormat& format) {
  TPane& chosen = ChosenPane(document, pane);
  TMeasureReset reset;
  reset.Repaint = chosen.RestoreSnapshot();
  chosen.Measure.Clear();
  reset.Texts =
      MeasurementTexts(chosen.Measure, chosen.GeoReference(), length_unit, area_unit, format);
  return reset;
}

}  // namespace quorvane
