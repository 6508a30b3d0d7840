#pragma once
// Truevision TGA: colour-mapped, true-colour and greyscale pictures, plain or
// run-length encoded, read; uncompressed true-colour written.
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "raster/bitmap.h"
#include "raster/bottom_up_rows.h"
#include "raster/byte_sink.h"
#include "raster/codec.h"
#include "raster/picture_rows.h"
#include "raster/row_writer.h"

namespace quorvane {

// 24-bit for colour-mapped, greyscale and 24-bit true colour, 15-bit for
// 15/16-bit and 32-bit for 32-bit true colour; type 0 has no pixels.
TPictureInfo ReadTgaHeader(std::span<const uint8_t> bytes, const TDecodeLimits& limits = {});
// On an exception the bitmap keeps its previous picture. Data that ends
// early leaves the rest of the picture black.
void DecodeTga(std::span<const uint8_t> bytes, TRasterBitmap& bitmap,
               const TDecodeOptions& options = {});
// The rows DecodeTga gives, read from the file a band at a time; null for a
// run-length file stored bottom row first (its rows cannot be found
// without decoding all before them) and for type 0. Throws DecodeTga's
// messages for a header it refuses, but not for a picture above the memory
// cap: only bands are held.
std::unique_ptr<TPictureRows> OpenTgaRows(const std::string& path);
// Takes the rows of a 24- or 32-bit frame top to bottom and writes them as
// uncompressed true colour, bottom row first, a band of rows at a time.
class TTgaWriter final : public TRowWriter {
 public:
  TTgaWriter(TByteSink& sink, const TPictureFrame& frame);
  void WriteRow(const uint8_t* row) override;
  void Finish() override;

 private:
  std::optional<TBottomUpRows> rows_;
};

// 24- and 32-bit bitmaps as uncompressed true colour.
std::vector<uint8_t> EncodeTga(const TRasterBitmap& bitmap);

}  // namespace quorvane
