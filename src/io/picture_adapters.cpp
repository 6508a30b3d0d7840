#include "io/picture_adapters.h"

#include <optional>

#include "formats/gif_codec.h"
#include "formats/iff.h"
#include "formats/jpeg_codec.h"
#include "formats/pcx.h"
#include "formats/png_codec.h"
#include "formats/tga.h"
#include "raster/file_io.h"
#include "raster/pixel_convert.h"
#include "tiff/tiff_reader.h"
#include "tiff/tiff_writer.h"

namespace quorvane {

namespace {
// Decodes the whole file into a fresh bitmap, so a failure leaves the
// picture as it was.
template <typename TDecode>
void LoadInto(TRasterBitmap& picture, const std::string& path, TDecode decode) {
  const TFileBytes bytes = ReadFileBytes(path);
  TRasterBitmap decoded;
  decode(bytes, decoded);
  picture = std::move(decoded);
}
}  // namespace

void TTIFFBitmap::LoadFromFile(const std::string& path, TGeoTiffTags& tags,
                               const TDecodeOptions& options) {
  // A file without a first directory leaves the picture as it was.
  DecodeTiff(ReadFileBytes(path), *this, tags, options);
}

void TTIFFBitmap::SaveToFile(const std::string& path) const {
  SaveTiffFile(path, *this, {.PackBits = true});
}

void TJPGBitmap::LoadFromFile(const std::string& path, const TDecodeOptions& options) {
  LoadInto(*this, path, [&](std::span<const uint8_t> bytes, TRasterBitmap& b) {
    DecodeJpeg(bytes, b, options);
  });
}

void TJPGBitmap::SaveToFile(const std::string& path) const {
  std::optional<TRasterBitmap> copy;
  WriteFileAtomically(
      path, EncodeJpeg(InPixelFormat(*this, TPixelFormat::Bit24, copy), {.Quality = 100}));
}

void TPNGBitmap::LoadFromFile(const std::string& path, const TDecodeOptions& options) {
  LoadInto(*this, path,
           [&](std::span<const uint8_t> bytes, TRasterBitmap& b) { DecodePng(bytes, b, options); });
}

void TPNGBitmap::SaveToFile(const std::string& path) const {
  std::optional<TRasterBitmap> copy;
  WriteFileAtomically(path, EncodePng(InPixelFormat(*this, TPixelFormat::Bit24, copy)));
}

void TGIFBitmap::LoadFromFile(const std::string& path, const TDecodeOptions& options) {
  LoadInto(*this, path,
           [&](std::span<const uint8_t> bytes, TRasterBitmap& b) { DecodeGif(bytes, b, options); });
}

void TGIFBitmap::SaveToFile(const std::string& path) const {
  std::optional<TRasterBitmap> copy;
  const TRasterBitmap& source =
      IsPaletteFormat(PixelFormat()) ? *this : InPixelFormat(*this, TPixelFormat::Bit8, copy);
  WriteFileAtomically(path, EncodeGif(source));
}

void TTGABitmap::LoadFromFile(const std::string& path, const TDecodeOptions& options) {
  LoadInto(*this, path,
           [&](std::span<const uint8_t> bytes, TRasterBitmap& b) { DecodeTga(bytes, b, options); });
}

void TTGABitmap::SaveToFile(const std::string& path) const {
  WriteFileAtomically(path, EncodeTga(*this));
}

void TPCXBitmap::LoadFromFile(const std::string& path, const TDecodeOptions& options) {
  LoadInto(*this, path,
           [&](std::span<const uint8_t> bytes, TRasterBitmap& b) { DecodePcx(bytes, b, options); });
}

void TPCXBitmap::SaveToFile(const std::string& path) const {
  WriteFileAtomically(path, EncodePcx(*this));  // converts a picture that is not 24-bit on a copy
}

void TLBMBitmap::LoadFromFile(const std::string& path, const TDecodeOptions& options) {
  LoadInto(*this, path,
           [&](std::span<const uint8_t> bytes, TRasterBitmap& b) { DecodeLbm(bytes, b, options); });
}

void TLBMBitmap::SaveToFile(const std::string& path) const {
  WriteFileAtomically(path, EncodeLbm(*this, {.Compress = true}));
}

}  // namespace quorvane
