// The JPEG codec adapter: decoding from memory into a raster bitmap.
#include "formats/jpeg_codec.h"
#include "fuzz_check.h"
#include "raster/error.h"

using namespace quorvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  TRasterBitmap bitmap;
  try {
    DecodeJpeg(bytes, bitmap, fuzz::Options());
  } catch (const EQuorvaneError&) {
    return 0;
  }
  fuzz::TouchEveryRow(bitmap);
  fuzz::CheckHeaderAgrees(bitmap, [&] { return ReadJpegHeader(bytes, fuzz::Options().Limits); });
  return 0;
}
