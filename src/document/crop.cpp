#include "document/crop.h"

#include "geo/geo_reference.h"
#include "imaging/bitmap_utils.h"

namespace quorvane {

TCropResult Crop(TDocument& document, const TRect& selection) {
  document.HideBox();
  TCropResult result;
  result.Cropped = CropBitmap(document.Source.Picture, selection, &result.Clamped);
  if (!result.Cropped) return result;
  ShiftGeoReference(document.Source.GeoReference(), result.Clamped.Left, result.Clamped.Top);
  result.Texts = document.SourceChanged();
  return result;
}

}  // namespace quorvane
