#pragma once
// The Windows bitmap (BMP) file image of a raster bitmap: 14-byte file
// header, 40-byte information header, colour table, pixel rows.
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "raster/bitmap.h"
#include "raster/bottom_up_rows.h"
#include "raster/byte_sink.h"
#include "raster/byte_stream.h"
#include "raster/codec.h"
#include "raster/picture_rows.h"
#include "raster/row_writer.h"

namespace quorvane {

// Writes 1/4/8/15/16/24/32-bit bitmaps uncompressed at the stream position,
// bottom-up, with a 40-byte BITMAPINFOHEADER. 15-bit is written as 16 bits
// per pixel BI_RGB (the format's own 5-5-5 default); 16-bit (5-6-5) as 16
// bits per pixel BI_BITFIELDS with the masks F800/07E0/001F after the
// header, so it reads back as 5-6-5. Device and custom pixels (held as 32
// bits) are written as 32-bit. Offsets 38 and 42 always hold the resolution.
void SaveBitmapToStream(const TRasterBitmap& bitmap, TByteStream& stream);
// Reads a BMP file image starting at the stream position: OS/2 core, OS/2
// 2.x, BITMAPINFOHEADER, V2-V5 headers; top-down rows; RLE4/RLE8; 16/32-bit
// bit-field masks (5-5-5 gives 15-bit, 5-6-5 16-bit, other 16-bit masks
// 24-bit, other 32-bit masks 32-bit with the alpha in the fourth byte);
// 2 bits per pixel as 4-bit. Short pixel data keeps the rows present.
// Throws EQuorvaneError ("Invalid bitmap file: ..." or "Unsupported bitmap
// file: ...") on corrupt or unsupported input, and then the bitmap keeps
// its previous picture. See bmp_file.cpp for the exact limits.
void LoadBitmapFromStream(TRasterBitmap& bitmap, TByteStream& stream);

// The codec's shape over the same file image, which starts at the first byte.
TPictureInfo ReadBmpHeader(std::span<const uint8_t> bytes, const TDecodeLimits& limits = {});
void DecodeBmp(std::span<const uint8_t> bytes, TRasterBitmap& bitmap,
               const TDecodeOptions& options = {});
std::vector<uint8_t> EncodeBmp(const TRasterBitmap& bitmap);
// The rows DecodeBmp gives, read from the file a stretch at a time; null for
// RLE data, whose rows cannot be found without decoding all before them.
// Throws DecodeBmp's messages for a header it refuses, but not for a
// picture above the memory cap: only bands are held.
std::unique_ptr<TPictureRows> OpenBmpRows(const std::string& path);

// Takes the rows of a frame of any pixel format top to bottom and writes the
// same file image into the sink: the headers at once, the rows bottom row
// first as the format stores them, a band of rows at a time.
class TBmpWriter final : public TRowWriter {
 public:
  TBmpWriter(TByteSink& sink, const TPictureFrame& frame);
  void WriteRow(const uint8_t* row) override;
  void Finish() override;

 private:
  std::optional<TBottomUpRows> rows_;
};

struct TResolution {
  int32_t X = 0, Y = 0;
};
// Pixels per metre, through the bitmap's BMP file image.
TResolution GetResolution(const TRasterBitmap& bitmap);
void SetResolution(TRasterBitmap& bitmap, int32_t x, int32_t y);

}  // namespace quorvane
