#pragma once
// Pictures on the system clipboard, as the platform's bitmap (an image);
// only the pixels go there, no separate palette.
#include <QImage>

#include "raster/bitmap.h"

namespace quorvane {

// A full-size copy of the picture as an opaque 32-bit image.
QImage ToClipboardImage(const TRasterBitmap& picture);
// The image as a raster bitmap: 8-bit with its colour table for an indexed
// image of up to 256 colours, 24-bit otherwise (transparency is dropped).
// Throws "Unsupported clipboard format" for a null image.
TRasterBitmap FromClipboardImage(const QImage& image);

// Replaces the clipboard's content with the picture.
void PutPictureOnClipboard(const TRasterBitmap& picture);
// The clipboard's picture; throws "Unsupported clipboard format" when it
// holds none.
TRasterBitmap PictureFromClipboard();

}  // namespace quorvane
