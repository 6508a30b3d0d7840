#include "anytiff/any_tiff_band_sink.h"

#include <algorithm>
#include <cstring>

namespace quorvane {

namespace {
// Rows of zeros handed on at a time for a gap as wide as the image.
constexpr uint32_t kGapRows = 16;
}  // namespace

TBandSink::TBandSink(const TAnyTiffPlan& plan, uint32_t width, uint32_t height, TRowsOut rows)
    : direct_(plan, band_), width_(width), height_(height), rows_(std::move(rows)) {
  band_.Reset(plan.Format, int(width), 1);
  std::span<TRGBQuad> table = band_.ColorTable();
  std::copy_n(plan.Palette.begin(), std::min(plan.Palette.size(), table.size()), table.begin());
}

void TBandSink::Flush() {
  const uint32_t rows = std::min(end_, height_) - std::min(top_, end_);
  if (rows > 0 && !rows_(band_, int(rows))) throw TStop{};
  // A chunk the file lacks leaves zeros, as in a whole picture.
  for (uint32_t r = 0; r < rows; ++r) std::memset(band_.Scanline(int(r)), 0, band_.Stride());
  top_ = end_;
}

void TBandSink::Cover(uint32_t y, uint32_t height) {
  if (y >= end_) {
    Flush();
    top_ = y;
    end_ = y;
  }
  end_ = std::max(end_, std::min(y + height, height_));
  if (uint32_t(band_.Height()) < end_ - top_) {
    // A taller band than any before: the rows filled so far move along.
    TRasterBitmap taller;
    taller.Reset(band_.PixelFormat(), band_.Width(), int(end_ - top_));
    std::copy(band_.ColorTable().begin(), band_.ColorTable().end(), taller.ColorTable().begin());
    for (int r = 0; r < band_.Height(); ++r)
      std::memcpy(taller.Scanline(r), band_.Scanline(r), band_.Stride());
    band_ = std::move(taller);
  }
}

void TBandSink::Chunk(const TChunk& chunk) {
  Cover(chunk.Y, chunk.Height);
  TChunk in_band = chunk;
  in_band.Y = chunk.Y - top_;
  direct_.Chunk(in_band);
}

void TBandSink::Missing(uint32_t x, uint32_t y, uint32_t width, uint32_t height) {
  if (x > 0 || width < width_ || y < end_) {
    Cover(y, height);  // a tile within a band: zeros in place
    return;
  }
  // Whole rows the file lacks, perhaps a great many: zeros a few at a time.
  const uint32_t last = std::min(y + height, height_);
  for (uint32_t row = y; row < last; row += kGapRows) Cover(row, std::min(kGapRows, last - row));
}

void TBandSink::Finish() {
  Flush();
}

}  // namespace quorvane
