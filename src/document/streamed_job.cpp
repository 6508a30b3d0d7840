#include "document/streamed_job.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <vector>

#include "geo/geo_reference.h"
#include "geo/geotiff_georef.h"
#include "imaging/bitmap_utils.h"
#include "imaging/row_resampler.h"
#include "io/row_streams.h"
#include "raster/band_read_ahead.h"
#include "raster/byte_stream.h"
#include "raster/output_file.h"
#include "raster/pixel_convert.h"

namespace quorvane {

namespace {

// What a resize makes of the picture: its size and the resampler.
struct TResizeStage {
  int Width = 0, Height = 0;
  bool Force24Bit = false;
  std::unique_ptr<TRowResampler> Resampler;
};

// One band's rows in 24 bits, cut and tone-mapped or resampled, into the
// writer, which is made at the first band (its frame takes the band's
// resolution).
class TRowChain {
 public:
  TRowChain(const TStreamedJob& job, const TRect& kept, TResizeStage* resize,
            const TGeoTiffTags& tags)
      : job_(job), kept_(kept), resize_(resize), tags_(tags), file_(job.Output) {}

  // False once the rows still to come are all below the cut.
  bool Band(const TRasterBitmap& band, int rows) {
    if (!writer_) Start(band);
    if (resize_) {
      Resample(band, rows);
      return true;
    }
    for (int r = 0; r < rows; ++r, ++row_) {
      if (row_ < kept_.Top || row_ >= kept_.Bottom) continue;
      const uint8_t* kept = Row24(band, r) + size_t(kept_.Left) * 3;
      const size_t bytes = size_t(kept_.Right - kept_.Left) * 3;
      // A writer reads a row (its stride) without changing it: a cut alone
      // needs no copy when that stride lies within the row it is cut from.
      const size_t row_stride =
          band.PixelFormat() == TPixelFormat::Bit24 ? band.Stride() : row24_.size();
      if (job_.Tone) {
        uint8_t* out = out_.data();
        for (size_t i = 0; i < bytes; ++i) out[i] = (*job_.Tone)[kept[i]];
        kept = out;
      } else if (size_t(kept_.Left) * 3 + out_.size() > row_stride) {
        std::memcpy(out_.data(), kept, bytes);
        kept = out_.data();
      }
      writer_->WriteRow(kept);
    }
    return row_ < kept_.Bottom;
  }

  void Finish() {
    if (resize_) resize_->Resampler->Finish(out_row_);
    writer_->Finish();
    file_.Commit();
  }

 private:
  void Start(const TRasterBitmap& band) {
    TPictureFrame frame = FrameOf(band);
    frame.Width = resize_ ? resize_->Width : kept_.Right - kept_.Left;
    frame.Height = resize_ ? resize_->Height : kept_.Bottom - kept_.Top;
    frame.PixelFormat = TPixelFormat::Bit24;
    frame.Palette.clear();
    out_.assign(frame.Stride(), 0);
    row24_.resize(size_t(RowStride(band.Width(), 24, 32)));
    if (resize_) StartResize(band);
    writer_ =
        MakeRowWriter(job_.Output, file_, frame,
                      {.Compress = job_.Compress, .GeoTiff = job_.GeoTiff, .GeoTiffTags = &tags_});
  }

  // The resampler reads rows in 24 bits as the whole picture's resize does,
  // and its rows are stored in the picture's own pixel format, which the
  // writer then reads back in 24 bits.
  void StartResize(const TRasterBitmap& band) {
    const bool keeps_format = !resize_->Force24Bit && band.PixelFormat() != TPixelFormat::Bit24;
    if (keeps_format) {
      stored_.Reset(band.PixelFormat(), resize_->Width, 1);
      std::copy(band.ColorTable().begin(), band.ColorTable().end(), stored_.ColorTable().begin());
    }
    out_row_ = [this, keeps_format](const uint8_t* row) {
      if (!keeps_format) return writer_->WriteRow(row);
      WriteRowFrom24(stored_, 0, 0, resize_->Width, row);
      ConvertRow(stored_, 0, TPixelFormat::Bit24, {}, out_.data(), scratch_);
      writer_->WriteRow(out_.data());
    };
  }

  void Resample(const TRasterBitmap& band, int rows) {
    for (int r = 0; r < rows; ++r) {
      const uint8_t* row = band.Scanline(r);
      if (band.PixelFormat() != TPixelFormat::Bit24) {
        if (resize_->Force24Bit) {
          ConvertRow(band, r, TPixelFormat::Bit24, {}, row24_.data(), scratch_);
        } else {
          ReadRowAs24(band, r, 0, band.Width(), row24_.data());
        }
        row = row24_.data();
      }
      resize_->Resampler->Push(row, out_row_);
    }
  }

  const uint8_t* Row24(const TRasterBitmap& band, int r) {
    if (band.PixelFormat() == TPixelFormat::Bit24) return band.Scanline(r);
    ConvertRow(band, r, TPixelFormat::Bit24, {}, row24_.data(), scratch_);
    return row24_.data();
  }

  const TStreamedJob& job_;
  const TRect kept_;
  TResizeStage* resize_;
  const TGeoTiffTags& tags_;
  TOutputFile file_;
  std::unique_ptr<TRowWriter> writer_;
  std::vector<uint8_t> out_, row24_, scratch_;
  TRasterBitmap stored_;  // one resized row in the picture's own format
  TRowResampler::TRowOut out_row_;
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
  TResizeStage resize;
  if (job.Resize) {
    const auto [width, height] = job.Resize->NewSize(picture.Width, picture.Height);
    if (width < 1 || height < 1 || width > INT_MAX / 3 || height > INT_MAX)
      return TStreamOutcome::NotStreamable;
    resize = {int(width), int(height), job.Resize->Force24Bit,
              std::make_unique<TRowResampler>(int(picture.Width), int(picture.Height), int(width),
                                              int(height), job.Resize->Filter)};
    if (!resize.Resampler->Streams()) return TStreamOutcome::NotStreamable;
    reference = ScaleGeoReference(reference, int(picture.Width), int(picture.Height), resize.Width,
                                  resize.Height);
  }
  TGeoTiffTags tags;
  GeoReferenceToGeoTiff(reference, tags);
  TRowChain chain(job, kept, job.Resize ? &resize : nullptr, tags);
  StreamAhead(*rows, [&](const TRasterBitmap& band, int count) { return chain.Band(band, count); });
  chain.Finish();
  return TStreamOutcome::Saved;
}

}  // namespace quorvane
