#pragma once
// Encoders take a picture row by row, top row first, and write to a byte
// sink as they go: a save holds neither a converted copy of the picture nor
// the whole encoded file, and a chain of row stages can feed an encoder as
// well as a whole picture can.
#include <cstdint>
#include <vector>

#include "raster/bitmap.h"

namespace quorvane {

// What the rows make up: size, pixel format, colour table, resolution.
struct TPictureFrame {
  int Width = 0;
  int Height = 0;
  TPixelFormat PixelFormat = TPixelFormat::Bit24;
  std::vector<TRGBQuad> Palette;  // palette formats: 2^bits entries
  int32_t XPelsPerMeter = 0;
  int32_t YPelsPerMeter = 0;

  // Bytes of one row as a bitmap stores it, padded to 4 bytes.
  size_t Stride() const;
};

TPictureFrame FrameOf(const TRasterBitmap& bitmap);

class TRowWriter {
 public:
  virtual ~TRowWriter() = default;
  // The next row, top row first, laid out as a bitmap of the frame's pixel
  // format stores it (Stride() bytes).
  virtual void WriteRow(const uint8_t* row) = 0;
  // After the last row: completes the file.
  virtual void Finish() = 0;
};

// Every row of the bitmap into the writer, then Finish.
void WriteRows(const TRasterBitmap& bitmap, TRowWriter& writer);

}  // namespace quorvane
