#include "raster/converted_rows.h"

#include "raster/pixel_convert.h"

namespace quorvane {

TConvertedRows::TConvertedRows(const TRasterBitmap& picture, TPixelFormat format)
    : picture_(picture), frame_(FrameOf(picture)), same_(picture.PixelFormat() == format) {
  if (same_) return;
  frame_.PixelFormat = format;
  frame_.Palette = ConvertedPalette(picture, format);
  row_.resize(frame_.Stride());
}

const uint8_t* TConvertedRows::Row(int row) {
  if (same_) return picture_.Scanline(row);
  ConvertRow(picture_, row, frame_.PixelFormat, frame_.Palette, row_.data(), scratch_);
  return row_.data();
}

void TConvertedRows::WriteTo(TRowWriter& writer) {
  for (int r = 0; r < frame_.Height; ++r) writer.WriteRow(Row(r));
  writer.Finish();
}

}  // namespace quorvane
