// Resampling an 8000 x 6000 24-bit picture to 50% and 150%, on one thread and
// on two. The picture is the one bench/resample_compare.sh feeds the other
// tools when QUORVANE_BENCH_PICTURE names its raw BGR dump; otherwise a
// synthetic one of the same size.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

#include "imaging/resample.h"
#include "imaging/resample_filters.h"

namespace {

using quorvane::TPixelFormat;
using quorvane::TRasterBitmap;

constexpr int kWidth = 8000;
constexpr int kHeight = 6000;

const TRasterBitmap& Picture() {
  static const TRasterBitmap picture = [] {
    TRasterBitmap bitmap;
    bitmap.Reset(TPixelFormat::Bit24, kWidth, kHeight);
    const char* path = std::getenv("QUORVANE_BENCH_PICTURE");
    FILE* file = path ? std::fopen(path, "rb") : nullptr;
    std::mt19937 random(1);
    for (int r = 0; r < kHeight; ++r) {
      uint8_t* row = bitmap.Scanline(r);
      if (file) {
        if (std::fread(row, 1, size_t(kWidth) * 3, file) != size_t(kWidth) * 3) std::abort();
        continue;
      }
      for (int i = 0; i < kWidth * 3; ++i) row[i] = uint8_t((i / 3 + r) * 7 + (random() & 15));
    }
    if (file) std::fclose(file);
    return bitmap;
  }();
  return picture;
}

// Arguments: percent, filter index, threads.
void BM_Resample(benchmark::State& state) {
  const int percent = int(state.range(0));
  const auto filter = quorvane::TResampleFilter(state.range(1));
  const int threads = int(state.range(2));
  const int width = kWidth * percent / 100, height = kHeight * percent / 100;
  for (auto _ : state) {
    state.PauseTiming();
    TRasterBitmap bitmap = Picture();
    state.ResumeTiming();
    quorvane::ResampleBitmap(bitmap, width, height, filter, {}, {.Threads = threads});
    benchmark::DoNotOptimize(bitmap.Bits());
  }
  state.SetLabel(std::string(quorvane::ResampleFilters[size_t(filter)].Name) + " " +
                 std::to_string(percent) + "% threads " + std::to_string(threads));
}

BENCHMARK(BM_Resample)
    ->ArgsProduct({{50, 150},
                   {int64_t(quorvane::TResampleFilter::BSpline),
                    int64_t(quorvane::TResampleFilter::Mitchell),
                    int64_t(quorvane::TResampleFilter::Lanczos3)},
                   {1, 2}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();
