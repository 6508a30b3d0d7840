// Temporary stand-in for the pixel-format helpers until they land: 24-bit and
// 8-bit palette only, nearest palette colour by squared distance.
#include <climits>
#include <cstring>
#include <vector>

#include "raster/pixel_convert.h"

namespace quorvane {

void ReadRowAs24(const TRasterBitmap& bitmap, int row, int x, int count, uint8_t* out) {
  const uint8_t* line = bitmap.Scanline(row);
  if (bitmap.PixelFormat() == TPixelFormat::Bit24) {
    std::memcpy(out, line + size_t(x) * 3, size_t(count) * 3);
    return;
  }
  const auto colors = bitmap.ColorTable();
  for (int i = 0; i < count; ++i) {
    const TRGBQuad q = colors[line[x + i]];
    out[3 * i] = q.Blue;
    out[3 * i + 1] = q.Green;
    out[3 * i + 2] = q.Red;
  }
}

void WriteRowFrom24(TRasterBitmap& bitmap, int row, int x, int count, const uint8_t* in) {
  uint8_t* line = bitmap.Scanline(row);
  if (bitmap.PixelFormat() == TPixelFormat::Bit24) {
    std::memmove(line + size_t(x) * 3, in, size_t(count) * 3);
    return;
  }
  const auto colors = bitmap.ColorTable();
  for (int i = 0; i < count; ++i) {
    int best = 0, best_distance = INT_MAX;
    for (int c = 0; c < int(colors.size()); ++c) {
      const int db = colors[c].Blue - in[3 * i], dg = colors[c].Green - in[3 * i + 1],
                dr = colors[c].Red - in[3 * i + 2];
      const int d = db * db + dg * dg + dr * dr;
      if (d < best_distance) best_distance = d, best = c;
    }
    line[x + i] = uint8_t(best);
  }
}

void CopyRect(const TRasterBitmap& source, int sx, int sy, int width, int height,
              TRasterBitmap& destination, int dx, int dy) {
  std::vector<uint8_t> row(size_t(width) * 3);
  if (dy <= sy) {
    for (int r = 0; r < height; ++r) {
      ReadRowAs24(source, sy + r, sx, width, row.data());
      WriteRowFrom24(destination, dy + r, dx, width, row.data());
    }
  } else {
    for (int r = height - 1; r >= 0; --r) {
      ReadRowAs24(source, sy + r, sx, width, row.data());
      WriteRowFrom24(destination, dy + r, dx, width, row.data());
    }
  }
}

}  // namespace quorvane
