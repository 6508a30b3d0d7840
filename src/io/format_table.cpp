// The formats, one row each, and the small adapters that give every codec
// the table's shapes.
#include "io/format_table.h"

#include <filesystem>
#include <optional>
#include <system_error>

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
#include "io/format_registry.h"
#include "io/tiff_picture_rows.h"
#include "raster/byte_stream.h"
#include "raster/error.h"
#include "raster/pixel_convert.h"
#include "tiff/tiff_header_ranges.h"
#include "tiff/tiff_reader.h"
#include "tiff/tiff_writer.h"

namespace quorvane {

namespace {

// A codec's header reader and decoder in the table's shapes (only TIFF
// files carry GeoTIFF tags).
template <TPictureInfo (*Read)(std::span<const uint8_t>, const TDecodeLimits&)>
TPictureInfo HeaderOf(std::span<const uint8_t> bytes, TGeoTiffTags&, const TDecodeLimits& limits) {
  return Read(bytes, limits);
}

template <void (*Decode)(std::span<const uint8_t>, TRasterBitmap&, const TDecodeOptions&)>
void DecodeOf(std::span<const uint8_t> bytes, TRasterBitmap& bitmap, TGeoTiffTags&,
              const TDecodeOptions& options) {
  Decode(bytes, bitmap, options);
}

void DecodePcxFile(std::span<const uint8_t> bytes, TRasterBitmap& bitmap, TGeoTiffTags&,
                   const TDecodeOptions& options) {
  DecodePcx(bytes, bitmap, options);
}

// No format we stream packs pixels tighter than this (deflate's limit is
// about 1032 to 1): a header that promises more is not believed.
constexpr uint64_t kMostPixelBytesPerFileByte = 2048;

// Whether a file can hold the picture its header promises. A picture
// within the memory cap streams even when cut short, as it loads; one
// beyond it only when the file could hold it, so a header of terabytes
// over a few bytes of data gets the whole load's refusal, not a stream of
// terabytes of black.
bool Believable(const TPictureInfo& picture, const std::string& path, const TLoadOptions& options) {
  const uint64_t bytes =
      uint64_t(RowStride(picture.Width, BitsPerPixelOf(picture.PixelFormat), 32)) *
      uint64_t(picture.Height);
  if (bytes <= TDecodeLimits{.MaxPictureBytes = options.MaxPictureBytes}.Cap()) return true;
  std::error_code error;
  const uint64_t size = std::filesystem::file_size(path, error);
  return !error && bytes / kMostPixelBytesPerFileByte <= size;
}

// A codec's row reader in the table's shape. A file whose header it cannot
// read is left to the whole-picture load, which reports it as it always has.
template <std::unique_ptr<TPictureRows> (*Open)(const std::string&)>
std::unique_ptr<TPictureRows> RowsOf(const std::string& path, TGeoTiffTags&,
                                     const TLoadOptions& options) {
  std::unique_ptr<TPictureRows> rows;
  try {
    rows = Open(path);
  } catch (const EQuorvaneError&) {
    return nullptr;
  }
  if (rows && !Believable(rows->Picture(), path, options)) return nullptr;
  return rows;
}

void FetchWhole(TFileRanges& file) {
  file.Fetch(0, file.Size());
}

// Bitmap, PCX and TGA headers (with a bitmap's masks and colour table) sit
// in the first kilobytes.
void FetchLead(TFileRanges& file) {
  FetchEnds(file, 64 * 1024);
}

TPixelFormat AsGiven(TPixelFormat picture) {
  return picture;
}

template <TPixelFormat Format>
TPixelFormat Always(TPixelFormat) {
  return Format;
}

// Truevision's own layout, which every TGA reader opens: 32-bit pictures as
// they are, all others as 24-bit true colour.
TPixelFormat TgaPixels(TPixelFormat picture) {
  return picture == TPixelFormat::Bit32 ? picture : TPixelFormat::Bit24;
}

std::unique_ptr<TRowWriter> JpegWriter(TByteSink& sink, const TPictureFrame& frame,
                                       const TSaveOptions&, TStageReporter* progress) {
  return std::make_unique<TJpegWriter>(sink, frame, TJpegEncodeOptions{}, progress);
}

std::unique_ptr<TRowWriter> TiffWriter(TByteSink& sink, const TPictureFrame& frame,
                                       const TSaveOptions& options, TStageReporter* progress) {
  const TTiffEncodeOptions tiff{.PackBits = options.Compress,
                                .GeoTiff = options.GeoTiff ? options.GeoTiffTags : nullptr};
  return std::make_unique<TTiffWriter>(sink, frame, tiff, progress);
}

std::unique_ptr<TRowWriter> GifWriter(TByteSink& sink, const TPictureFrame& frame,
                                      const TSaveOptions&, TStageReporter* progress) {
  return std::make_unique<TGifWriter>(sink, frame, progress);
}

std::unique_ptr<TRowWriter> PngWriter(TByteSink& sink, const TPictureFrame& frame,
                                      const TSaveOptions&, TStageReporter* progress) {
  return std::make_unique<TPngWriter>(sink, frame, progress);
}

std::unique_ptr<TRowWriter> PcxWriter(TByteSink& sink, const TPictureFrame& frame,
                                      const TSaveOptions&, TStageReporter* progress) {
  return std::make_unique<TPcxWriter>(sink, frame, progress, kInchesPerMetre);
}

std::unique_ptr<TRowWriter> BmpWriter(TByteSink& sink, const TPictureFrame& frame,
                                      const TSaveOptions&, TStageReporter*) {
  return std::make_unique<TBmpWriter>(sink, frame);
}

// The LBM writer picks its own 8-bit palette from the whole picture.
void LbmEncode(const TRasterBitmap& picture, TByteSink& sink, const TSaveOptions& options,
               TStageReporter* progress) {
  WriteLbm(picture, sink, {.Compress = options.Compress}, progress);
}

std::unique_ptr<TRowWriter> TgaWriter(TByteSink& sink, const TPictureFrame& frame,
                                      const TSaveOptions&, TStageReporter*) {
  return std::make_unique<TTgaWriter>(sink, frame);
}

// The registration order (the `Registered` numbers) is the one the type list
// has always shown; "iff" and "ilbm" are the usual names of IFF pictures
// besides ".lbm".
constexpr TImageFormat kImageFormats[] = {
    {.Key = "metafile",
     .Names = {{{"wmf", "Metafiles", 1}, {"emf", "Enhanced Metafiles", 2}}},
     .Refusal = "Windows metafiles (.wmf, .emf) are not supported on this platform"},
    {.Key = "ico",
     .Names = {{{"ico", "Icons", 3}}},
     .FetchHeader = FetchWhole,
     .ReadHeader = HeaderOf<ReadIconHeader>,
     .Decode = DecodeOf<DecodeIcon>},
    {.Key = "bmp",
     .Names = {{{"bmp", "Bitmaps", 4}}},
     .FetchHeader = FetchLead,
     .ReadHeader = HeaderOf<ReadBmpHeader>,
     .Decode = DecodeOf<DecodeBmp>,
     .OpenRows = RowsOf<OpenBmpRows>,
     .WriterPixels = AsGiven,
     .MakeWriter = BmpWriter},
    {.Key = "iff",
     .Names = {{{"lbm", "LBM Files", 5}, {"iff", "IFF Files", 6}, {"ilbm", "IFF Files", 7}}},
     .FetchHeader = FetchWhole,
     .ReadHeader = HeaderOf<ReadLbmHeader>,
     .Decode = DecodeOf<DecodeLbm>,
     .OpenRows = RowsOf<OpenLbmRows>,
     .WriterPixels = AsGiven,
     .Encode = LbmEncode,
     .ReportsProgress = true},
    {.Key = "pcx",
     .Names = {{{"pcx", "PCX Files", 8}}},
     .FetchHeader = FetchLead,
     .ReadHeader = HeaderOf<ReadPcxHeader>,
     .Decode = DecodePcxFile,
     .OpenRows = RowsOf<OpenPcxRows>,
     .WriterPixels = Always<TPixelFormat::Bit24>,
     .MakeWriter = PcxWriter,
     .ReportsProgress = true},
    {.Key = "tga",
     .Names = {{{"tga", "TGA Files", 9}}},
     .FetchHeader = FetchLead,
     .ReadHeader = HeaderOf<ReadTgaHeader>,
     .Decode = DecodeOf<DecodeTga>,
     .OpenRows = RowsOf<OpenTgaRows>,
     .WriterPixels = TgaPixels,
     .MakeWriter = TgaWriter},
    {.Key = "tiff",
     .Names = {{{"tif", "TIFF-Format", 10}, {"tiff", "TIFF-Format", 11}}},
     .FetchHeader = FetchTiffHeaderRanges,
     .ReadHeader = ReadTiffHeader,
     .Decode = DecodeTiff,
     .OpenRows = OpenTiffRows,
     .WriterPixels = Always<TPixelFormat::Bit24>,
     .MakeWriter = TiffWriter,
     .ReportsProgress = true,
     .StreamsRows = true,
     .ExtendedTiff = true},
    {.Key = "jpeg",
     .Names = {{{"jpeg", "JPEG Files", 12}, {"jpg", "JPEG Files", 15}}},
     .FetchHeader = FetchJpegHeaderRanges,
     .ReadHeader = HeaderOf<ReadJpegHeader>,
     .Decode = DecodeOf<DecodeJpeg>,
     .OpenRows = RowsOf<OpenJpegRows>,
     .WriterPixels = Always<TPixelFormat::Bit24>,
     .MakeWriter = JpegWriter,
     .ReportsProgress = true,
     .StreamsRows = true},
    {.Key = "png",
     .Names = {{{"png", "PNG Files", 13}}},
     .FetchHeader = FetchPngHeaderRanges,
     .ReadHeader = HeaderOf<ReadPngHeader>,
     .Decode = DecodeOf<DecodePng>,
     .OpenRows = RowsOf<OpenPngRows>,
     .WriterPixels = Always<TPixelFormat::Bit24>,
     .MakeWriter = PngWriter,
     .ReportsProgress = true,
     .StreamsRows = true},
    {.Key = "gif",
     .Names = {{{"gif", "GIF Files", 14}}},
     .FetchHeader = FetchWhole,
     .ReadHeader = HeaderOf<ReadGifHeader>,
     .Decode = DecodeOf<DecodeGif>,
     .WriterPixels = Always<TPixelFormat::Bit8>,
     .MakeWriter = GifWriter,
     .ReportsProgress = true},
};

}  // namespace

std::span<const TImageFormat> ImageFormats() {
  return kImageFormats;
}

const TImageFormat* FindImageFormat(std::string_view extension) {
  const TImageFormat* found = nullptr;
  int registered = 0;
  for (const TImageFormat& format : kImageFormats)
    for (const TFormatName& name : format.Names)
      if (name.Extension && extension == name.Extension && name.Registered > registered) {
        found = &format;
        registered = name.Registered;
      }
  return found;
}

const TImageFormat& SaveFormatFor(const std::string& file_name) {
  const std::string dotted = LowerExtension(file_name);
  const TImageFormat* format = FindImageFormat(dotted.empty() ? "" : dotted.substr(1));
  if (format && format->Writes()) return *format;
  return *FindImageFormat("bmp");
}

}  // namespace quorvane
