#pragma once
// The Windows bitmap (BMP) file image of a raster bitmap: 14-byte file
// header, 40-byte information header, colour table, pixel rows.
#include <string>

#include "raster/bitmap.h"
#include "raster/byte_stream.h"

namespace quorvane {

// Writes 1/4/8/15/16/24/32-bit bitmaps uncompressed at the stream position.
void SaveBitmapToStream(const TRasterBitmap& bitmap, TByteStream& stream);
// Reads a BMP file image (also top-down rows, RLE4/RLE8, bit-field masks).
// On an exception the bitmap keeps its previous picture.
void LoadBitmapFromStream(TRasterBitmap& bitmap, TByteStream& stream);

void SaveBmpFile(const TRasterBitmap& bitmap, const std::string& path);
void LoadBmpFile(TRasterBitmap& bitmap, const std::string& path);

struct TResolution {
  int32_t X = 0, Y = 0;
};
// Pixels per metre, through the bitmap's BMP file image.
TResolution GetResolution(const TRasterBitmap& bitmap);
void SetResolution(TRasterBitmap& bitmap, int32_t x, int32_t y);

}  // namespace quorvane
