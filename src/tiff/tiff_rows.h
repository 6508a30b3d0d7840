#pragma once
// Turns one decoded TIFF row into the raster bitmap's layout: undoes the
// horizontal predictor, then converts samples (RGB to BGR, CMYK to BGR,
// WhiteIsZero inversion, 16-bit grey to 15-bit).
#include <cstddef>
#include <cstdint>

namespace quorvane {

struct TTiffRowFormat {
  uint32_t BitsPerPixel = 0;
  uint16_t Photometric = 1;
  bool HorizontalPredictor = false;  // Predictor 2 at 8, 24 or 32 bits per pixel
  bool BigEndian = false;            // byte order of 16-bit samples
};

// Stores `n` decoded bytes from `source` into `row` and finishes them. `source`
// may equal `row` (in-place), otherwise the two must not overlap. A row that
// arrived short (n below the row length) is finished over the whole pixels it
// holds.
void StoreTiffRow(const TTiffRowFormat& format, uint8_t* row, const uint8_t* source, size_t n);

// Exchanges the first and third byte of `pixels` three-byte pixels (blue,
// green, red to red, green, blue and back). `out` may equal `in`; otherwise
// they must not overlap.
void SwapRedBlue24(uint8_t* out, const uint8_t* in, size_t pixels);

}  // namespace quorvane
