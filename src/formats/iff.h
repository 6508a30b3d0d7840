#pragma once
// IFF pictures: FORM ILBM and FORM PBM read into 24-bit bitmaps; any bitmap
// written as an 8-bit PBM, plain or ByteRun1.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "raster/bitmap.h"
#include "raster/byte_sink.h"
#include "raster/codec.h"
#include "raster/picture_rows.h"
#include "raster/row_writer.h"

namespace quorvane {

struct TLbmEncodeOptions {
  // ByteRun1 rows instead of plain ones.
  bool Compress = false;
};

// The BMHD size (0 x 0 without one); always 24-bit.
TPictureInfo ReadLbmHeader(std::span<const uint8_t> bytes, const TDecodeLimits& limits = {});
// On an exception the bitmap keeps its previous picture.
void DecodeLbm(std::span<const uint8_t> bytes, TRasterBitmap& bitmap,
               const TDecodeOptions& options = {});
// Takes the rows of an 8-bit frame top to bottom and writes a FORM PBM into
// the sink as they come; the chunk sizes are put in at the end.
// The rows DecodeLbm gives, read from the file a band at a time; null for
// a file without a body. Throws DecodeLbm's messages for chunks it
// refuses, but not for a picture above the memory cap: only bands are held.
std::unique_ptr<TPictureRows> OpenLbmRows(const std::string& path);

class TLbmWriter final : public TRowWriter {
 public:
  TLbmWriter(TByteSink& sink, const TPictureFrame& frame, const TLbmEncodeOptions& options = {},
             TStageReporter* progress = nullptr);
  void WriteRow(const uint8_t* row) override;
  void Finish() override;

 private:
  TByteSink& sink_;
  int width_;
  bool compress_;
  TStageReporter* progress_;
  uint64_t form_size_at_ = 0, body_size_at_ = 0;
  std::vector<uint8_t> encoded_;
};

// Any bitmap, converted to 8 bits a row at a time, into the sink.
void WriteLbm(const TRasterBitmap& bitmap, TByteSink& sink, const TLbmEncodeOptions& options = {},
              TStageReporter* progress = nullptr);
std::vector<uint8_t> EncodeLbm(const TRasterBitmap& bitmap, const TLbmEncodeOptions& options = {},
                               TStageReporter* progress = nullptr);

}  // namespace quorvane
