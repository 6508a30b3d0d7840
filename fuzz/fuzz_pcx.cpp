// PCX reader; a picture it decodes must survive our writer unchanged.
#include "formats/pcx.h"
#include "fuzz_check.h"
#include "raster/error.h"

using namespace quorvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TByteStream stream = TByteStream::CopyOf({data, size});
  TRasterBitmap bitmap;
  try {
    ReadPcx(stream, bitmap);
  } catch (const EQuorvaneError&) {
    return 0;
  }
  fuzz::TouchEveryRow(bitmap);
  // A width of 65536 reads but has no BytesPerLine to be written with.
  if (bitmap.Empty() || bitmap.Width() > 65535) return 0;
  if (size_t(bitmap.Width()) * bitmap.Height() > (1u << 20)) return 0;
  TByteStream written;
  WritePcx(written, bitmap);
  written.Seek(0);
  TRasterBitmap again;
  ReadPcx(written, again);
  if (!fuzz::SamePixels(bitmap, again)) std::abort();
  return 0;
}
