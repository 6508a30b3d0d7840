#pragma once
// Builds the raster bitmap from a TIFF directory already read into a
// TTiffInfo: checks what can be decoded, sizes the pixel memory, decodes the
// strips into it and adopts it into the bitmap.
#include "raster/bitmap.h"
#include "raster/progress.h"
#include "tiff/tiff_info.h"

namespace quorvane {

// Throws EQuorvaneError with the load's message on failure; the bitmap then
// keeps its previous picture. A strip that ends early is no failure: what was
// decoded is adopted. `progress` may be null.
void DecodeTiffImage(const TTiffFileBytes& file, TRasterBitmap& bitmap, const TTiffInfo& info,
                     TStageReporter* progress);

}  // namespace quorvane
