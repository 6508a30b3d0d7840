// Windows bitmap file images.
#include "formats/bmp_file.h"
#include "fuzz_check.h"
#include "raster/error.h"

using namespace quorvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  TRasterBitmap bitmap;
  try {
    DecodeBmp(bytes, bitmap, fuzz::Options());
  } catch (const EQuorvaneError&) {
    return 0;
  }
  fuzz::TouchEveryRow(bitmap);
  fuzz::CheckHeaderAgrees(bitmap, [&] { return ReadBmpHeader(bytes, fuzz::Options().Limits); });
  return 0;
}
