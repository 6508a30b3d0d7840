#include "document/streamed_job.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "geo/geo_reference.h"
#include "geo/geotiff_georef.h"
#include "imaging/bitmap_utils.h"
#include "io/row_streams.h"
#include "raster/byte_stream.h"
#include "raster/output_file.h"
#include "raster/pixel_convert.h"

namespace quorvane {

namespace {

// One band's rows in 24 bits, cut and tone-mapped, into the writer, which
// is made at the first band (its frame takes the band's resolution).
class TRowChain {
 public:
  TRowChain(const TStreamedJob& job, const TRect& kept, const TGeoTiffTags& tags)
      : job_(job), kept_(kept), tags_(tags), file_(job.Output) {}

  void Band(const TRasterBitmap& band, int rows) {
    if (!writer_) Start(band);
    for (int r = 0; r < rows; ++r, ++row_) {
      if (row_ < kept_.Top || row_ >= kept_.Bottom) continue;
      const uint8_t* whole = Row24(band, r);
      uint8_t* out = out_.data();
      std::memcpy(out, whole + size_t(kept_.Left) * 3, size_t(kept_.Right - kept_.Left) * 3);
      if (job_.Tone) {
        for (size_t i = 0; i < size_t(kept_.Right - kept_.Left) * 3; ++i)
          out[i] = (*job_.Tone)[out[i]];
      }
      writer_->WriteRow(out);
    }
  }

  void Finish() {
    writer_->Finish();
    file_.Commit();
  }

 private:
  void Start(const TRasterBitmap& band) {
    TPictureFrame frame = FrameOf(band);
    frame.Width = kept_.Right - kept_.Left;
    frame.Height = kept_.Bottom - kept_.Top;
    frame.PixelFormat = TPixelFormat::Bit24;
    frame.Palette.clear();
    out_.assign(frame.Stride(), 0);
    row24_.resize(size_t(RowStride(band.Width(), 24, 32)));
    writer_ =
        MakeRowWriter(job_.Output, file_, frame,
                      {.Compress = job_.Compress, .GeoTiff = job_.GeoTiff, .GeoTiffTags = &tags_});
  }

  const uint8_t* Row24(const TRasterBitmap& band, int r) {
    if (band.PixelFormat() == TPixelFormat::Bit24) return band.Scanline(r);
    ConvertRow(band, r, TPixelFormat::Bit24, {}, row24_.data(), scratch_);
    return row24_.data();
  }

  const TStreamedJob& job_;
  const TRect kept_;
  const TGeoTiffTags& tags_;
  TOutputFile file_;
  std::unique_ptr<TRowWriter> writer_;
  std::vector<uint8_t> out_, row24_, scratch_;
  int row_ = 0;
};

}  // namespace

TStreamOutcome RunStreamedJob(const TStreamedJob& job) {
  if (!WritesTrueColourRows(job.Output)) return TStreamOutcome::NotStreamable;
  TGeoTiffTags file_tags;
  ClearGeoTiffTags(file_tags);
  const std::unique_ptr<TPictureRows> rows = OpenPictureRows(job.Input, file_tags, job.Load);
  if (!rows) return TStreamOutcome::NotStreamable;
  const TPictureInfo& picture = rows->Picture();
  // The georeference an open derives from the file's tags, moved with a cut.
  TGeoReference reference;
  ResetGeoReference(reference);
  GeoTiffToGeoReference(file_tags, reference);
  TRect kept{0, 0, int(picture.Width), int(picture.Height)};
  if (job.Crop) {
    const std::optional<TRect> clamped =
        ClampedCropRect(*job.Crop, int(picture.Width), int(picture.Height));
    if (!clamped) return TStreamOutcome::CutsNothing;
    kept = *clamped;
    ShiftGeoReference(reference, kept.Left, kept.Top);
  }
  TGeoTiffTags tags;
  GeoReferenceToGeoTiff(reference, tags);
  TRowChain chain(job, kept, tags);
  rows->Stream([&](const TRasterBitmap& band, int count) { chain.Band(band, count); });
  chain.Finish();
  return TStreamOutcome::Saved;
}

}  // namespace quorvane
