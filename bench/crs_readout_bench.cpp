// The Measure page's cursor readouts for one mouse move over a picture whose
// system PROJ converts (EPSG:3857, a user-defined Mercator on NAD27, the
// geographic EPSG:4326), the datum list's WGS 1984 and North American 1927,
// against a UTM zone of the table for comparison. The target is at most
// 20 us a move. The transforms are made at the first move and kept: that
// move is made before the timing starts.
#include <benchmark/benchmark.h>

#include <vector>

#include "geo/coordinate_system.h"
#include "geo/geotiff_georef.h"
#include "geo/measure_readouts.h"

namespace {

using namespace quorvane;

// A north-up georeference of the keys given as (id, value) pairs, each value
// in the key directory itself.
TGeoReference Reference(const std::vector<std::pair<uint16_t, uint16_t>>& keys,
                        const std::vector<std::pair<uint16_t, double>>& doubles, double x, double y,
                        double scale) {
  TGeoTiffTags tags;
  tags.KeyDirectoryVersion = tags.KeyRevision = 1;
  for (const auto& [id, value] : keys) tags.Keys[size_t(tags.KeyEntryCount++)] = {id, 0, 1, value};
  for (const auto& [id, value] : doubles) {
    tags.Keys[size_t(tags.KeyEntryCount++)] = {id, kTagGeoDoubleParams, 1,
                                               uint16_t(tags.DoubleCount)};
    tags.DoubleParams[size_t(tags.DoubleCount++)] = value;
  }
  tags.NumberOfKeys = uint16_t(tags.KeyEntryCount);
  tags.TiePointCount = 1;
  tags.TiePoints[0] = {0, 0, 0, x, y, 0};
  tags.PixelScale = {scale, scale, 0};
  TGeoReference reference;
  ResetGeoReference(reference);
  GeoTiffToGeoReference(tags, reference);
  return reference;
}

void Moves(benchmark::State& state, const TGeoReference& reference, TDatumChoice datum) {
  benchmark::DoNotOptimize(CursorReadouts(reference, 0, 0, datum));
  int step = 0;
  for (auto _ : state) {
    const int x = step++ & 1023;
    TCursorTexts texts = CursorReadouts(reference, x, 1023 - x, datum);
    benchmark::DoNotOptimize(texts);
  }
}

void BM_WebMercator(benchmark::State& state) {
  static const TGeoReference reference =
      Reference({{1024, 1}, {3072, 3857}}, {}, -8789636.7, 2941413.5, 200);
  Moves(state, reference, DatumAtPosition(int(state.range(0))));
}
BENCHMARK(BM_WebMercator)->Arg(22)->Arg(13)->Unit(benchmark::kMicrosecond)->Repetitions(5);

void BM_UserMercatorNad27(benchmark::State& state) {
  static const TGeoReference reference =
      Reference({{1024, 1}, {3072, 32767}, {3075, 7}, {2048, 4267}},
                {{3080, -90}, {3092, 0.8299163}}, 1871032.9, 693358.7, 154.75);
  Moves(state, reference, DatumAtPosition(int(state.range(0))));
}
BENCHMARK(BM_UserMercatorNad27)->Arg(22)->Arg(13)->Unit(benchmark::kMicrosecond)->Repetitions(5);

void BM_Geographic(benchmark::State& state) {
  static const TGeoReference reference = Reference({{1024, 2}, {2048, 4326}}, {}, -180, 90, 0.1);
  Moves(state, reference, DatumAtPosition(int(state.range(0))));
}
BENCHMARK(BM_Geographic)->Arg(22)->Arg(13)->Unit(benchmark::kMicrosecond)->Repetitions(5);

void BM_TableUtmZone(benchmark::State& state) {
  static const TGeoReference reference =
      Reference({{1024, 1}, {3072, 32618}}, {}, 500000, 4649776, 30);
  Moves(state, reference, TDatumChoice::Wgs1984);
}
BENCHMARK(BM_TableUtmZone)->Unit(benchmark::kMicrosecond)->Repetitions(5);

}  // namespace

BENCHMARK_MAIN();
