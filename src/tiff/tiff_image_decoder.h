#pragma once
// Builds the raster bitmap from a TIFF directory already read into a
// TTiffInfo: checks what can be decoded, sizes the pixel memory, decodes the
// strips into it and adopts it into the bitmap.
#include "raster/bitmap.h"
#include "raster/byte_reader.h"
#include "raster/codec.h"
#include "tiff/tiff_info.h"

namespace quorvane {

// The size and pixel format DecodeTiffImage would give, after every check it
// makes before allocating (supported kind, the picture size limit).
TPictureInfo CheckTiffImage(const TByteReader& file, const TTiffInfo& info,
                            const TDecodeLimits& limits);

// Throws EQuorvaneError with the load's message on failure; the bitmap then
// keeps its previous picture. A strip that ends early is no failure: what was
// decoded is adopted and the rest of the picture is what zero bytes give.
void DecodeTiffImage(const TByteReader& file, TRasterBitmap& bitmap, const TTiffInfo& info,
                     const TDecodeOptions& options);

}  // namespace quorvane
