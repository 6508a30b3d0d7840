// Times LoadTiffFile, from a path to a decoded bitmap, against libtiff
// decoding the same file's strips into memory, for one photographic-like
// 8000 x 6000 RGB picture stored uncompressed, LZW, LZW with the horizontal
// predictor and PackBits. libtiff writes the files and serves as the yardstick
// only; the product never links it.
//
// Both sides start from the path with the file in the page cache and end with
// every pixel in freshly allocated memory, so both pay for opening the file
// and for faulting in the output pages. At the end the ratio of our time over
// libtiff's is printed per variant, by wall clock and by CPU time (steadier
// when other work shares the machine). A third series, libtiff_warm_buffer,
// decodes into one buffer touched beforehand; compare against it by hand to
// see the cost of the page faults no new bitmap can avoid.
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

#include "geo/geotiff_georef.h"
#include "raster/bitmap.h"
#include "tiff/tiff_reader.h"

namespace {

constexpr uint32_t kWidth = 8000;
constexpr uint32_t kHeight = 6000;

struct TVariant {
  const char* name;
  uint16_t compression;
  uint16_t predictor;
};

const TVariant kVariants[] = {
    {"uncompressed", COMPRESSION_NONE, PREDICTOR_NONE},
    {"lzw", COMPRESSION_LZW, PREDICTOR_NONE},
    {"lzw_predictor", COMPRESSION_LZW, PREDICTOR_HORIZONTAL},
    {"packbits", COMPRESSION_PACKBITS, PREDICTOR_NONE},
};

// Smooth gradients and soft blobs with a little sensor-like noise: flat
// enough for LZW to find strings, noisy enough that ratios look like a photo.
std::vector<uint8_t> MakePicture() {
  std::vector<uint8_t> rgb(size_t(kWidth) * kHeight * 3);
  std::mt19937 random(20240607);
  std::normal_distribution<float> noise(0.0f, 1.6f);
  for (uint32_t y = 0; y < kHeight; ++y) {
    for (uint32_t x = 0; x < kWidth; ++x) {
      const float fx = float(x) / kWidth, fy = float(y) / kHeight;
      const float blob = 40.0f * std::sin(fx * 9.0f) * std::cos(fy * 7.0f);
      const float base[3] = {60.0f + 140.0f * fx + blob, 50.0f + 150.0f * fy - 0.5f * blob,
                             120.0f + 60.0f * std::sin((fx + fy) * 5.0f)};
      for (int c = 0; c < 3; ++c) {
        const float v = base[c] + noise(random);
        rgb[(size_t(y) * kWidth + x) * 3 + c] = uint8_t(std::clamp(v, 0.0f, 255.0f));
      }
    }
  }
  return rgb;
}

std::string PathOf(const TVariant& v) {
  return (std::filesystem::temp_directory_path() / "quorvane_tiff_bench" /
          (std::string(v.name) + ".tif"))
      .string();
}

void WriteVariant(const TVariant& v, const std::vector<uint8_t>& rgb) {
  TIFF* tif = TIFFOpen(PathOf(v).c_str(), "w");
  if (!tif) std::abort();
  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, kWidth);
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, kHeight);
  TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
  TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 3);
  TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
  TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(tif, TIFFTAG_COMPRESSION, v.compression);
  if (v.compression == COMPRESSION_LZW) TIFFSetField(tif, TIFFTAG_PREDICTOR, v.predictor);
  // libtiff's own default: strips of about 8 KB, here one row each.
  TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(tif, 0));
  for (uint32_t y = 0; y < kHeight; ++y) {
    std::vector<uint8_t> row(rgb.begin() + size_t(y) * kWidth * 3,
                             rgb.begin() + size_t(y + 1) * kWidth * 3);
    if (TIFFWriteScanline(tif, row.data(), y, 0) < 0) std::abort();
  }
  TIFFClose(tif);
}

void PrepareFiles() {
  std::filesystem::create_directories(std::filesystem::path(PathOf(kVariants[0])).parent_path());
  const std::vector<uint8_t> rgb = MakePicture();
  for (const TVariant& v : kVariants) WriteVariant(v, rgb);
}

// Seconds per load, best run: wall clock, and the process's CPU time, which
// holds steadier when other work shares the machine.
struct TTimes {
  double wall = 1e9, cpu = 1e9;
};
std::map<std::string, TTimes> g_ours, g_libtiff;

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

void BM_Quorvane(benchmark::State& state, TVariant v) {
  const std::string path = PathOf(v);
  TTimes best;
  for (auto _ : state) {
    const TStopwatch watch;
    quorvane::TRasterBitmap bitmap;
    quorvane::TGeoTiffTags tags;
    quorvane::LoadTiffFile(path, bitmap, tags);
    benchmark::DoNotOptimize(bitmap.Bits());
    bitmap = quorvane::TRasterBitmap();
    watch.Record(best);
  }
  g_ours[v.name] = best;
  state.SetBytesProcessed(int64_t(state.iterations()) * kWidth * kHeight * 3);
}

void BM_Libtiff(benchmark::State& state, TVariant v) {
  const std::string path = PathOf(v);
  TTimes best;
  for (auto _ : state) {
    const TStopwatch watch;
    TIFF* tif = TIFFOpen(path.c_str(), "r");
    const tstrip_t strips = TIFFNumberOfStrips(tif);
    const tmsize_t strip_size = TIFFStripSize(tif);
    auto* out = static_cast<uint8_t*>(std::malloc(size_t(strip_size) * strips));
    size_t at = 0;
    for (tstrip_t s = 0; s < strips; ++s) {
      const tmsize_t got = TIFFReadEncodedStrip(tif, s, out + at, -1);
      if (got < 0) std::abort();
      at += size_t(got);
    }
    benchmark::DoNotOptimize(out);
    std::free(out);
    TIFFClose(tif);
    watch.Record(best);
  }
  g_libtiff[v.name] = best;
  state.SetBytesProcessed(int64_t(state.iterations()) * kWidth * kHeight * 3);
}

// For reference only: libtiff decoding into one buffer allocated and touched
// before timing, so no output page faults are counted. Our loader cannot do
// that, since every load returns a new bitmap.
void BM_LibtiffWarmBuffer(benchmark::State& state, TVariant v) {
  const std::string path = PathOf(v);
  std::vector<uint8_t> out(size_t(kWidth) * kHeight * 3 + 65536, 1);
  for (auto _ : state) {
    TIFF* tif = TIFFOpen(path.c_str(), "r");
    size_t at = 0;
    for (tstrip_t s = 0; s < TIFFNumberOfStrips(tif); ++s) {
      const tmsize_t got = TIFFReadEncodedStrip(tif, s, out.data() + at, -1);
      if (got < 0) std::abort();
      at += size_t(got);
    }
    benchmark::DoNotOptimize(out.data());
    TIFFClose(tif);
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * kWidth * kHeight * 3);
}

}  // namespace

int main(int argc, char** argv) {
  PrepareFiles();
  for (const TVariant& v : kVariants) {
    benchmark::RegisterBenchmark((std::string("quorvane/") + v.name).c_str(), BM_Quorvane, v)
        ->Unit(benchmark::kMillisecond)
        ->MinTime(2.0);
    benchmark::RegisterBenchmark((std::string("libtiff/") + v.name).c_str(), BM_Libtiff, v)
        ->Unit(benchmark::kMillisecond)
        ->MinTime(2.0);
  }
  for (const TVariant& v : kVariants) {
    benchmark::RegisterBenchmark((std::string("libtiff_warm_buffer/") + v.name).c_str(),
                                 BM_LibtiffWarmBuffer, v)
        ->Unit(benchmark::kMillisecond)
        ->MinTime(1.0);
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::printf(
      "\nbest time per load, ours / libtiff (goal: LZW <= 1.0, others <= 2.0)\n"
      "  variant          wall ours  libtiff  ratio |  cpu ours  libtiff  ratio | file\n");
  for (const TVariant& v : kVariants) {
    if (!g_ours.count(v.name) || !g_libtiff.count(v.name)) continue;
    const TTimes ours = g_ours[v.name], theirs = g_libtiff[v.name];
    const auto size = std::filesystem::file_size(PathOf(v));
    std::printf("  %-14s %8.1f ms %6.1f ms %6.2f | %6.1f ms %6.1f ms %6.2f | %.1f MB\n", v.name,
                ours.wall * 1e3, theirs.wall * 1e3, ours.wall / theirs.wall, ours.cpu * 1e3,
                theirs.cpu * 1e3, ours.cpu / theirs.cpu, double(size) / 1e6);
  }
  return 0;
}
