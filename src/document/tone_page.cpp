#include "document/tone_page.h"

namespace quorvane {

TToneTexts AdjustTone(TDocument& document, const TToneSliders& sliders, char decimal_separator) {
  const TToneValues values = ReadToneSliders(sliders.Brightness, sliders.Contrast, sliders.Gamma);
  AdjustToneBitmap(document.ToneBase, document.Destination.Picture, values);
  document.Destination.Snapshot();
  return ToneTexts(values, decimal_separator);
}

TToneReset ResetTone(TDocument& document, char decimal_separator) {
  const int centre = CentreTrackBarPosition(0, 100);
  const TToneSliders sliders{centre, centre, centre};
  return {sliders, AdjustTone(document, sliders, decimal_separator)};
}

void UseSourceAsToneBase(TDocument& document) {
  document.ToneBase = document.Source.CleanCopy();
  document.Destination.GeoReference() = document.Source.GeoReference();
}

}  // namespace quorvane
