// Times the extended TIFF reader, from a path to a decoded bitmap, on the two
// files its speed goals name, against libtiff reading the same files:
//
//   rgb_deflate: 8000 x 6000 RGB, 512 x 512 tiles, Deflate. Goal: at most
//     1.2 x a loop of TIFFReadRGBATile over every tile.
//   dem_float32: 8000 x 6000 Float32 elevation model, 512 x 512 tiles,
//     Deflate with the floating-point predictor, a nodata value. Goal: at
//     most 1.5 x a loop of TIFFReadEncodedTile over every tile.
//
// libtiff's loops decode each tile into one reused buffer and assemble no
// picture; ours ends with every pixel in a new bitmap, so it also pays for
// the page faults of the picture (and, for the stretch, of its working copy).
// For the RGB file a second yardstick is libtiff's loop copying its tiles
// into a new picture, which is what opening the file with libtiff costs.
// Ours runs once with one thread per core (through the program's band
// runner, as the product will) and once with one thread. At the end the
// ratio of our best time over libtiff's is printed, by wall clock and by
// CPU time (steadier when other work shares the machine, but summed over
// threads).
#include <benchmark/benchmark.h>
#include <tiffio.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "anytiff/any_tiff_reader.h"
#include "imaging/parallel_bands.h"
#include "raster/bitmap.h"
#include "raster/geotiff_tags.h"

namespace {

constexpr uint32_t kWidth = 8000;
constexpr uint32_t kHeight = 6000;
constexpr uint32_t kTile = 512;

std::string PathOf(const std::string& name) {
  return (std::filesystem::temp_directory_path() / "quorvane_any_tiff_bench" / (name + ".tif"))
      .string();
}

TIFF* Create(const std::string& name, uint16_t bits, uint16_t samples, uint16_t format) {
  TIFF* tif = TIFFOpen(PathOf(name).c_str(), "w");
  if (!tif) std::abort();
  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, kWidth);
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, kHeight);
  TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, bits);
  TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, samples);
  TIFFSetField(tif, TIFFTAG_SAMPLEFORMAT, format);
  TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, samples == 3 ? PHOTOMETRIC_RGB : PHOTOMETRIC_MINISBLACK);
  TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_ADOBE_DEFLATE);
  TIFFSetField(tif, TIFFTAG_TILEWIDTH, kTile);
  TIFFSetField(tif, TIFFTAG_TILELENGTH, kTile);
  return tif;
}

// Writes every tile, each filled by `pixel`(x, y, sample pointer).
template <typename T, typename F>
void WriteTiles(TIFF* tif, int samples, F&& pixel) {
  std::vector<T> tile(size_t(kTile) * kTile * samples);
  for (uint32_t y0 = 0; y0 < kHeight; y0 += kTile) {
    for (uint32_t x0 = 0; x0 < kWidth; x0 += kTile) {
      std::fill(tile.begin(), tile.end(), T(0));
      for (uint32_t r = 0; r < kTile && y0 + r < kHeight; ++r)
        for (uint32_t c = 0; c < kTile && x0 + c < kWidth; ++c)
          pixel(x0 + c, y0 + r, &tile[(size_t(r) * kTile + c) * samples]);
      if (TIFFWriteEncodedTile(tif, TIFFComputeTile(tif, x0, y0, 0, 0), tile.data(),
                               tmsize_t(tile.size() * sizeof(T))) < 0)
        std::abort();
    }
  }
  TIFFClose(tif);
}

// Smooth gradients and soft blobs with a little sensor-like noise, as a
// photograph or an orthoimage compresses.
void WriteRgb() {
  std::mt19937 random(20240607);
  std::normal_distribution<float> noise(0.0f, 1.6f);
  WriteTiles<uint8_t>(
      Create("rgb_deflate", 8, 3, SAMPLEFORMAT_UINT), 3, [&](uint32_t x, uint32_t y, uint8_t* p) {
        const float fx = float(x) / kWidth, fy = float(y) / kHeight;
        const float blob = 40.0f * std::sin(fx * 9.0f) * std::cos(fy * 7.0f);
        const float base[3] = {60.0f + 140.0f * fx + blob, 50.0f + 150.0f * fy - 0.5f * blob,
                               120.0f + 60.0f * std::sin((fx + fy) * 5.0f)};
        for (int c = 0; c < 3; ++c)
          p[c] = uint8_t(std::clamp(base[c] + noise(random), 0.0f, 255.0f));
      });
}

// Rolling terrain in metres with centimetre noise, and a nodata corner.
void WriteDem() {
  TIFF* tif = Create("dem_float32", 32, 1, SAMPLEFORMAT_IEEEFP);
  TIFFSetField(tif, TIFFTAG_PREDICTOR, PREDICTOR_FLOATINGPOINT);
  static const TIFFFieldInfo kNoData[] = {
      {42113, -1, -1, TIFF_ASCII, FIELD_CUSTOM, 1, 0, const_cast<char*>("GDALNoData")}};
  TIFFMergeFieldInfo(tif, kNoData, 1);
  TIFFSetField(tif, 42113, "-9999");
  std::mt19937 random(7);
  std::uniform_real_distribution<float> noise(-0.05f, 0.05f);
  WriteTiles<float>(tif, 1, [&](uint32_t x, uint32_t y, float* p) {
    if (x + y < 700) {
      *p = -9999.0f;
      return;
    }
    const float fx = float(x) * 0.0011f, fy = float(y) * 0.0013f;
    *p = 850.0f + 300.0f * std::sin(fx) * std::cos(fy) + 40.0f * std::sin(fx * 7.3f + fy * 3.1f) +
         noise(random);
  });
}

void PrepareFiles() {
  std::filesystem::create_directories(std::filesystem::path(PathOf("x")).parent_path());
  WriteRgb();
  WriteDem();
}

// Seconds per load, best run: wall clock and the process's CPU time.
struct TTimes {
  double wall = 1e9, cpu = 1e9;
};
std::map<std::string, TTimes> g_ours, g_ours_one, g_libtiff, g_libtiff_picture, g_fresh;

double CpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return double(t.tv_sec) + 1e-9 * double(t.tv_nsec);
}

class TStopwatch {
 public:
  TStopwatch() : wall_(std::chrono::steady_clock::now()), cpu_(CpuSeconds()) {}
  void Record(TTimes& best) const {
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wall_).count();
    best.wall = std::min(best.wall, wall);
    best.cpu = std::min(best.cpu, CpuSeconds() - cpu_);
  }

 private:
  std::chrono::steady_clock::time_point wall_;
  double cpu_;
};

// Ours with `threads` threads; the product hands in the program's own band
// runner the same way.
void BM_Quorvane(benchmark::State& state, std::string name, int threads) {
  const std::string path = PathOf(name);
  TTimes best;
  for (auto _ : state) {
    const TStopwatch watch;
    quorvane::TRasterBitmap bitmap;
    quorvane::TGeoTiffTags tags;
    quorvane::TAnyTiffOptions options;
    options.MaxPictureBytes = uint64_t(4) << 30;
    options.Parallel = quorvane::ParallelBands;
    options.Threads = threads;
    quorvane::DecodeAnyTiffFile(path, bitmap, tags, options);
    benchmark::DoNotOptimize(bitmap.Bits());
    bitmap = quorvane::TRasterBitmap();
    watch.Record(best);
  }
  (threads == 1 ? g_ours_one : g_ours)[name] = best;
}

// libtiff's RGBA interface, one tile at a time into one raster.
void BM_LibtiffRgbaTiles(benchmark::State& state, std::string name) {
  const std::string path = PathOf(name);
  TTimes best;
  std::vector<uint32_t> raster(size_t(kTile) * kTile);
  for (auto _ : state) {
    const TStopwatch watch;
    TIFF* tif = TIFFOpen(path.c_str(), "r");
    for (uint32_t y = 0; y < kHeight; y += kTile)
      for (uint32_t x = 0; x < kWidth; x += kTile)
        if (!TIFFReadRGBATile(tif, x, y, raster.data())) std::abort();
    benchmark::DoNotOptimize(raster.data());
    TIFFClose(tif);
    watch.Record(best);
  }
  g_libtiff[name] = best;
}

// The same loop as an open with libtiff alone would run it: every tile
// copied into a full picture taken fresh for each open (RGBA, as the
// interface gives it), so that both sides pay for a new picture's memory.
void BM_LibtiffRgbaPicture(benchmark::State& state, std::string name) {
  const std::string path = PathOf(name);
  TTimes best;
  std::vector<uint32_t> raster(size_t(kTile) * kTile);
  for (auto _ : state) {
    const TStopwatch watch;
    std::vector<uint32_t> picture(size_t(kWidth) * kHeight);
    TIFF* tif = TIFFOpen(path.c_str(), "r");
    for (uint32_t y = 0; y < kHeight; y += kTile)
      for (uint32_t x = 0; x < kWidth; x += kTile) {
        if (!TIFFReadRGBATile(tif, x, y, raster.data())) std::abort();
        const uint32_t rows = std::min(kTile, kHeight - y), cols = std::min(kTile, kWidth - x);
        // RGBA tiles come bottom row first.
        for (uint32_t r = 0; r < rows; ++r)
          std::copy_n(&raster[size_t(kTile - 1 - r) * kTile], cols,
                      &picture[size_t(y + r) * kWidth + x]);
      }
    benchmark::DoNotOptimize(picture.data());
    TIFFClose(tif);
    watch.Record(best);
  }
  g_libtiff_picture[name] = best;
}

// The tiles decoded and nothing else.
void BM_LibtiffEncodedTiles(benchmark::State& state, std::string name) {
  const std::string path = PathOf(name);
  TTimes best;
  for (auto _ : state) {
    const TStopwatch watch;
    TIFF* tif = TIFFOpen(path.c_str(), "r");
    std::vector<uint8_t> tile(size_t(TIFFTileSize(tif)));
    for (ttile_t t = 0; t < TIFFNumberOfTiles(tif); ++t)
      if (TIFFReadEncodedTile(tif, t, tile.data(), tmsize_t(tile.size())) < 0) std::abort();
    benchmark::DoNotOptimize(tile.data());
    TIFFClose(tif);
    watch.Record(best);
  }
  g_libtiff[name] = best;
}

// For reference: taking and first touching as much fresh memory as our load
// of the file does (the picture, and for the stretch its working copy), one
// write per page. No new picture can avoid this cost; subtract it to compare
// the decoding work alone.
void BM_FreshMemory(benchmark::State& state, std::string name, size_t bytes) {
  TTimes best;
  for (auto _ : state) {
    const TStopwatch watch;
    auto* p = static_cast<uint8_t*>(std::calloc(bytes, 1));
    if (!p) std::abort();
    for (size_t i = 0; i < bytes; i += 4096) p[i] = 1;
    benchmark::DoNotOptimize(p);
    std::free(p);
    watch.Record(best);
  }
  g_fresh[name] = best;
}

}  // namespace

int main(int argc, char** argv) {
  PrepareFiles();
  const struct {
    const char* name;
    void (*libtiff)(benchmark::State&, std::string);
    const char* yardstick;
    double goal;
    size_t fresh_bytes;
  } kCases[] = {
      {"rgb_deflate", BM_LibtiffRgbaTiles, "TIFFReadRGBATile", 1.2, size_t(kWidth) * kHeight * 3},
      {"dem_float32", BM_LibtiffEncodedTiles, "TIFFReadEncodedTile", 1.5,
       size_t(kWidth) * kHeight * (1 + 4)}};
  const int threads = quorvane::ResolveThreadCount(0);
  benchmark::RegisterBenchmark("libtiff_into_picture/rgb_deflate", BM_LibtiffRgbaPicture,
                               std::string("rgb_deflate"))
      ->Unit(benchmark::kMillisecond)
      ->MinTime(3.0);
  for (const auto& c : kCases) {
    benchmark::RegisterBenchmark((std::string("quorvane_1_thread/") + c.name).c_str(), BM_Quorvane,
                                 std::string(c.name), 1)
        ->Unit(benchmark::kMillisecond)
        ->MinTime(3.0);
    benchmark::RegisterBenchmark((std::string("quorvane/") + c.name).c_str(), BM_Quorvane,
                                 std::string(c.name), threads)
        ->Unit(benchmark::kMillisecond)
        ->MinTime(3.0);
    benchmark::RegisterBenchmark((std::string("libtiff/") + c.name).c_str(), c.libtiff,
                                 std::string(c.name))
        ->Unit(benchmark::kMillisecond)
        ->MinTime(3.0);
    benchmark::RegisterBenchmark((std::string("fresh_memory/") + c.name).c_str(), BM_FreshMemory,
                                 std::string(c.name), c.fresh_bytes)
        ->Unit(benchmark::kMillisecond)
        ->MinTime(1.0);
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::printf(
      "\nbest time per load, ours (%d threads, then 1) / libtiff's loop (1 thread)\n"
      "  file         threads  wall ours  libtiff  ratio |  cpu ours  libtiff  ratio | goal | "
      "yardstick\n",
      threads);
  for (const auto& c : kCases) {
    for (const auto* ours_by_name : {&g_ours, &g_ours_one}) {
      if (!ours_by_name->count(c.name) || !g_libtiff.count(c.name)) continue;
      const TTimes ours = ours_by_name->at(c.name), theirs = g_libtiff[c.name];
      std::printf("  %-11s %7d %8.1f ms %6.1f ms %6.2f | %6.1f ms %6.1f ms %6.2f | %4.1f | %s\n",
                  c.name, ours_by_name == &g_ours ? threads : 1, ours.wall * 1e3, theirs.wall * 1e3,
                  ours.wall / theirs.wall, ours.cpu * 1e3, theirs.cpu * 1e3, ours.cpu / theirs.cpu,
                  c.goal, c.yardstick);
    }
  }
  if (g_libtiff_picture.count("rgb_deflate")) {
    const TTimes theirs = g_libtiff_picture["rgb_deflate"];
    std::printf(
        "\nrgb_deflate against libtiff's loop assembling a new picture (%.1f ms wall, "
        "%.1f ms cpu)\n",
        theirs.wall * 1e3, theirs.cpu * 1e3);
    for (const auto* ours_by_name : {&g_ours, &g_ours_one}) {
      if (!ours_by_name->count("rgb_deflate")) continue;
      const TTimes ours = ours_by_name->at("rgb_deflate");
      std::printf("  %d thread(s): wall %.2f, cpu %.2f | goal 1.2\n",
                  ours_by_name == &g_ours ? threads : 1, ours.wall / theirs.wall,
                  ours.cpu / theirs.cpu);
    }
  }
  std::printf(
      "\nfresh memory our load takes, first touch alone (cpu), and our 1-thread cpu less it\n");
  for (const auto& c : kCases) {
    if (!g_fresh.count(c.name) || !g_ours_one.count(c.name) || !g_libtiff.count(c.name)) continue;
    const double fresh = g_fresh[c.name].cpu, rest = g_ours_one[c.name].cpu - fresh;
    std::printf("  %-11s %6.1f MB %6.1f ms | %6.1f ms, %.2f x libtiff\n", c.name,
                double(c.fresh_bytes) / 1e6, fresh * 1e3, rest * 1e3, rest / g_libtiff[c.name].cpu);
  }
  return 0;
}
