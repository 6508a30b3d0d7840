// 4 megapixels of noise written into an 8-bit palette picture: the nearest-
// colour search must be cached or indexed, not a scan of 256 entries per
// pixel (such a scan takes several times as long).
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "raster/bitmap.h"
#include "raster/pixel_convert.h"

namespace {

using quorvane::TPixelFormat;
using quorvane::TRasterBitmap;

constexpr int kSide = 2048;

void BM_WriteNoiseIntoPalette(benchmark::State& state) {
  TRasterBitmap picture;
  picture.Reset(TPixelFormat::Bit8, kSide, kSide);
  std::mt19937 rng(40);
  for (auto& entry : picture.ColorTable())
    entry = {uint8_t(rng()), uint8_t(rng()), uint8_t(rng()), 0};
  std::vector<uint8_t> rows(size_t(kSide) * kSide * 3);
  for (auto& v : rows) v = uint8_t(rng());
  for (auto _ : state) {
    for (int y = 0; y < kSide; ++y)
      quorvane::WriteRowFrom24(picture, y, 0, kSide, rows.data() + size_t(y) * kSide * 3);
    benchmark::DoNotOptimize(picture.Bits());
  }
}
BENCHMARK(BM_WriteNoiseIntoPalette)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
