#pragma once
// Colour models only libtiff knows how to turn into RGB (YCbCr without JPEG,
// CIE Lab, LogLuv, old-style JPEG) go through its RGBA reader, a band of
// rows at a time, into a 24-bit picture.
#include <cstdint>

#include "raster/bitmap.h"
#include "raster/progress.h"
#include "anytiff/any_tiff_handle.h"
#include "anytiff/any_tiff_layout.h"

namespace quorvane {

// `buffer_limit` bounds the band buffer. Reports Starting with one step per
// row, then Running per row.
void DecodeAnyTiffRgba(TLibTiffHandle& handle, const TAnyTiffLayout& layout, uint64_t buffer_limit,
                       TStageReporter* progress, TRasterBitmap& picture);

}  // namespace quorvane
