#pragma once
// The rows of a picture in another pixel format, converted one row at a
// time, byte for byte as converting a copy of the whole picture would give
// them: a writer that needs 24-bit or palette rows gets them without a second
// picture in memory.
#include <cstdint>
#include <vector>

#include "raster/bitmap.h"
#include "raster/row_writer.h"

namespace quorvane {

class TConvertedRows {
 public:
  // Choosing an 8-bit palette for a colour picture reads it once here.
  TConvertedRows(const TRasterBitmap& picture, TPixelFormat format);

  // Size, the new pixel format and colour table, the picture's resolution.
  const TPictureFrame& Frame() const { return frame_; }
  // Image row `row` (top = 0), valid until the next call.
  const uint8_t* Row(int row);
  // Every row into the writer, then Finish.
  void WriteTo(TRowWriter& writer);

 private:
  const TRasterBitmap& picture_;
  TPictureFrame frame_;
  bool same_ = false;
  std::vector<uint8_t> row_, scratch_;
};

}  // namespace quorvane
