#pragma once
// JPEG through the IJG library: baseline and progressive files, colour,
// greyscale or CMYK, decoded at full size into 24-bit bitmaps; 24-bit
// bitmaps encoded as baseline colour JPEG.
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

// Quality of a JPEG written by the save command; the JPEG picture's own save
// writes 100.
constexpr int kDefaultJpegQuality = 90;

struct TJpegEncodeOptions {
  int Quality = kDefaultJpegQuality;
};

// Size of the frame; always 24-bit.
TPictureInfo ReadJpegHeader(std::span<const uint8_t> bytes, const TDecodeLimits& limits = {});
// On an exception ("JPEG error #<code>: <library message>") the bitmap keeps
// its previous picture. A file that ends early keeps the rows decoded.
void DecodeJpeg(std::span<const uint8_t> bytes, TRasterBitmap& bitmap,
                const TDecodeOptions& options = {});
// The rows DecodeJpeg gives, read from the file a band at a time; null for
// a file of several scans (progressive ones among them), whose rows come
// only once all is read. Throws DecodeJpeg's messages for a header it
// refuses, but not for a picture above the memory cap: only bands are held.
std::unique_ptr<TPictureRows> OpenJpegRows(const std::string& path);
// Takes the rows of a 24-bit frame top to bottom and writes the file into
// the sink as they come.
class TJpegWriter final : public TRowWriter {
 public:
  TJpegWriter(TByteSink& sink, const TPictureFrame& frame, const TJpegEncodeOptions& options = {},
              TStageReporter* progress = nullptr);
  ~TJpegWriter() override;
  TJpegWriter(const TJpegWriter&) = delete;
  TJpegWriter& operator=(const TJpegWriter&) = delete;
  void WriteRow(const uint8_t* row) override;
  void Finish() override;

 private:
  struct TState;  // libjpeg's, kept behind a stable address
  void Check(bool step_done) const;

  std::unique_ptr<TState> state_;
  std::optional<TRowProgress> rows_;
  uint64_t rows_done_ = 0;
};

// `bitmap` must be 24-bit.
std::vector<uint8_t> EncodeJpeg(const TRasterBitmap& bitmap, const TJpegEncodeOptions& options = {},
                                TStageReporter* progress = nullptr);

}  // namespace quorvane
