// The JPEG codec adapter: decoding from memory into a raster bitmap.
#include "fuzz_check.h"
#include "raster/error.h"
#include "raster/jpeg_codec.h"

using namespace quorvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TByteStream stream = TByteStream::CopyOf({data, size});
  TRasterBitmap bitmap;
  try {
    ReadJpeg(stream, bitmap);
  } catch (const EQuorvaneError&) {
    return 0;
  }
  fuzz::TouchEveryRow(bitmap);
  return 0;
}
