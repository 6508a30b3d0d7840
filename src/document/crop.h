#pragma once
// Crop: the source picture is cut to the selection rectangle, and its
// georeference origin moves to the corner actually cut so that map
// coordinates keep pointing at the same ground. The destination is never
// touched.
#include "document/document.h"
#include "raster/rect.h"

namespace quorvane {

struct TCropResult {
  // False when the rectangle has no width or height or nothing of it lies
  // inside the picture: then nothing changed.
  bool Cropped = false;
  TRect Clamped;       // the rectangle cut, when cropped
  TSourceTexts Texts;  // the new source readouts, when cropped
};

// Hides the selection box first and cuts the clean picture (no overlay). `selection` may be given
// in either orientation and reach beyond the picture; the origin moves only by the part inside.
TCropResult Crop(TDocument& document, const TRect& selection);

}  // namespace quorvane
