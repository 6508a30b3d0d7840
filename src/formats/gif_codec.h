#pragma once
// GIF through giflib. Reading takes the first frame: when it covers the
// whole logical screen its indices and palette are the picture; otherwise
// the picture is the screen, filled with the background colour and carrying
// the global palette, with the frame drawn onto it. Writing takes a palette
// bitmap and LZW-codes its indices with its palette.
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "raster/bitmap.h"
#include "raster/byte_sink.h"
#include "raster/codec.h"
#include "raster/row_writer.h"

namespace quorvane {

// The logical screen's size (the first frame's extent when the screen has
// none); always 8-bit.
TPictureInfo ReadGifHeader(std::span<const uint8_t> bytes, const TDecodeLimits& limits = {});
// The result is 8-bit. On an exception the bitmap keeps its previous
// picture; a file that ends inside the frame keeps the rows decoded.
void DecodeGif(std::span<const uint8_t> bytes, TRasterBitmap& bitmap,
               const TDecodeOptions& options = {});

// Takes the rows of a 1-, 4- or 8-bit palette frame top to bottom and writes
// the file into the sink as they come: the frame's palette and the rows'
// indices, LZW-coded. A sink that fails ends the encoding with its own
// failure.
class TGifWriter final : public TRowWriter {
 public:
  TGifWriter(TByteSink& sink, const TPictureFrame& frame, TStageReporter* progress = nullptr);
  ~TGifWriter() override;
  TGifWriter(const TGifWriter&) = delete;
  TGifWriter& operator=(const TGifWriter&) = delete;
  void WriteRow(const uint8_t* row) override;
  void Finish() override;

 private:
  struct TState;  // giflib's, kept behind a stable address
  [[noreturn]] void Fail(int code) const;

  std::unique_ptr<TState> state_;
  TPictureFrame frame_;
  std::vector<uint8_t> line_;
  std::optional<TRowProgress> rows_;
  uint64_t rows_done_ = 0;
};

// `bitmap` must be a 1-, 4- or 8-bit palette bitmap.
std::vector<uint8_t> EncodeGif(const TRasterBitmap& bitmap, TStageReporter* progress = nullptr);

}  // namespace quorvane
