#pragma once
// Painting a pane's picture at a zoom other than 1:1, one exposed
// rectangle at a time: each view pixel takes the picture pixel under it
// (zoomed in, a picture pixel becomes a square; zoomed out, the pixel of
// the reduced copy that covers it), so the work follows the size of the
// exposed area, never the size of the picture.
#include <QImage>
#include <QRect>

#include "imaging/picture_pyramid.h"
#include "imaging/view_zoom.h"
#include "raster/bitmap.h"

namespace quorvane {

// The exposed `area` (view pixels, inside the view's extent) of `picture`
// at `zoom`, or of the pyramid's level when `level` > 0.
QImage ZoomedPictureRect(const TRasterBitmap& picture, const TPicturePyramid* pyramid, int level,
                         const QRect& area, TViewZoom zoom);

}  // namespace quorvane
