#pragma once
// PNG through libpng: every colour type read into a 1-, 4-, 8-, 24- or
// 32-bit bitmap as decoded (16-bit samples reduced to 8); 24-bit bitmaps
// written as 8-bit RGB, Sub filter on every row, zlib level 7, no
// interlacing, IDAT chunks of at most 65535 bytes.
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "raster/bitmap.h"
#include "raster/byte_sink.h"
#include "raster/codec.h"
#include "raster/picture_rows.h"
#include "raster/row_writer.h"

namespace quorvane {

// Size and the pixel format the decoder gives for the file's colour type.
TPictureInfo ReadPngHeader(std::span<const uint8_t> bytes, const TDecodeLimits& limits = {});
// On an exception the bitmap keeps its previous picture. A file that ends
// inside the image data keeps the rows decoded.
void DecodePng(std::span<const uint8_t> bytes, TRasterBitmap& bitmap,
               const TDecodeOptions& options = {});
// The rows DecodePng gives, read from the file a band at a time; null for
// an interlaced file. Throws DecodePng's messages for a header it refuses,
// but not for a picture above the memory cap: only bands are held.
std::unique_ptr<TPictureRows> OpenPngRows(const std::string& path);
// Takes the rows of a 24-bit frame top to bottom and writes the file into
// the sink as they come.
class TPngWriter final : public TRowWriter {
 public:
  TPngWriter(TByteSink& sink, const TPictureFrame& frame, TStageReporter* progress = nullptr);
  ~TPngWriter() override;
  TPngWriter(const TPngWriter&) = delete;
  TPngWriter& operator=(const TPngWriter&) = delete;
  void WriteRow(const uint8_t* row) override;
  void Finish() override;

 private:
  struct TState;  // libpng's, kept behind a stable address
  void Check(bool step_done) const;

  std::unique_ptr<TState> state_;
  std::optional<TRowProgress> rows_;
  uint64_t rows_done_ = 0;
};

// `bitmap` must be 24-bit.
std::vector<uint8_t> EncodePng(const TRasterBitmap& bitmap, TStageReporter* progress = nullptr);

}  // namespace quorvane
