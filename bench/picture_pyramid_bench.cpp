// The reduced copies a zoomed-out view paints from, for an 8000 x 6000
// 24-bit picture: the time to build them against the time to load the
// picture from an uncompressed TIFF (goal: at most 0.3 x), and their memory
// against the picture's (goal: at most 0.34 x). Best of five runs.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>

#include "imaging/picture_pyramid.h"
#include "io/format_registry.h"

namespace {

using namespace quorvane;

template <typename F>
double BestSeconds(F&& run) {
  double best = 1e9;
  for (int i = 0; i < 5; ++i) {
    const auto start = std::chrono::steady_clock::now();
    run();
    best = std::min(
        best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  return best;
}

}  // namespace

int main() {
  TRasterBitmap picture;
  picture.Reset(TPixelFormat::Bit24, 8000, 6000);
  for (size_t i = 0; i < picture.Stride() * 6000; ++i)
    picture.Bits()[i] = uint8_t(i * 13 + i / 977);
  const std::string path =
      (std::filesystem::temp_directory_path() / "quorvane_pyramid_bench.tif").string();
  SaveBitmapFile(picture, path, {});
  const double load = BestSeconds([&] {
    TGeoTiffTags tags;
    LoadPicture(path, tags);
  });
  std::filesystem::remove(path);
  std::printf("8000 x 6000 24-bit picture, best of 5\n  load (uncompressed TIFF) %6.1f ms\n",
              load * 1e3);
  for (const int threads : {1, 2}) {
    TPicturePyramid pyramid;
    const double build = BestSeconds([&] { pyramid = TPicturePyramid::Build(picture, threads); });
    std::printf("  build on %d thread%s       %6.1f ms = %.2f x load   goal 0.3\n", threads,
                threads == 1 ? " " : "s", build * 1e3, build / load);
    size_t bytes = 0;
    for (int k = 1; k <= pyramid.LevelCount(); ++k) bytes += pyramid.Level(k).Pixels.Size();
    if (threads == 1)
      std::printf("  memory                   %.3f x the picture's   goal 0.34\n",
                  double(bytes) / double(picture.Stride() * 6000));
  }
  return 0;
}
