// Times the display stretch of a 10000 x 10000 16-bit band (an elevation
// model in metres with a nodata corner) against reading the same band with
// libtiff, in two layouts: 512 x 512 Deflate tiles (as elevation models are
// usually delivered) and uncompressed strips (where the read is cheapest).
//
//   read      libtiff decoding every chunk into one reused buffer
//   none      our open with the stretch "none" (the samples mapped through a
//             table, no histogram)
//   cut       our open with the default cut stretch (one histogram pass
//             while reading, then the 2%/98% points and the table)
//
// Goal: the stretch (cut less read) takes at most 1.5 x the read. Our opens
// run on one thread so the figures compare like with like; the best of five
// runs counts.
#include <tiffio.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "anytiff/any_tiff_reader.h"
#include "raster/bitmap.h"
#include "raster/geotiff_tags.h"

namespace {

constexpr uint32_t kSide = 10000;
constexpr uint32_t kTile = 512;
constexpr int kRuns = 5;

std::string PathOf(const std::string& name) {
  return (std::filesystem::temp_directory_path() / ("quorvane_display_bench_" + name + ".tif"))
      .string();
}

// Terrain with a metre or two of noise, so that it compresses about as real
// elevation models do (a few times, not a hundred).
uint16_t Height(uint32_t x, uint32_t y) {
  if (x + y < 900) return 0;  // nodata
  const double fx = x * 0.0009, fy = y * 0.0011;
  const uint32_t hash = (x * 2654435761u) ^ (y * 2246822519u);
  return uint16_t(600 + 250 * std::sin(fx) * std::cos(fy) + 30 * std::sin(fx * 9 + fy * 4) +
                  double((hash >> 13) % 7));
}

void Write(const std::string& name, bool tiled) {
  TIFF* tif = TIFFOpen(PathOf(name).c_str(), "w");
  if (!tif) std::abort();
  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, kSide);
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, kSide);
  TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 16);
  TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
  TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
  static const TIFFFieldInfo kNoData[] = {
      {42113, -1, -1, TIFF_ASCII, FIELD_CUSTOM, 1, 0, const_cast<char*>("GDALNoData")}};
  TIFFMergeFieldInfo(tif, kNoData, 1);
  TIFFSetField(tif, 42113, "0");
  if (tiled) {
    TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_ADOBE_DEFLATE);
    TIFFSetField(tif, TIFFTAG_PREDICTOR, PREDICTOR_HORIZONTAL);
    TIFFSetField(tif, TIFFTAG_TILEWIDTH, kTile);
    TIFFSetField(tif, TIFFTAG_TILELENGTH, kTile);
    std::vector<uint16_t> tile(size_t(kTile) * kTile);
    for (uint32_t y0 = 0; y0 < kSide; y0 += kTile)
      for (uint32_t x0 = 0; x0 < kSide; x0 += kTile) {
        for (uint32_t r = 0; r < kTile; ++r)
          for (uint32_t c = 0; c < kTile; ++c)
            tile[size_t(r) * kTile + c] =
                x0 + c < kSide && y0 + r < kSide ? Height(x0 + c, y0 + r) : 0;
        if (TIFFWriteEncodedTile(tif, TIFFComputeTile(tif, x0, y0, 0, 0), tile.data(),
                                 tmsize_t(tile.size() * 2)) < 0)
          std::abort();
      }
  } else {
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, 64);
    std::vector<uint16_t> row(kSide);
    for (uint32_t y = 0; y < kSide; ++y) {
      for (uint32_t x = 0; x < kSide; ++x) row[x] = Height(x, y);
      if (TIFFWriteScanline(tif, row.data(), y, 0) < 0) std::abort();
    }
  }
  TIFFClose(tif);
}

template <typename F>
double Best(F&& run) {
  double best = 1e9;
  for (int i = 0; i < kRuns; ++i) {
    const auto start = std::chrono::steady_clock::now();
    run();
    best = std::min(
        best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  return best;
}

void ReadChunks(const std::string& path) {
  TIFF* tif = TIFFOpen(path.c_str(), "r");
  if (!tif) std::abort();
  const bool tiled = TIFFIsTiled(tif);
  std::vector<uint8_t> chunk(size_t(tiled ? TIFFTileSize(tif) : TIFFStripSize(tif)));
  const uint32_t chunks = tiled ? TIFFNumberOfTiles(tif) : TIFFNumberOfStrips(tif);
  for (uint32_t c = 0; c < chunks; ++c) {
    const tmsize_t got = tiled ? TIFFReadEncodedTile(tif, c, chunk.data(), tmsize_t(chunk.size()))
                               : TIFFReadEncodedStrip(tif, c, chunk.data(), tmsize_t(chunk.size()));
    if (got < 0) std::abort();
  }
  TIFFClose(tif);
}

void Open(const std::string& path, quorvane::TDisplayStretch stretch) {
  quorvane::TRasterBitmap picture;
  quorvane::TGeoTiffTags tags;
  quorvane::TAnyTiffOptions options;
  options.MaxPictureBytes = uint64_t(4) << 30;
  options.Display = quorvane::TAnyTiffDisplay{.Stretch = stretch};
  quorvane::DecodeAnyTiffFile(path, picture, tags, options);
}

}  // namespace

// An argument names the one layout to run (for profiling one of them).
int main(int argc, char** argv) {
  const std::string only = argc > 1 ? argv[1] : "";
  std::printf("10000 x 10000 16-bit band, best of %d, one thread\n", kRuns);
  std::printf("  layout          read      none       cut   stretch = cut - read   goal\n");
  for (const auto& [name, tiled] : {std::pair{"deflate_tiles", true}, {"plain_strips", false}}) {
    if (!only.empty() && only != name) continue;
    Write(name, tiled);
    const std::string path = PathOf(name);
    const double read = Best([&] { ReadChunks(path); });
    const double none = Best([&] { Open(path, quorvane::TDisplayStretch::None); });
    const double cut = Best([&] { Open(path, quorvane::TDisplayStretch::Cut); });
    std::printf("  (%s: %.0f MB on disk)\n", name, double(std::filesystem::file_size(path)) / 1e6);
    std::printf("  %-13s %6.0f ms %6.0f ms %6.0f ms   %6.0f ms = %.2f x read   1.5\n", name,
                read * 1e3, none * 1e3, cut * 1e3, (cut - read) * 1e3, (cut - read) / read);
    std::filesystem::remove(path);
  }
  return 0;
}
