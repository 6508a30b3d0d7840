// The extended TIFF reader as the program runs it: the memory cap of a real
// picture rather than a few megabytes, chunks decoded on several threads
// through the program's own band runner. Its working memory is held against
// the picture: at most twice the picture's bytes plus a constant (and, for a
// stretched picture read once, a working copy bounded by the file's size).
// A picture that decodes is then saved as TIFF and as a Windows bitmap into
// a sink that keeps no bytes, and the save may take no more than a few rows.
#include "anytiff/any_tiff_reader.h"
#include "formats/bmp_file.h"
#include "fuzz_check.h"
#include "fuzz_memory.h"
#include "imaging/parallel_bands.h"
#include "raster/converted_rows.h"
#include "raster/error.h"
#include "raster/geotiff_tags.h"
#include "tiff/tiff_writer.h"

using namespace quorvane;

namespace {

constexpr uint64_t kPictureCap = uint64_t(64) << 20;
// libtiff's state, the chunk buffers' room beyond the picture, the threads.
constexpr uint64_t kReaderConstant = uint64_t(48) << 20;
constexpr uint64_t kMostCompression = 16;
// The writers' state and a band of rows.
constexpr uint64_t kSaveConstant = uint64_t(4) << 20;

// Counts the bytes and keeps none.
class TCountingSink final : public TByteSink {
 public:
  void Write(const void*, size_t n) override { end_ += n; }
  void WriteAt(uint64_t offset, const void*, size_t n) override {
    end_ = std::max(end_, offset + n);
  }
  uint64_t End() const override { return end_; }

 private:
  uint64_t end_ = 0;
};

void CheckSave(const TRasterBitmap& picture, const TGeoTiffTags& tags) {
  const uint64_t bound = kSaveConstant + 8 * uint64_t(picture.Width()) * 4;
  const uint64_t bytes = PixelMemorySize(picture.Width(), picture.Height(), 24);
  {
    fuzz::TMemoryWatch watch;
    TCountingSink sink;
    TConvertedRows rows(picture, TPixelFormat::Bit24);
    TTiffWriter writer(sink, rows.Frame(), {.PackBits = true, .GeoTiff = &tags}, nullptr);
    rows.WriteTo(writer);
    fuzz::CheckPeak("TIFF save", watch.Peak(), bound, bytes);
  }
  fuzz::TMemoryWatch watch;
  TCountingSink sink;
  TBmpWriter writer(sink, FrameOf(picture));
  WriteRows(picture, writer);
  fuzz::CheckPeak("bitmap save", watch.Peak(), bound + (uint64_t(1) << 20), bytes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  TAnyTiffOptions options;
  options.MaxPictureBytes = kPictureCap;
  options.Parallel = ParallelBands;
  options.Threads = 3;
  uint64_t claimed = 0;
  TGeoTiffTags tags;
  try {
    TMemoryTiffSource source(bytes);
    const TAnyTiffResult header = ReadAnyTiffHeader(source, tags, options);
    claimed = PixelMemorySize(header.Width, header.Height, BitsPerPixelOf(header.PixelFormat));
  } catch (const EQuorvaneError&) {
  }
  TRasterBitmap bitmap;
  {
    fuzz::TMemoryWatch watch;
    const uint64_t bound = 2 * claimed + kReaderConstant + kMostCompression * size;
    try {
      DecodeAnyTiffBytes(bytes, bitmap, tags, options);
    } catch (const EQuorvaneError&) {
    }
    fuzz::CheckPeak("decode", watch.Peak(), bound, claimed);
  }
  if (bitmap.Empty()) return 0;
  fuzz::TouchEveryRow(bitmap);
  try {
    CheckSave(bitmap, tags);
  } catch (const EQuorvaneError&) {
    // Pictures TIFF cannot hold are refused; that is no finding.
  }
  return 0;
}
