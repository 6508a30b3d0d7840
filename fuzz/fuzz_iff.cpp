// IFF ILBM/PBM reader; what it decodes is written again as a PBM.
#include "formats/iff.h"
#include "fuzz_check.h"
#include "raster/error.h"

using namespace quorvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TByteStream stream = TByteStream::CopyOf({data, size});
  TRasterBitmap bitmap;
  try {
    ReadLbm(stream, bitmap);
  } catch (const EQuorvaneError&) {
    return 0;
  }
  fuzz::TouchEveryRow(bitmap);
  if (size_t(bitmap.Width()) * bitmap.Height() > (1u << 16)) return 0;
  try {
    TByteStream written;
    WriteLbm(written, bitmap, size % 2 == 0);
    written.Seek(0);
    TRasterBitmap again;
    ReadLbm(written, again);
    if (again.Width() != bitmap.Width() || again.Height() != bitmap.Height()) std::abort();
  } catch (const EQuorvaneError&) {
    // The pixel-format conversion the writer relies on may refuse.
  }
  return 0;
}
