// PCX reader; a picture it decodes must survive our writer unchanged.
#include "formats/pcx.h"
#include "fuzz_check.h"
#include "raster/byte_stream.h"
#include "raster/error.h"

using namespace quorvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  TRasterBitmap bitmap;
  try {
    DecodePcx(bytes, bitmap, fuzz::Options());
  } catch (const EQuorvaneError&) {
    return 0;
  }
  fuzz::TouchEveryRow(bitmap);
  fuzz::CheckHeaderAgrees(bitmap, [&] { return ReadPcxHeader(bytes, fuzz::Options().Limits); });
  // A width of 65536 reads but has no BytesPerLine to be written with.
  if (bitmap.Empty() || bitmap.Width() > 65535) return 0;
  if (size_t(bitmap.Width()) * bitmap.Height() > (1u << 20)) return 0;
  TByteStream written(EncodePcx(bitmap));
  written.Seek(0);
  TRasterBitmap again;
  DecodePcx(written.Bytes(), again);
  if (!fuzz::SamePixels(bitmap, again)) std::abort();
  return 0;
}
