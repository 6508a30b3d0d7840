// The pictures backed by the TIFF codec and the JPEG, PNG and GIF libraries.
#include "io/picture_adapters.h"

#include "formats/gif_codec.h"
#include "formats/jpeg_codec.h"
#include "formats/png_codec.h"
#include "raster/file_io.h"
#include "tiff/tiff_reader.h"
#include "tiff/tiff_writer.h"

namespace quorvane {

namespace {
// The picture itself when it already has the format, else a converted copy.
const TRasterBitmap& InFormat(const TRasterBitmap& picture, TPixelFormat format,
                              TRasterBitmap& copy) {
  if (picture.PixelFormat() == format) return picture;
  copy = picture;
  copy.SetPixelFormat(format);
  return copy;
}
}  // namespace

void TTIFFBitmap::LoadFromFile(const std::string& path, TGeoTiffTags& tags) {
  LoadTiffFile(path, *this, tags);
}

void TTIFFBitmap::SaveToFile(const std::string& path) const {
  SaveTiffFile(path, *this, nullptr, true);
}

void TJPGBitmap::LoadFromFile(const std::string& path) {
  DecodeJpeg(ReadWholeFile(path), *this);
}

void TJPGBitmap::SaveToFile(const std::string& path) const {
  TRasterBitmap copy;
  WriteFileAtomically(path, EncodeJpeg(InFormat(*this, TPixelFormat::Bit24, copy), 100));
}

void TPNGBitmap::LoadFromFile(const std::string& path) {
  DecodePng(ReadWholeFile(path), *this);
}

void TPNGBitmap::SaveToFile(const std::string& path) const {
  TRasterBitmap copy;
  WriteFileAtomically(path, EncodePng(InFormat(*this, TPixelFormat::Bit24, copy)));
}

void TGIFBitmap::LoadFromFile(const std::string& path) {
  DecodeGif(ReadWholeFile(path), *this);
}

void TGIFBitmap::SaveToFile(const std::string& path) const {
  TRasterBitmap copy;
  const TRasterBitmap& source =
      IsPaletteFormat(PixelFormat()) ? *this : InFormat(*this, TPixelFormat::Bit8, copy);
  WriteFileAtomically(path, EncodeGif(source));
}

}  // namespace quorvane
