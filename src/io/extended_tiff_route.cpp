#include "io/extended_tiff_route.h"

#include <algorithm>
#include <fstream>
#include <thread>

#include "anytiff/any_tiff_reader.h"
#include "imaging/parallel_bands.h"
#include "raster/decode_limits.h"
#include "raster/error.h"

namespace quorvane {

namespace {

// The classic header and first directory of every file worth steering sit
// well within this; a directory beyond it is simply not looked at.
constexpr std::streamsize kSniffBytes = 1 << 16;

std::vector<uint8_t> ReadFileStart(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::vector<uint8_t> bytes(static_cast<size_t>(kSniffBytes));
  file.read(reinterpret_cast<char*>(bytes.data()), kSniffBytes);
  bytes.resize(size_t(std::max<std::streamsize>(file.gcount(), 0)));
  return bytes;
}

TAnyTiffOptions ExtendedOptions(uint64_t max_picture_bytes, const TAnyTiffDisplay& display) {
  TAnyTiffOptions options;
  options.Display = display;
  options.MaxPictureBytes = TDecodeLimits{.MaxPictureBytes = max_picture_bytes}.Cap();
  options.Parallel = ParallelBands;
  options.Threads = ResolveThreadCount(0);
  return options;
}

TReaderReport ReportOf(const TAnyTiffResult& result, const TAnyTiffDisplay& display) {
  return {.ExtendedReader = true,
          .OverviewLevel = result.OverviewLevel,
          .OverviewFactor = result.Factor,
          .FullWidth = result.FullWidth,
          .FullHeight = result.FullHeight,
          .Warnings = result.Warnings,
          .BandChoice = result.BandChoice,
          .Display = display,
          .SamplesPerPixel = result.SamplesPerPixel,
          .NoData = result.NoData,
          .ShownBands = result.ShownBands,
          .Bands = result.Bands};
}

// Runs our own reader on a copy of the tags, so that a refusal halfway
// through leaves nothing of that file behind for the extended reader.
// Returns false when the file goes to the extended reader instead.
template <typename TResult, typename TOwn>
bool TryOwnReader(const std::string& path, TGeoTiffTags& tags, const TOwn& own, TResult& result) {
  if (HeaderWantsExtendedReader(path)) return false;
  TGeoTiffTags own_tags = tags;
  try {
    result = own(own_tags);
  } catch (const EQuorvaneError& error) {
    if (IsOwnReaderRefusal(error)) return false;
    throw;
  }
  tags = std::move(own_tags);
  return true;
}

}  // namespace

bool HeaderWantsExtendedReader(const std::string& path) {
  return WantsExtendedReader(ReadFileStart(path));
}

std::unique_ptr<TAnyTiffRows> OpenAnyTiffRows(const std::string& path, TGeoTiffTags& tags,
                                              uint64_t max_picture_bytes,
                                              const TAnyTiffDisplay& display) {
  return std::make_unique<TAnyTiffRows>(std::make_unique<TFileTiffSource>(path), tags,
                                        ExtendedOptions(max_picture_bytes, display));
}

bool IsOwnReaderRefusal(const EQuorvaneError& error) {
  return error.Kind() == TErrorKind::Unsupported;
}

std::unique_ptr<TRasterBitmap> LoadAnyTiff(const std::string& path, TGeoTiffTags& tags,
                                           uint64_t max_picture_bytes, const TOwnTiffLoad& own,
                                           TReaderReport* report, const TAnyTiffDisplay& display) {
  std::unique_ptr<TRasterBitmap> picture;
  if (TryOwnReader(path, tags, own, picture)) return picture;
  picture = std::make_unique<TRasterBitmap>();
  auto source = std::make_shared<TFileTiffSource>(path);
  const TAnyTiffResult result =
      DecodeAnyTiff(*source, *picture, tags, ExtendedOptions(max_picture_bytes, display));
  if (report) {
    *report = ReportOf(result, display);
    if (result.BandChoice) report->Source = std::move(source);
  }
  return picture;
}

std::unique_ptr<TRasterBitmap> RenderAnyTiff(TReaderReport& report, const TAnyTiffDisplay& display,
                                             uint64_t max_picture_bytes) {
  if (!report.Source) throw EQuorvaneError("No Bands To Choose");
  auto picture = std::make_unique<TRasterBitmap>();
  TGeoTiffTags tags;
  const TAnyTiffResult result =
      DecodeAnyTiff(*report.Source, *picture, tags, ExtendedOptions(max_picture_bytes, display));
  std::shared_ptr<TAnyTiffSource> source = std::move(report.Source);
  report = ReportOf(result, display);
  report.Source = std::move(source);
  return picture;
}

TAnyTiffHeader ReadAnyTiffHeaderRouted(const std::string& path, TGeoTiffTags& tags,
                                       uint64_t max_picture_bytes, const TOwnTiffHeader& own,
                                       const TAnyTiffDisplay& display) {
  TAnyTiffHeader header;
  if (TryOwnReader(path, tags, own, header)) return header;
  TFileTiffSource source(path);
  const TAnyTiffResult result =
      ReadAnyTiffHeader(source, tags, ExtendedOptions(max_picture_bytes, display));
  return {result.Width, result.Height, result.PixelFormat, ReportOf(result, display)};
}

}  // namespace quorvane
