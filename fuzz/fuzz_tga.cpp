// TGA reader; true-colour pictures it decodes must survive our writer
// unchanged.
#include "formats/tga.h"
#include "fuzz_check.h"

using namespace quorvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TByteStream stream = TByteStream::CopyOf({data, size});
  TRasterBitmap bitmap;
  try {
    ReadTga(stream, bitmap);
  } catch (const EQuorvaneError&) {
    return 0;
  }
  fuzz::TouchEveryRow(bitmap);
  const TPixelFormat format = bitmap.PixelFormat();
  if (format != TPixelFormat::Bit24 && format != TPixelFormat::Bit32) return 0;
  if (size_t(bitmap.Width()) * bitmap.Height() > (1u << 20)) return 0;
  TByteStream written;
  WriteTga(written, bitmap);
  written.Seek(0);
  TRasterBitmap again;
  ReadTga(written, again);
  if (!fuzz::SamePixels(bitmap, again)) std::abort();
  return 0;
}
