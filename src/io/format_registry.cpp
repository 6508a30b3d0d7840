// Opening is table-driven: the extension picks the picture class. Saving is a
// fixed dispatch on the extension, after converting a private copy to the
// pixel format the chosen writer needs.
#include "io/format_registry.h"

#include <algorithm>
#include <optional>
#include <span>
#include <utility>

#include "formats/bmp_file.h"
#include "formats/gif_codec.h"
#include "formats/header_ranges.h"
#include "formats/icon_reader.h"
#include "formats/iff.h"
#include "formats/jpeg_codec.h"
#include "formats/pcx.h"
#include "formats/png_codec.h"
#include "formats/tga.h"
#include "io/file_names.h"
#include "io/picture_adapters.h"
#include "raster/converted_rows.h"
#include "raster/error.h"
#include "raster/file_io.h"
#include "raster/file_ranges.h"
#include "raster/output_file.h"
#include "raster/pixel_convert.h"
#include "tiff/tiff_header_ranges.h"
#include "tiff/tiff_reader.h"
#include "tiff/tiff_writer.h"

namespace quorvane {

namespace {

using TPictureLoader = std::unique_ptr<TRasterBitmap> (*)(const std::string& path,
                                                          TGeoTiffTags& tags,
                                                          const TDecodeOptions& options);
using THeaderReader = TPictureInfo (*)(std::span<const uint8_t> bytes, TGeoTiffTags& tags,
                                       const TDecodeLimits& limits);

// Fetches the bytes of a file its header reader looks at.
using THeaderFetch = void (*)(TFileRanges& file);

struct TImageFormat {
  const char* Extension;  // lower case, without the dot
  const char* Description;
  TPictureLoader Load;
  THeaderReader ReadHeader;
  THeaderFetch FetchHeader;
};

template <typename TPicture>
std::unique_ptr<TRasterBitmap> LoadAs(const std::string& path, TGeoTiffTags&,
                                      const TDecodeOptions& options) {
  auto picture = std::make_unique<TPicture>();
  picture->LoadFromFile(path, options);
  return picture;
}

std::unique_ptr<TRasterBitmap> LoadTiff(const std::string& path, TGeoTiffTags& tags,
                                        const TDecodeOptions& options) {
  auto picture = std::make_unique<TTIFFBitmap>();
  picture->LoadFromFile(path, tags, options);
  return picture;
}

std::unique_ptr<TRasterBitmap> LoadBmp(const std::string& path, TGeoTiffTags&,
                                       const TDecodeOptions& options) {
  auto picture = std::make_unique<TRasterBitmap>();
  LoadBmpFile(*picture, path, options);
  return picture;
}

std::unique_ptr<TRasterBitmap> LoadIcon(const std::string& path, TGeoTiffTags&,
                                        const TDecodeOptions& options) {
  auto picture = std::make_unique<TRasterBitmap>();
  DecodeIcon(ReadFileBytes(path), *picture, options);
  return picture;
}

[[noreturn]] void RefuseMetafile() {
  throw EQuorvaneError("Windows metafiles (.wmf, .emf) are not supported on this platform",
                       TErrorKind::Unsupported);
}

std::unique_ptr<TRasterBitmap> LoadMetafile(const std::string&, TGeoTiffTags&,
                                            const TDecodeOptions&) {
  RefuseMetafile();
}

TPictureInfo MetafileHeader(std::span<const uint8_t>, TGeoTiffTags&, const TDecodeLimits&) {
  RefuseMetafile();
}

// A codec's header reader in the table's shape.
template <TPictureInfo (*Read)(std::span<const uint8_t>, const TDecodeLimits&)>
TPictureInfo HeaderOf(std::span<const uint8_t> bytes, TGeoTiffTags&, const TDecodeLimits& limits) {
  return Read(bytes, limits);
}

TPictureInfo TiffHeader(std::span<const uint8_t> bytes, TGeoTiffTags& tags,
                        const TDecodeLimits& limits) {
  return ReadTiffHeader(bytes, tags, limits);
}

void FetchWhole(TFileRanges& file) {
  file.Fetch(0, file.Size());
}

// Bitmap, PCX and TGA headers (with a bitmap's masks and colour table) sit
// in the first kilobytes.
void FetchLead(TFileRanges& file) {
  FetchEnds(file, 64 * 1024);
}

// In registration order; searches run from the last entry, so a later
// registration of an extension wins.
constexpr TImageFormat kImageFormats[] = {
    {"wmf", "Metafiles", LoadMetafile, MetafileHeader, FetchLead},
    {"emf", "Enhanced Metafiles", LoadMetafile, MetafileHeader, FetchLead},
    {"ico", "Icons", LoadIcon, HeaderOf<ReadIconHeader>, FetchWhole},
    {"bmp", "Bitmaps", LoadBmp, HeaderOf<ReadBmpHeader>, FetchLead},
    {"lbm", "LBM Files", LoadAs<TLBMBitmap>, HeaderOf<ReadLbmHeader>, FetchWhole},
    // The usual names of IFF pictures besides ".lbm".
    {"iff", "IFF Files", LoadAs<TLBMBitmap>, HeaderOf<ReadLbmHeader>, FetchWhole},
    {"ilbm", "IFF Files", LoadAs<TLBMBitmap>, HeaderOf<ReadLbmHeader>, FetchWhole},
    {"pcx", "PCX Files", LoadAs<TPCXBitmap>, HeaderOf<ReadPcxHeader>, FetchLead},
    {"tga", "TGA Files", LoadAs<TTGABitmap>, HeaderOf<ReadTgaHeader>, FetchLead},
    {"tif", "TIFF-Format", LoadTiff, TiffHeader, FetchTiffHeaderRanges},
    {"tiff", "TIFF-Format", LoadTiff, TiffHeader, FetchTiffHeaderRanges},
    {"jpeg", "JPEG Files", LoadAs<TJPGBitmap>, HeaderOf<ReadJpegHeader>, FetchJpegHeaderRanges},
    {"png", "PNG Files", LoadAs<TPNGBitmap>, HeaderOf<ReadPngHeader>, FetchPngHeaderRanges},
    {"gif", "GIF Files", LoadAs<TGIFBitmap>, HeaderOf<ReadGifHeader>, FetchWhole},
    {"jpg", "JPEG Files", LoadAs<TJPGBitmap>, HeaderOf<ReadJpegHeader>, FetchJpegHeaderRanges},
};

// The registered format for a file name's extension, or throws "Unknown
// picture file extension (.%s)".
const TImageFormat& FormatFor(const std::string& file_name) {
  const std::string dotted = ExtensionWithDot(file_name);
  const std::string extension = dotted.empty() ? "" : dotted.substr(1);
  const std::string wanted = LowerCase(extension);
  const std::span<const TImageFormat> formats(kImageFormats);
  for (auto it = formats.rbegin(); it != formats.rend(); ++it) {
    if (wanted == it->Extension) return *it;
  }
  throw EQuorvaneError("Unknown picture file extension (." + extension + ")",
                       TErrorKind::Unsupported);
}

}  // namespace

std::unique_ptr<TRasterBitmap> LoadPicture(const std::string& file_name, TGeoTiffTags& tags,
                                           const TLoadOptions& options) {
  const TDecodeOptions decode{.Limits = {.MaxPictureBytes = options.MaxPictureBytes}};
  const TImageFormat& format = FormatFor(file_name);
  if (options.Reader) *options.Reader = {};
  if (options.AnyTiff && format.Load == LoadTiff) {
    return LoadAnyTiff(
        file_name, tags, options.MaxPictureBytes,
        [&](TGeoTiffTags& own_tags) { return LoadTiff(file_name, own_tags, decode); },
        options.Reader, options.Display);
  }
  return format.Load(file_name, tags, decode);
}

TPictureHeader ReadPictureHeader(const std::string& file_name, TGeoTiffTags& tags,
                                 const TLoadOptions& options) {
  const TImageFormat& format = FormatFor(file_name);
  const TDecodeLimits limits{.MaxPictureBytes = options.MaxPictureBytes};
  auto own_header = [&](TGeoTiffTags& own_tags) {
    // Only what the header reader looks at is read: a report on a picture
    // of gigabytes reads kilobytes.
    TFileRanges file(file_name);
    format.FetchHeader(file);
    const TPictureInfo info = format.ReadHeader(file.Bytes(), own_tags, limits);
    return TAnyTiffHeader{info.Width, info.Height, info.PixelFormat};
  };
  if (options.AnyTiff && format.Load == LoadTiff) {
    const TAnyTiffHeader header = ReadAnyTiffHeaderRouted(file_name, tags, options.MaxPictureBytes,
                                                          own_header, options.Display);
    return {header.Width, header.Height, header.PixelFormat, header.Report};
  }
  const TAnyTiffHeader header = own_header(tags);
  return {header.Width, header.Height, header.PixelFormat};
}

TPictureHeader ReadPictureHeaderOfBytes(const std::string& file_name,
                                        std::span<const uint8_t> bytes, TGeoTiffTags& tags,
                                        const TLoadOptions& options) {
  const TDecodeLimits limits{.MaxPictureBytes = options.MaxPictureBytes};
  const TPictureInfo info = FormatFor(file_name).ReadHeader(bytes, tags, limits);
  return {info.Width, info.Height, info.PixelFormat};
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

bool SaveReportsProgress(const std::string& file_name) {
  const std::string ext = LowerCase(ExtensionWithDot(file_name));
  for (const char* reporting :
       {".jpg", ".jpeg", ".tif", ".tiff", ".gif", ".png", ".pcx", ".lbm", ".iff", ".ilbm"})
    if (ext == reporting) return true;
  return false;
}

namespace {

// The rows of `bitmap` in `format`, converted one at a time, into a writer
// made for them.
template <typename TWriter, typename... TArgs>
void WriteConverted(const TRasterBitmap& bitmap, TPixelFormat format, TByteSink& sink,
                    TArgs&&... args) {
  TConvertedRows rows(bitmap, format);
  TWriter writer(sink, rows.Frame(), std::forward<TArgs>(args)...);
  rows.WriteTo(writer);
}

// The file SaveBitmapFile writes for an extension, in the pixel format the
// writer needs (the caller's bitmap is never touched), into the sink as it is
// encoded.
void WriteForExtension(const TRasterBitmap& bitmap, const std::string& ext,
                       const TSaveOptions& options, TStageReporter* progress, TByteSink& sink) {
  if (ext == ".jpg" || ext == ".jpeg")
    return WriteConverted<TJpegWriter>(bitmap, TPixelFormat::Bit24, sink, TJpegEncodeOptions{},
                                       progress);
  if (ext == ".tif" || ext == ".tiff") {
    const TTiffEncodeOptions tiff{.PackBits = options.Compress,
                                  .GeoTiff = options.GeoTiff ? options.GeoTiffTags : nullptr};
    return WriteConverted<TTiffWriter>(bitmap, TPixelFormat::Bit24, sink, tiff, progress);
  }
  if (ext == ".gif") return WriteConverted<TGifWriter>(bitmap, TPixelFormat::Bit8, sink, progress);
  if (ext == ".png") return WriteConverted<TPngWriter>(bitmap, TPixelFormat::Bit24, sink, progress);
  if (ext == ".pcx")
    return WriteConverted<TPcxWriter>(bitmap, TPixelFormat::Bit24, sink, progress, kInchesPerMetre);
  // A file named as an IFF picture gets one, so that it opens again.
  if (ext == ".lbm" || ext == ".iff" || ext == ".ilbm")
    return WriteLbm(bitmap, sink, {.Compress = options.Compress}, progress);
  // Truevision's own layout, which every TGA reader opens: 32-bit pictures
  // as they are, all others as 24-bit true colour.
  if (ext == ".tga") {
    std::optional<TRasterBitmap> copy;
    const std::vector<uint8_t> bytes =
        bitmap.PixelFormat() == TPixelFormat::Bit32
            ? EncodeTga(bitmap)
            : EncodeTga(InPixelFormat(bitmap, TPixelFormat::Bit24, copy));
    return sink.Write(bytes.data(), bytes.size());
  }
  // Anything else, no extension included, receives a Windows bitmap.
  TBmpWriter writer(sink, FrameOf(bitmap));
  WriteRows(bitmap, writer);
}

}  // namespace

void SaveBitmapFile(const TRasterBitmap& bitmap, const std::string& file_name,
                    const TSaveOptions& options) {
  // Every writer reports through one stage reporter whose hook lives for
  // this one write.
  TStageReporter reporter;
  std::optional<TScopedStageHook> hook;
  if (options.ShowProgress && options.Progress) hook.emplace(reporter, options.Progress);
  const std::string ext = LowerCase(ExtensionWithDot(file_name));
  // The file is written as it is encoded, beside the target, and replaces
  // it only once complete.
  TOutputFile file(file_name);
  WriteForExtension(bitmap, ext, options, hook ? &reporter : nullptr, file);
  file.Commit();
}

}  // namespace quorvane
