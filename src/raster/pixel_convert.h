#pragma once
// Moving pixels between pixel formats. Everything goes through 24-bit blue,
// green, red: reading any format as 24-bit keeps every colour; writing 24-bit
// into a palette format picks the nearest colour of the destination's own
// palette.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "raster/bitmap.h"

namespace quorvane {

// Pixels x .. x+count-1 of image row `row`, as count*3 bytes blue, green, red.
void ReadRowAs24(const TRasterBitmap& bitmap, int row, int x, int count, uint8_t* out);
// The reverse: count*3 bytes blue, green, red into pixels x .. x+count-1.
void WriteRowFrom24(TRasterBitmap& bitmap, int row, int x, int count, const uint8_t* in);

// A same-size block copy of the source rectangle (sx, sy, width, height) to
// (dx, dy) of the destination, converting pixel formats; parts outside
// either bitmap are skipped. Source and destination may be the same bitmap
// with overlapping rectangles.
void CopyRect(const TRasterBitmap& source, int sx, int sy, int width, int height,
              TRasterBitmap& destination, int dx, int dy);

// The colour table SetPixelFormat(format) gives the bitmap: 2^bits entries
// for a palette format (the bitmap's own for its own format), none otherwise.
// For 8 bits from colours this reads the whole picture once.
std::vector<TRGBQuad> ConvertedPalette(const TRasterBitmap& bitmap, TPixelFormat format);
// Image row `row` of the bitmap in `format` with the colour table `palette`
// (from ConvertedPalette), byte for byte as SetPixelFormat gives it, padding
// included; `out` holds one row of that format. `scratch` is working room
// reused from row to row.
void ConvertRow(const TRasterBitmap& bitmap, int row, TPixelFormat format,
                std::span<const TRGBQuad> palette, uint8_t* out, std::vector<uint8_t>& scratch);

// The bitmap itself when it already has `format`, else a copy converted to
// it, kept in `copy`: writers convert a private copy, never the caller's.
const TRasterBitmap& InPixelFormat(const TRasterBitmap& bitmap, TPixelFormat format,
                                   std::optional<TRasterBitmap>& copy);

// The index of the palette colour nearest to (red, green, blue) by squared
// distance; the lowest index among equals. 0 for an empty palette.
uint8_t NearestPaletteIndex(std::span<const TRGBQuad> palette, uint8_t red, uint8_t green,
                            uint8_t blue);

}  // namespace quorvane
