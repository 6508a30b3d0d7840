#include "raster/row_writer.h"

#include "raster/byte_stream.h"

namespace quorvane {

size_t TPictureFrame::Stride() const {
  return size_t(RowStride(Width, BitsPerPixelOf(PixelFormat), 32));
}

TPictureFrame FrameOf(const TRasterBitmap& bitmap) {
  const auto palette = bitmap.ColorTable();
  return {bitmap.Width(),         bitmap.Height(),
          bitmap.PixelFormat(),   std::vector<TRGBQuad>(palette.begin(), palette.end()),
          bitmap.XPelsPerMeter(), bitmap.YPelsPerMeter()};
}

void WriteRows(const TRasterBitmap& bitmap, TRowWriter& writer) {
  for (int r = 0; r < bitmap.Height(); ++r) writer.WriteRow(bitmap.Scanline(r));
  writer.Finish();
}

}  // namespace quorvane
