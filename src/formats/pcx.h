#pragma once
// PCX pictures: six plane/depth kinds read into 24-bit bitmaps; bitmaps
// written as three-plane, 8-bit run-length PCX. The resolution is kept both
// ways: the header's dots per inch become pixels per metre and back, with
// the international inch unless a caller passes another (the US survey inch
// gives 39.37 per metre).
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
#include "raster/units.h"

namespace quorvane {

// Size of the picture the header describes; always 24-bit.
TPictureInfo ReadPcxHeader(std::span<const uint8_t> bytes, const TDecodeLimits& limits = {});
// Decodes into `bitmap` (24-bit afterwards). On an exception the bitmap
// keeps its previous picture.
void DecodePcx(std::span<const uint8_t> bytes, TRasterBitmap& bitmap,
               const TDecodeOptions& options = {}, double inches_per_metre = kInchesPerMetre);
// The rows DecodePcx gives, read from the file a band at a time (the body
// is read twice: the palette after it comes first). Throws DecodePcx's
// messages for a header it refuses, but not for a picture above the memory
// cap: only bands are held.
std::unique_ptr<TPictureRows> OpenPcxRows(const std::string& path);
// Takes the rows of a 24-bit frame top to bottom and writes the file into
// the sink as they come: three 8-bit planes, run-length coded, with the
// resolution in dots per inch.
class TPcxWriter final : public TRowWriter {
 public:
  TPcxWriter(TByteSink& sink, const TPictureFrame& frame, TStageReporter* progress = nullptr,
             double inches_per_metre = kInchesPerMetre);
  void WriteRow(const uint8_t* row) override;
  void Finish() override;

 private:
  TByteSink& sink_;
  int width_;
  TStageReporter* progress_;
  std::vector<uint8_t> encoded_;
};

// The whole file; a bitmap that is not 24-bit is converted a row at a time.
std::vector<uint8_t> EncodePcx(const TRasterBitmap& bitmap, TStageReporter* progress = nullptr,
                               double inches_per_metre = kInchesPerMetre);

}  // namespace quorvane
