// TGA reader; true-colour pictures it decodes must survive our writer
// unchanged.
#include "formats/tga.h"
#include "fuzz_check.h"
#include "raster/byte_stream.h"

using namespace quorvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  TRasterBitmap bitmap;
  try {
    DecodeTga(bytes, bitmap, fuzz::Options());
  } catch (const EQuorvaneError&) {
    return 0;
  }
  fuzz::TouchEveryRow(bitmap);
  fuzz::CheckHeaderAgrees(bitmap, [&] { return ReadTgaHeader(bytes, fuzz::Options().Limits); });
  const TPixelFormat format = bitmap.PixelFormat();
  if (format != TPixelFormat::Bit24 && format != TPixelFormat::Bit32) return 0;
  if (size_t(bitmap.Width()) * bitmap.Height() > (1u << 20)) return 0;
  TByteStream written(EncodeTga(bitmap));
  written.Seek(0);
  TRasterBitmap again;
  DecodeTga(written.Bytes(), again);
  if (!fuzz::SamePixels(bitmap, again)) std::abort();
  return 0;
}
