// One UTM-to-geographic conversion, as run on every mouse move over an image.
#include <benchmark/benchmark.h>

#include "geo/datums.h"

namespace {

// Positions spread over a zone so the footpoint search takes its usual
// number of steps rather than the shortcut at the equator.
void BM_UtmToGeographic(benchmark::State& state) {
  double easting = 160000;
  double northing = 0;
  for (auto _ : state) {
    const quorvane::TGeographic g =
        quorvane::UtmToGeographic(18, true, easting, northing, quorvane::TDatumChoice::Wgs1984);
    benchmark::DoNotOptimize(g);
    easting += 6791.3;
    if (easting > 840000) easting -= 680000;
    northing += 93017.7;
    if (northing > 9300000) northing -= 9300000;
  }
}
BENCHMARK(BM_UtmToGeographic);

void BM_UtmToGeographicOnTheEquator(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        quorvane::UtmToGeographic(31, true, 500000, 0, quorvane::TDatumChoice::Wgs1984));
  }
}
BENCHMARK(BM_UtmToGeographicOnTheEquator);

}  // namespace

BENCHMARK_MAIN();
