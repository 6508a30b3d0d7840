// Opening, header reports, saving and the type list, each a walk over the
// format table.
#include "io/format_registry.h"

#include <algorithm>
#include <optional>
#include <span>
#include <vector>

#include "io/file_names.h"
#include "io/format_table.h"
#include "raster/converted_rows.h"
#include "raster/error.h"
#include "raster/file_io.h"
#include "raster/file_ranges.h"
#include "raster/output_file.h"
#include "raster/pixel_convert.h"

namespace quorvane {

namespace {

// The format for a file name's extension, or throws "Unknown picture file
// extension (.%s)", or the format's refusal.
const TImageFormat& ReadFormatFor(const std::string& file_name) {
  const std::string dotted = ExtensionWithDot(file_name);
  const std::string extension = dotted.empty() ? "" : dotted.substr(1);
  const TImageFormat* format = FindImageFormat(LowerCase(extension));
  if (!format)
    throw EQuorvaneError("Unknown picture file extension (." + extension + ")",
                         TErrorKind::Unsupported);
  if (!format->Reads()) throw EQuorvaneError(format->Refusal, TErrorKind::Unsupported);
  return *format;
}

// Decodes the whole file into a fresh bitmap, so a failure leaves the
// caller's picture as it was.
std::unique_ptr<TRasterBitmap> LoadAs(const TImageFormat& format, const std::string& path,
                                      TGeoTiffTags& tags, const TDecodeOptions& options) {
  auto picture = std::make_unique<TRasterBitmap>();
  format.Decode(ReadFileBytes(path), *picture, tags, options);
  return picture;
}

}  // namespace

std::unique_ptr<TRasterBitmap> LoadPicture(const std::string& file_name, TGeoTiffTags& tags,
                                           const TLoadOptions& options) {
  const TDecodeOptions decode{.Limits = {.MaxPictureBytes = options.MaxPictureBytes}};
  const TImageFormat& format = ReadFormatFor(file_name);
  if (options.Reader) *options.Reader = {};
  if (options.AnyTiff && format.ExtendedTiff) {
    return LoadAnyTiff(
        file_name, tags, options.MaxPictureBytes,
        [&](TGeoTiffTags& own_tags) { return LoadAs(format, file_name, own_tags, decode); },
        options.Reader, options.Display);
  }
  return LoadAs(format, file_name, tags, decode);
}

TPictureHeader ReadPictureHeader(const std::string& file_name, TGeoTiffTags& tags,
                                 const TLoadOptions& options) {
  const TImageFormat& format = ReadFormatFor(file_name);
  const TDecodeLimits limits{.MaxPictureBytes = options.MaxPictureBytes};
  auto own_header = [&](TGeoTiffTags& own_tags) {
    // Only what the header reader looks at is read: a report on a picture
    // of gigabytes reads kilobytes.
    TFileRanges file(file_name);
    format.FetchHeader(file);
    const TPictureInfo info = format.ReadHeader(file.Bytes(), own_tags, limits);
    return TAnyTiffHeader{info.Width, info.Height, info.PixelFormat};
  };
  if (options.AnyTiff && format.ExtendedTiff) {
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
  const TPictureInfo info = ReadFormatFor(file_name).ReadHeader(bytes, tags, limits);
  return {info.Width, info.Height, info.PixelFormat};
}

std::string BuildTypeFilter() {
  std::vector<TFormatName> names;
  for (const TImageFormat& format : ImageFormats())
    for (const TFormatName& name : format.Names)
      if (name.Extension) names.push_back(name);
  // The last registered comes first.
  std::sort(names.begin(), names.end(),
            [](const TFormatName& a, const TFormatName& b) { return a.Registered > b.Registered; });
  std::string entries, patterns;
  for (const TFormatName& name : names) {
    const std::string pattern = std::string("*.") + name.Extension;
    if (!entries.empty()) {
      entries += '|';
      patterns += ';';
    }
    entries += std::string(name.Description) + " (" + pattern + ")|" + pattern;
    patterns += pattern;
  }
  if (names.size() > 1) return "All (" + patterns + ")|" + patterns + "|" + entries;
  return entries;
}

bool SaveReportsProgress(const std::string& file_name) {
  return SaveFormatFor(file_name).ReportsProgress;
}

void SaveBitmapFile(const TRasterBitmap& bitmap, const std::string& file_name,
                    const TSaveOptions& options) {
  const TImageFormat& format = SaveFormatFor(file_name);
  // Every writer reports through one stage reporter whose hook lives for
  // this one write.
  TStageReporter reporter;
  std::optional<TScopedStageHook> hook;
  if (options.ShowProgress && options.Progress) hook.emplace(reporter, options.Progress);
  TStageReporter* progress = hook ? &reporter : nullptr;
  const TPixelFormat pixels = format.WriterPixels(bitmap.PixelFormat());
  // The file is written as it is encoded, beside the target, and replaces
  // it only once complete; the caller's bitmap is never touched.
  TOutputFile file(file_name);
  if (format.MakeWriter) {
    TConvertedRows rows(bitmap, pixels);
    const std::unique_ptr<TRowWriter> writer =
        format.MakeWriter(file, rows.Frame(), options, progress);
    rows.WriteTo(*writer);
  } else {
    std::optional<TRasterBitmap> copy;
    format.Encode(InPixelFormat(bitmap, pixels, copy), file, options, progress);
  }
  file.Commit();
}

}  // namespace quorvane
