#include "imaging/picture_pyramid.h"

#include <algorithm>
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "imaging/parallel_bands.h"
#include "raster/pixel_convert.h"

namespace quorvane {

namespace {

constexpr int kRowsPerBand = 32;

int Half(int side) {
  return (side + 1) / 2;
}

// Sums of two rows, byte by byte, into 16-bit lanes.
void AddRows(const uint8_t* top, const uint8_t* bottom, size_t bytes, uint16_t* sum) {
  size_t i = 0;
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  for (; i + 16 <= bytes; i += 16) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(top + i));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bottom + i));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(sum + i),
                     _mm_add_epi16(_mm_unpacklo_epi8(a, zero), _mm_unpacklo_epi8(b, zero)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(sum + i + 8),
                     _mm_add_epi16(_mm_unpackhi_epi8(a, zero), _mm_unpackhi_epi8(b, zero)));
  }
#endif
  for (; i < bytes; ++i) sum[i] = uint16_t(top[i] + bottom[i]);
}

// A level's row from the column sums of two rows above (blue, green, red
// of `width` pixels, and two spare lanes): each output channel is
// (sum of pixel 2x + sum of pixel 2x + 1 + 2) / 4. On little-endian machines
// four lanes are added at once in a 64-bit word; no lane can carry over, as
// each stays below 1023.
void HalveColumns(const uint16_t* sum, int width, uint8_t* out) {
  const int pairs = width / 2;
  int x = 0;
  if constexpr (std::endian::native == std::endian::little) {
    for (; x < pairs; ++x, sum += 6, out += 3) {
      uint64_t left, right;
      std::memcpy(&left, sum, 8);
      std::memcpy(&right, sum + 3, 8);
      const uint64_t mean = ((left + right + 0x0002000200020002ull) >> 2) & 0x00ff00ff00ff00ffull;
      out[0] = uint8_t(mean);
      out[1] = uint8_t(mean >> 16);
      out[2] = uint8_t(mean >> 32);
    }
  }
  for (; x < pairs; ++x, sum += 6, out += 3)
    for (int c = 0; c < 3; ++c) out[c] = uint8_t((sum[c] + sum[c + 3] + 2) >> 2);
  if (width % 2)
    for (int c = 0; c < 3; ++c) out[c] = uint8_t((sum[c] + 1) >> 1);
}

// Where the rows of the level above come from: the picture (converted to
// 24 bits as needed) or a level.
class TUpperRows {
 public:
  explicit TUpperRows(const TRasterBitmap& picture) : picture_(&picture) {}
  explicit TUpperRows(const TPyramidLevel& level) : level_(&level) {}
  int Width() const { return picture_ ? picture_->Width() : level_->Width; }
  int Height() const { return picture_ ? picture_->Height() : level_->Height; }
  // Row y as blue, green, red; `scratch` holds it when it must be converted.
  const uint8_t* Row(int y, int x, int count, std::vector<uint8_t>& scratch) const {
    if (level_) return level_->Row(y) + size_t(x) * 3;
    if (picture_->PixelFormat() == TPixelFormat::Bit24)
      return picture_->Scanline(y) + size_t(x) * 3;
    scratch.resize(size_t(count) * 3);
    ReadRowAs24(*picture_, y, x, count, scratch.data());
    return scratch.data();
  }

 private:
  const TRasterBitmap* picture_ = nullptr;
  const TPyramidLevel* level_ = nullptr;
};

// One thread's rows in the making.
struct TScratch {
  std::vector<uint8_t> Top, Bottom;
  std::vector<uint16_t> Sums;
};

// Output pixels [x0, x1) of rows [y0, y1) of `level` from `upper`.
void Reduce(const TUpperRows& upper, int x0, int x1, int y0, int y1, TPyramidLevel& level,
            TScratch& scratch) {
  const int from = 2 * x0, to = std::min(2 * x1, upper.Width());
  const size_t bytes = size_t(to - from) * 3;
  scratch.Sums.resize(bytes + 2);  // the spare lanes HalveColumns reads
  for (int y = y0; y < y1; ++y) {
    const uint8_t* a = upper.Row(2 * y, from, to - from, scratch.Top);
    const int below = std::min(2 * y + 1, upper.Height() - 1);
    const uint8_t* b = upper.Row(below, from, to - from, scratch.Bottom);
    AddRows(a, b, bytes, scratch.Sums.data());
    HalveColumns(scratch.Sums.data(), to - from, level.Row(y) + size_t(x0) * 3);
  }
}

TPyramidLevel ReducedLevel(const TUpperRows& upper, int threads, const std::atomic<bool>* cancel) {
  TPyramidLevel level(Half(upper.Width()), Half(upper.Height()));
  const int bands = (level.Height + kRowsPerBand - 1) / kRowsPerBand;
  std::vector<TScratch> scratch(size_t(std::max(threads, 1)));
  ParallelBands(
      bands, threads,
      [&](int band, int worker, const TTick&) {
        if (cancel && cancel->load(std::memory_order_relaxed)) return;
        const int y0 = band * kRowsPerBand, y1 = std::min(level.Height, y0 + kRowsPerBand);
        Reduce(upper, 0, level.Width, y0, y1, level, scratch[size_t(worker)]);
      },
      nullptr);
  return level;
}

}  // namespace

TPicturePyramid TPicturePyramid::Build(const TRasterBitmap& picture, int threads,
                                       const std::atomic<bool>* cancel) {
  TPicturePyramid pyramid;
  if (picture.Empty()) return pyramid;
  threads = ResolveThreadCount(threads);
  pyramid.levels_.push_back(ReducedLevel(TUpperRows(picture), threads, cancel));
  while (pyramid.levels_.back().Width > 1 || pyramid.levels_.back().Height > 1)
    pyramid.levels_.push_back(ReducedLevel(TUpperRows(pyramid.levels_.back()), threads, cancel));
  if (cancel && cancel->load()) pyramid.levels_.clear();
  return pyramid;
}

int TPicturePyramid::LevelFor(double factor) const {
  int k = 0;
  while (k < LevelCount() && factor * double(int64_t(2) << k) <= 1.0) ++k;
  return k;
}

void TPicturePyramid::Refresh(const TRasterBitmap& picture, const TRect& rect) {
  TRect area = rect;
  TScratch scratch;
  for (size_t k = 0; k < levels_.size(); ++k) {
    // The level's pixels over the changed area: halve, rounding outwards.
    area = {area.Left / 2, area.Top / 2, Half(area.Right), Half(area.Bottom)};
    TPyramidLevel& level = levels_[k];
    area.Right = std::min(area.Right, level.Width);
    area.Bottom = std::min(area.Bottom, level.Height);
    if (area.Left >= area.Right || area.Top >= area.Bottom) return;
    const TUpperRows upper = k == 0 ? TUpperRows(picture) : TUpperRows(levels_[k - 1]);
    Reduce(upper, area.Left, area.Right, area.Top, area.Bottom, level, scratch);
  }
}

}  // namespace quorvane
