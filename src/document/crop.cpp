#include "document/crop.h"

#include <optional>
#include <utility>

#include "geo/geo_reference.h"
#include "imaging/bitmap_utils.h"

namespace quorvane {

TCropResult Crop(TDocument& document, const TRect& selection) {
  document.HideBox();
  TCropResult result;
  // Cut from the clean picture: a measuring polyline shown on the source is
  // a tool, and the cut becomes the new clean picture.
  std::optional<TRasterBitmap> cut =
      CroppedCopy(document.Source.CleanCopy(), selection, &result.Clamped);
  if (!cut) return result;
  result.Cropped = true;
  document.Source.Picture = std::move(*cut);
  ShiftGeoReference(document.Source.GeoReference(), result.Clamped.Left, result.Clamped.Top);
  result.Texts = document.SourceChanged();
  return result;
}

}  // namespace quorvane
