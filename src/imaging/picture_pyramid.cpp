#include "imaging/picture_pyramid.h"

#include <algorithm>

#include "imaging/parallel_bands.h"
#include "raster/pixel_convert.h"

namespace quorvane {

namespace {

constexpr int kRowsPerBand = 32;

int Half(int side) {
  return (side + 1) / 2;
}

// Output row y of a level from two rows of the one above, blue, green, red;
// `width` is the upper row's width in pixels.
void AverageRows(const uint8_t* top, const uint8_t* bottom, int width, uint8_t* out) {
  const int pairs = width / 2;
  for (int x = 0; x < pairs; ++x, top += 6, bottom += 6, out += 3)
    for (int c = 0; c < 3; ++c)
      out[c] = uint8_t((top[c] + top[c + 3] + bottom[c] + bottom[c + 3] + 2) >> 2);
  if (width % 2)
    for (int c = 0; c < 3; ++c) out[c] = uint8_t((top[c] + bottom[c] + 1) >> 1);
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

// Output pixels [x0, x1) of rows [y0, y1) of `level` from `upper`.
void Reduce(const TUpperRows& upper, int x0, int x1, int y0, int y1, TPyramidLevel& level,
            std::vector<uint8_t>& top, std::vector<uint8_t>& bottom) {
  const int from = 2 * x0, to = std::min(2 * x1, upper.Width());
  for (int y = y0; y < y1; ++y) {
    const uint8_t* a = upper.Row(2 * y, from, to - from, top);
    const uint8_t* b = upper.Row(std::min(2 * y + 1, upper.Height() - 1), from, to - from, bottom);
    AverageRows(a, b, to - from, level.Row(y) + size_t(x0) * 3);
  }
}

TPyramidLevel ReducedLevel(const TUpperRows& upper, int threads, const std::atomic<bool>* cancel) {
  TPyramidLevel level{Half(upper.Width()), Half(upper.Height()), {}};
  level.Pixels.resize(size_t(level.Width) * size_t(level.Height) * 3);
  const int bands = (level.Height + kRowsPerBand - 1) / kRowsPerBand;
  std::vector<std::vector<uint8_t>> scratch(size_t(std::max(threads, 1)) * 2);
  ParallelBands(
      bands, threads,
      [&](int band, int worker, const TTick&) {
        if (cancel && cancel->load(std::memory_order_relaxed)) return;
        const int y0 = band * kRowsPerBand, y1 = std::min(level.Height, y0 + kRowsPerBand);
        Reduce(upper, 0, level.Width, y0, y1, level, scratch[size_t(worker) * 2],
               scratch[size_t(worker) * 2 + 1]);
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
  std::vector<uint8_t> top, bottom;
  for (size_t k = 0; k < levels_.size(); ++k) {
    // The level's pixels over the changed area: halve, rounding outwards.
    area = {area.Left / 2, area.Top / 2, Half(area.Right), Half(area.Bottom)};
    TPyramidLevel& level = levels_[k];
    area.Right = std::min(area.Right, level.Width);
    area.Bottom = std::min(area.Bottom, level.Height);
    if (area.Left >= area.Right || area.Top >= area.Bottom) return;
    const TUpperRows upper = k == 0 ? TUpperRows(picture) : TUpperRows(levels_[k - 1]);
    Reduce(upper, area.Left, area.Right, area.Top, area.Bottom, level, top, bottom);
  }
}

}  // namespace quorvane
