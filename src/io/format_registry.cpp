// Opening is table-driven: the extension picks the picture class. Saving is a
// fixed dispatch on the extension, after converting a private copy to the
// pixel format the chosen writer needs.
#include "io/format_registry.h"

#include <algorithm>
#include <optional>
#include <span>

#include "formats/bmp_file.h"
#include "formats/gif_codec.h"
#include "formats/icon_reader.h"
#include "formats/iff.h"
#include "formats/jpeg_codec.h"
#include "formats/pcx.h"
#include "formats/png_codec.h"
#include "io/picture_adapters.h"
#include "raster/error.h"
#include "raster/file_io.h"
#include "tiff/tiff_writer.h"

namespace quorvane {

namespace {

using TPictureLoader = std::unique_ptr<TRasterBitmap> (*)(const std::string& path,
                                                          TGeoTiffTags& tags);

struct TImageFormat {
  const char* Extension;  // lower case, without the dot
  const char* Description;
  TPictureLoader Load;
};

template <typename TPicture>
std::unique_ptr<TRasterBitmap> LoadAs(const std::string& path, TGeoTiffTags&) {
  auto picture = std::make_unique<TPicture>();
  picture->LoadFromFile(path);
  return picture;
}

std::unique_ptr<TRasterBitmap> LoadTiff(const std::string& path, TGeoTiffTags& tags) {
  auto picture = std::make_unique<TTIFFBitmap>();
  picture->LoadFromFile(path, tags);
  return picture;
}

std::unique_ptr<TRasterBitmap> LoadBmp(const std::string& path, TGeoTiffTags&) {
  auto picture = std::make_unique<TRasterBitmap>();
  LoadBmpFile(*picture, path);
  return picture;
}

std::unique_ptr<TRasterBitmap> LoadIcon(const std::string& path, TGeoTiffTags&) {
  auto picture = std::make_unique<TRasterBitmap>();
  DecodeIcon(ReadWholeFile(path), *picture);
  return picture;
}

std::unique_ptr<TRasterBitmap> LoadMetafile(const std::string&, TGeoTiffTags&) {
  throw EQuorvaneError("Windows metafiles (.wmf, .emf) are not supported on this platform");
}

// In registration order; searches run from the last entry, so a later
// registration of an extension wins.
constexpr TImageFormat kImageFormats[] = {
    {"wmf", "Metafiles", LoadMetafile},
    {"emf", "Enhanced Metafiles", LoadMetafile},
    {"ico", "Icons", LoadIcon},
    {"bmp", "Bitmaps", LoadBmp},
    {"lbm", "LBM Files", LoadAs<TLBMBitmap>},
    {"pcx", "PCX Files", LoadAs<TPCXBitmap>},
    {"tga", "TGA Files", LoadAs<TTGABitmap>},
    {"tif", "TIFF-Format", LoadTiff},
    {"tiff", "TIFF-Format", LoadTiff},
    {"jpeg", "JPEG Files", LoadAs<TJPGBitmap>},
    {"png", "PNG Files", LoadAs<TPNGBitmap>},
    {"gif", "GIF Files", LoadAs<TGIFBitmap>},
    {"jpg", "JPEG Files", LoadAs<TJPGBitmap>},
};

// The extension with its dot, from the last dot of the last path component;
// "" when there is none.
std::string ExtensionWithDot(const std::string& file_name) {
  const size_t slash = file_name.find_last_of('/');
  const size_t dot = file_name.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
  return file_name.substr(dot);
}

std::string LowerCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return char(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c); });
  return text;
}

}  // namespace

std::unique_ptr<TRasterBitmap> LoadPicture(const std::string& file_name, TGeoTiffTags& tags,
                                           const TLoadOptions&) {
  const std::string dotted = ExtensionWithDot(file_name);
  const std::string extension = dotted.empty() ? "" : dotted.substr(1);
  const std::string wanted = LowerCase(extension);
  const std::span<const TImageFormat> formats(kImageFormats);
  for (auto it = formats.rbegin(); it != formats.rend(); ++it) {
    if (wanted == it->Extension) return it->Load(file_name, tags);
  }
  throw EQuorvaneError("Unknown picture file extension (." + extension + ")");
}

TPictureHeader ReadPictureHeader(const std::string& file_name, TGeoTiffTags& tags,
                                 const TLoadOptions& options) {
  // Until every codec can read its header alone, the header is what a full
  // load gives.
  const auto picture = LoadPicture(file_name, tags, options);
  return {picture->Width(), picture->Height(), picture->PixelFormat()};
}

std::string BuildTypeFilter() {
  std::string entries, patterns;
  int contributed = 0;
  const std::span<const TImageFormat> formats(kImageFormats);
  for (auto it = formats.rbegin(); it != formats.rend(); ++it) {
    const std::string pattern = std::string("*.") + it->Extension;
    if (contributed > 0) {
      entries += '|';
      patterns += ';';
    }
    entries += std::string(it->Description) + " (" + pattern + ")|" + pattern;
    patterns += pattern;
    ++contributed;
  }
  if (contributed > 1) return "All (" + patterns + ")|" + patterns + "|" + entries;
  return entries;
}

void SaveBitmapFile(const TRasterBitmap& bitmap, const std::string& file_name,
                    const TSaveOptions& options) {
  // The writers see a private copy in the format they need; the caller's
  // bitmap is never touched. A bitmap already in that format is used as is.
  std::optional<TRasterBitmap> copy;
  auto in_format = [&](TPixelFormat format) -> const TRasterBitmap& {
    if (bitmap.PixelFormat() == format) return bitmap;
    copy.emplace(bitmap);
    copy->SetPixelFormat(format);
    return *copy;
  };
  // The library codecs report through their event, the program's own codecs
  // through a stage reporter whose hook lives for this one write.
  const TProgressEvent no_progress;
  const TProgressEvent& event = options.ShowProgress ? options.Progress : no_progress;
  TStageReporter reporter;
  std::optional<TScopedStageHook> hook;
  if (event) hook.emplace(reporter, event);

  const std::string ext = LowerCase(ExtensionWithDot(file_name));
  if (ext == ".jpg" || ext == ".jpeg") {
    WriteFileAtomically(file_name,
                        EncodeJpeg(in_format(TPixelFormat::Bit24), kDefaultJpegQuality, event));
  } else if (ext == ".tif" || ext == ".tiff") {
    SaveTiffFile(file_name, in_format(TPixelFormat::Bit24),
                 options.GeoTiff ? options.GeoTiffTags : nullptr, options.Compress, &reporter);
  } else if (ext == ".gif") {
    WriteFileAtomically(file_name, EncodeGif(in_format(TPixelFormat::Bit8), event));
  } else if (ext == ".png") {
    WriteFileAtomically(file_name, EncodePng(in_format(TPixelFormat::Bit24), event));
  } else if (ext == ".pcx") {
    TByteStream stream;
    WritePcx(stream, in_format(TPixelFormat::Bit24), &reporter);
    WriteFileAtomically(file_name, stream.Bytes());
  } else if (ext == ".lbm") {
    TByteStream stream;
    WriteLbm(stream, bitmap, options.Compress, &reporter);
    WriteFileAtomically(file_name, stream.Bytes());
  } else {
    // Anything else, no extension included, receives a Windows bitmap.
    TByteStream stream;
    SaveBitmapToStream(bitmap, stream);
    WriteFileAtomically(file_name, stream.Bytes());
  }
}

}  // namespace quorvane
