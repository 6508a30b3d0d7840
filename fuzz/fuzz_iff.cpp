// IFF ILBM/PBM reader; what it decodes is written again as a PBM.
#include "formats/iff.h"
#include "fuzz_check.h"
#include "raster/byte_stream.h"
#include "raster/error.h"

using namespace quorvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  TRasterBitmap bitmap;
  try {
    DecodeLbm(bytes, bitmap, fuzz::Options());
  } catch (const EQuorvaneError&) {
    return 0;
  }
  fuzz::TouchEveryRow(bitmap);
  fuzz::CheckHeaderAgrees(bitmap, [&] { return ReadLbmHeader(bytes, fuzz::Options().Limits); });
  if (size_t(bitmap.Width()) * bitmap.Height() > (1u << 16)) return 0;
  try {
    TByteStream written(EncodeLbm(bitmap, {.Compress = size % 2 == 0}));
    written.Seek(0);
    TRasterBitmap again;
    DecodeLbm(written.Bytes(), again);
    if (again.Width() != bitmap.Width() || again.Height() != bitmap.Height()) std::abort();
  } catch (const EQuorvaneError&) {
    // The pixel-format conversion the writer relies on may refuse.
  }
  return 0;
}
