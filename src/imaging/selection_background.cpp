#include "imaging/selection_background.h"

#include <algorithm>
#include <cstring>

#include "imaging/selection_geometry.h"

namespace quorvane {

namespace {

// The bytes of one row holding pixels left .. right-1. With fewer than 8
// bits per pixel the first and last bytes may also hold pixels outside.
struct TByteSpan {
  size_t First = 0, Count = 0;
};

TByteSpan RowBytes(int bits, const TRect& area) {
  const size_t first = size_t(area.Left) * size_t(bits) / 8;
  const size_t end = (size_t(area.Right) * size_t(bits) + 7) / 8;
  return {first, end - first};
}

// The bits of `byte` that belong to pixels left .. right-1 (pixels of fewer
// than 8 bits fill a byte from its top bit down).
uint8_t PixelMask(int bits, size_t byte, int64_t left, int64_t right) {
  const int per_byte = 8 / bits;
  const unsigned pixel_bits = (1u << bits) - 1;
  uint8_t mask = 0;
  for (int i = 0; i < per_byte; ++i) {
    const int64_t x = int64_t(byte) * per_byte + i;
    if (x >= left && x < right) mask |= uint8_t(pixel_bits << (8 - bits * (i + 1)));
  }
  return mask;
}

// Writes `saved` over `row`, keeping the neighbours that share the first
// and last bytes with the band.
void PutBack(uint8_t* row, const uint8_t* saved, int bits, const TRect& area, TByteSpan span) {
  if (bits >= 8) {
    std::memcpy(row + span.First, saved, span.Count);
    return;
  }
  for (size_t i = 0; i < span.Count; ++i) {
    const size_t byte = span.First + i;
    const uint8_t mask = (i == 0 || i + 1 == span.Count)
                             ? PixelMask(bits, byte, area.Left, area.Right)
                             : uint8_t(0xFF);
    row[byte] = uint8_t((row[byte] & ~mask) | (saved[i] & mask));
  }
}

}  // namespace

TChangedRects TBoxBackground::Plan(const TRasterBitmap& picture, const TRect& box) {
  const TRect bounds{0, 0, picture.Width(), picture.Height()};
  const std::array<TRect, 4> areas = BoxBands(box);
  const int bits = picture.BitsPerPixel();
  size_t total = 0;
  for (size_t i = 0; i < bands_.size(); ++i) {
    TBand& band = bands_[i];
    band.Area = IntersectRects(areas[i], bounds);
    band.Offset = total;
    total += RowBytes(bits, band.Area).Count * size_t(band.Area.Bottom - band.Area.Top);
  }
  bytes_.resize(total);
  width_ = picture.Width();
  height_ = picture.Height();
  format_ = picture.PixelFormat();
  saved_ = true;
  return Areas();
}

void TBoxBackground::SaveRows(const TRasterBitmap& picture, int top, int bottom) {
  const int bits = picture.BitsPerPixel();
  for (const TBand& band : bands_) {
    const TByteSpan span = RowBytes(bits, band.Area);
    const int from = std::max(top, band.Area.Top), to = std::min(bottom, band.Area.Bottom);
    for (int y = from; y < to; ++y)
      std::memcpy(bytes_.data() + band.Offset + size_t(y - band.Area.Top) * span.Count,
                  picture.Scanline(y) + span.First, span.Count);
  }
}

bool TBoxBackground::Restorable(const TRasterBitmap& picture) const {
  return saved_ && picture.Width() == width_ && picture.Height() == height_ &&
         picture.PixelFormat() == format_;
}

void TBoxBackground::RestoreRows(TRasterBitmap& picture, int top, int bottom) const {
  const int bits = picture.BitsPerPixel();
  for (const TBand& band : bands_) {
    const TByteSpan span = RowBytes(bits, band.Area);
    const int from = std::max(top, band.Area.Top), to = std::min(bottom, band.Area.Bottom);
    for (int y = from; y < to; ++y)
      PutBack(picture.Scanline(y),
              bytes_.data() + band.Offset + size_t(y - band.Area.Top) * span.Count, bits, band.Area,
              span);
  }
}

TChangedRects TBoxBackground::Save(const TRasterBitmap& picture, const TRect& box) {
  const TChangedRects kept = Plan(picture, box);
  const TRect rows = Rows();
  SaveRows(picture, rows.Top, rows.Bottom);
  return kept;
}

TChangedRects TBoxBackground::Restore(TRasterBitmap& picture) {
  if (!Restorable(picture)) {
    Forget();
    return {};
  }
  const TRect rows = Rows();
  RestoreRows(picture, rows.Top, rows.Bottom);
  Forget();
  return Areas();
}

TChangedRects TBoxBackground::Areas() const {
  TChangedRects areas;
  for (const TBand& band : bands_) areas.Add(band.Area);
  return areas;
}

TRect TBoxBackground::Rows() const {
  TRect rows;
  bool any = false;
  for (const TBand& band : bands_) {
    if (band.Area.Bottom <= band.Area.Top) continue;
    rows.Top = any ? std::min(rows.Top, band.Area.Top) : band.Area.Top;
    rows.Bottom = any ? std::max(rows.Bottom, band.Area.Bottom) : band.Area.Bottom;
    any = true;
  }
  return rows;
}

}  // namespace quorvane
