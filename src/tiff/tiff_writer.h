#pragma once
// Writes a raster bitmap as a little-endian, single-strip TIFF, optionally
// PackBits-compressed and optionally with the five GeoTIFF tags. A file that
// may grow past 4 GB is written as a BigTIFF, whose offsets have 64 bits.
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "raster/bitmap.h"
#include "raster/byte_sink.h"
#include "raster/geotiff_tags.h"
#include "raster/progress.h"
#include "raster/row_writer.h"

namespace quorvane {

class TTiffDirectoryBuilder;

struct TTiffEncodeOptions {
  // PackBits rows instead of plain ones.
  bool PackBits = false;
  // The GeoTIFF tags to write; null writes none.
  const TGeoTiffTags* GeoTiff = nullptr;
  // A file that may grow past this many bytes is written as a BigTIFF;
  // tests lower it to write small ones.
  uint64_t BigTiffAbove = std::numeric_limits<uint32_t>::max();
};

// Takes the rows of a 1-, 4-, 8-, 15-, 16- or 24-bit frame top to bottom and
// writes the file into the sink as they come. Throws "Invalid Pixel Format"
// for device, 32-bit and custom frames before writing anything. `progress`
// may be null; its hook is cleared when the writer is done with, whether the
// file was finished or not.
class TTiffWriter final : public TRowWriter {
 public:
  TTiffWriter(TByteSink& sink, const TPictureFrame& frame, const TTiffEncodeOptions& options,
              TStageReporter* progress);
  void WriteRow(const uint8_t* row) override;
  void Finish() override;

 private:
  void Report(TProgressStage stage, int steps = 1);
  uint64_t Offset(uint64_t position) const;
  void WriteHead();
  void AddEntries(TTiffDirectoryBuilder& directory) const;

  TStageHookClearer clear_hook_;  // first: it must outlive a failing constructor's body
  TByteSink& sink_;
  TPictureFrame frame_;
  TTiffEncodeOptions options_;
  TStageReporter* progress_;
  bool palette_;
  bool big_tiff_ = false;
  size_t row_bytes_ = 0;  // of one row in the file, before PackBits
  uint64_t strip_offset_ = 0;
  uint64_t strip_bytes_ = 0;
  std::vector<uint8_t> rgb_, encoded_;
};

// The whole file. Throws "Invalid Pixel Format" for device, 32-bit and custom
// bitmaps before building anything. `progress` may be null; its hook is
// cleared at the end.
std::vector<uint8_t> EncodeTiff(const TRasterBitmap& bitmap, const TTiffEncodeOptions& options = {},
                                TStageReporter* progress = nullptr);
void SaveTiffFile(const std::string& path, const TRasterBitmap& bitmap,
                  const TTiffEncodeOptions& options = {}, TStageReporter* progress = nullptr);

}  // namespace quorvane
