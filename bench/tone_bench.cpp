// One tone adjustment of an 8000 x 6000 24-bit picture against one memcpy of
// its pixels, both into a destination that already has the right size.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "imaging/tone.h"

namespace {

using quorvane::TPixelFormat;
using quorvane::TRasterBitmap;

TRasterBitmap& Picture() {
  static TRasterBitmap picture = [] {
    TRasterBitmap bitmap;
    bitmap.Reset(TPixelFormat::Bit24, 8000, 6000);
    for (size_t i = 0; i < bitmap.Stride() * 6000; ++i)
      bitmap.Bits()[i] = uint8_t(i * 13 + i / 977);
    return bitmap;
  }();
  return picture;
}

void BM_ToneAdjust(benchmark::State& state) {
  TRasterBitmap destination;
  quorvane::AdjustToneBitmap(Picture(), destination, {0.6, 0.45, 0.55});
  for (auto _ : state) {
    quorvane::AdjustToneBitmap(Picture(), destination, {0.6, 0.45, 0.55});
    benchmark::DoNotOptimize(destination.Bits());
  }
}
BENCHMARK(BM_ToneAdjust)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Memcpy(benchmark::State& state) {
  const size_t size = Picture().Stride() * 6000;
  std::vector<uint8_t> destination(size, 1);
  for (auto _ : state) {
    std::memcpy(destination.data(), Picture().Bits(), size);
    benchmark::DoNotOptimize(destination.data());
  }
}
BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
