// Windows bitmap file images.
#include "formats/bmp_file.h"
#include "fuzz_check.h"
#include "raster/error.h"

using namespace quorvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TByteStream stream = TByteStream::CopyOf({data, size});
  TRasterBitmap bitmap;
  try {
    LoadBitmapFromStream(bitmap, stream);
  } catch (const EQuorvaneError&) {
    return 0;
  }
  fuzz::TouchEveryRow(bitmap);
  return 0;
}
