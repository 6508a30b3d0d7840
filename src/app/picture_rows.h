#pragma once
// Converting a rectangle of a raster bitmap (bottom-up rows, blue-green-red,
// palette formats) into a screen image at paint time, so a view never keeps
// a full-size copy of the picture it shows.
#include <QImage>
#include <QRect>

#include "raster/bitmap.h"

namespace quorvane {

// The pixels of `area` (clipped to the picture) as an opaque 32-bit image;
// a null image when nothing of `area` lies inside the picture.
QImage PictureRect(const TRasterBitmap& picture, const QRect& area);

// The whole picture shrunk (never enlarged) to fit `box`, keeping its
// proportions, by picking the nearest pixel; only the rows it shows are
// converted. A null image for an empty picture.
QImage PictureThumbnail(const TRasterBitmap& picture, const QSize& box);

}  // namespace quorvane
