#include "anytiff/any_tiff_reader.h"

#include <algorithm>
#include <memory>
#include <new>
#include <optional>

#include "anytiff/any_tiff_band_sink.h"
#include "anytiff/any_tiff_chunks.h"
#include "anytiff/any_tiff_direct.h"
#include "anytiff/any_tiff_geotags.h"
#include "anytiff/any_tiff_handle.h"
#include "anytiff/any_tiff_overview.h"
#include "anytiff/any_tiff_rgba.h"
#include "anytiff/any_tiff_stretched.h"
#include "raster/error.h"

namespace quorvane {

namespace {

// libtiff's own blocks may take as much as the picture, and at least this
// much, so that a small cap still reads ordinary tiles.
constexpr uint64_t kSmallestWorkingLimit = uint64_t(64) << 20;

uint64_t WorkingLimit(const TAnyTiffOptions& options) {
  return std::max(options.MaxPictureBytes, kSmallestWorkingLimit);
}

// What the chunk buffers of all workers together may take beyond what the
// picture needs: room for ordinary tiles and strips of a small picture. A
// file cannot make the reader take more than its picture plus this, however
// many samples or however large chunks its header claims.
constexpr uint64_t kWorkingRoom = uint64_t(32) << 20;

uint64_t BufferLimit(const TAnyTiffOptions& options, const TAnyTiffLevel& level) {
  return std::min(WorkingLimit(options), PictureBytes(level.Layout, level.Plan) + kWorkingRoom);
}

// A stretched picture keeps its samples in a working copy while the chunks
// are read once, when the copy fits beside the picture under the cap and the
// file is large enough to hold such data: a compressed file rarely packs its
// samples into less than a sixteenth, and a few bytes claiming a huge
// elevation model are read twice rather than given a copy of their claim.
constexpr uint64_t kMostCompression = 16;

uint64_t SpareBytes(const TAnyTiffOptions& options, const TAnyTiffLevel& level,
                    uint64_t file_size) {
  const uint64_t picture = PictureBytes(level.Layout, level.Plan);
  const uint64_t cap_leaves = options.MaxPictureBytes - std::min(options.MaxPictureBytes, picture);
  return std::min(cap_leaves, file_size * kMostCompression);
}

// The file opened as far as the choice of image: what the header alone tells.
struct TOpened {
  TAnyTiffLevel Level;
  uint32_t FullWidth = 0, FullHeight = 0;
  TGeoTiffTags Tags;
  std::optional<std::string> NoData;
};

// Settings that belong to the chosen image, not to the file: each handle
// reading it needs them.
void PrepareImage(TLibTiffHandle& handle, const TAnyTiffLevel& level) {
  if (!level.Plan.JpegAsRgb) return;
  handle.BeginCall();
  if (!TIFFSetField(handle.Tiff(), TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB))
    handle.Fail("Unsupported JPEG Colour Model");
}

// `full_resolution`: the full image whatever the cap, for a reader that
// never holds all of it.
TOpened Open(TLibTiffHandle& handle, const TGeoTiffTags& tags, const TAnyTiffOptions& options,
             bool full_resolution = false) {
  TOpened opened;
  TIFF* tiff = handle.Tiff();
  // The tags and the nodata value belong to the full-resolution image;
  // overviews carry neither.
  opened.Tags = tags;
  ReadAnyTiffGeoTags(tiff, opened.Tags);
  opened.NoData = ReadGdalNoData(tiff);
  TAnyTiffLevel full;
  full.Layout = ReadAnyTiffLayout(tiff);
  full.Plan = PlanAnyTiff(full.Layout, options.Display ? &*options.Display : nullptr);
  opened.FullWidth = full.Layout.Width;
  opened.FullHeight = full.Layout.Height;
  opened.Level = full_resolution ? full : ChooseAnyTiffLevel(handle, full, options.MaxPictureBytes);
  if (opened.Level.Level > 0)
    ScaleGeoTiffTags(opened.Tags, opened.Level.FactorX, opened.Level.FactorY);
  PrepareImage(handle, opened.Level);
  CheckAnyTiffChunks(handle, opened.Level.Layout);
  return opened;
}

TAnyTiffResult ResultOf(const TOpened& opened, const TLibTiffHandle& handle) {
  TAnyTiffResult result;
  result.OverviewLevel = opened.Level.Level;
  result.Factor = opened.Level.FactorX;
  result.FactorY = opened.Level.FactorY;
  result.Width = int(opened.Level.Layout.Width);
  result.Height = int(opened.Level.Layout.Height);
  result.FullWidth = int(opened.FullWidth);
  result.FullHeight = int(opened.FullHeight);
  result.PixelFormat = opened.Level.Plan.Format;
  result.Warnings = handle.Warnings();
  const TAnyTiffPlan& plan = opened.Level.Plan;
  result.SamplesPerPixel = opened.Level.Layout.SamplesPerPixel;
  result.ShownBands = plan.BandList;
  result.BandChoice = IsStretched(plan.Conversion) || plan.Conversion == TAnyTiffConversion::Grey ||
                      plan.Conversion == TAnyTiffConversion::Colour;
  const TNoData nodata = ParseNoData(opened.NoData, plan.Sample);
  if (nodata.Set) result.NoData = nodata.Value;
  return result;
}

TRasterBitmap AllocatePicture(const TAnyTiffLevel& level) {
  TRasterBitmap picture;
  picture.Reset(level.Plan.Format, int(level.Layout.Width), int(level.Layout.Height));
  const std::vector<TRGBQuad>& palette = level.Plan.Palette;
  std::span<TRGBQuad> table = picture.ColorTable();
  std::copy_n(palette.begin(), std::min(palette.size(), table.size()), table.begin());
  return picture;
}

// Several workers write whole bytes of the picture only: chunks of a
// bilevel or 4-bit picture must then start on a byte.
int Workers(const TAnyTiffLevel& level, const TAnyTiffOptions& options) {
  const int bits = BitsPerPixelOf(level.Plan.Format);
  if (bits < 8 && (uint64_t(level.Layout.ChunkWidth) * bits) % 8 != 0) return 1;
  return std::max(options.Threads, 1);
}

std::vector<TBandSummary> DecodePixels(TAnyTiffSource& source, TLibTiffHandle& handle,
                                       const TOpened& opened, const TAnyTiffOptions& options,
                                       TRasterBitmap& picture) {
  const TAnyTiffLayout& layout = opened.Level.Layout;
  const TAnyTiffPlan& plan = opened.Level.Plan;
  TChunkReadOptions chunks;
  chunks.Bands = SamplesRead(plan);
  chunks.BufferLimit = BufferLimit(options, opened.Level);
  chunks.Progress = options.Progress;
  chunks.Workers = Workers(opened.Level, options);
  chunks.Parallel = options.Parallel;
  chunks.OpenHandle = [&source, &opened, limit = chunks.BufferLimit] {
    auto worker = std::make_unique<TLibTiffHandle>(source, limit);
    worker->BeginCall();
    if (opened.Level.Directory != 0 && !TIFFSetDirectory(worker->Tiff(), opened.Level.Directory))
      worker->Fail("Cannot Read TIF File");
    PrepareImage(*worker, opened.Level);
    return worker;
  };
  if (plan.Conversion == TAnyTiffConversion::Rgba) {
    DecodeAnyTiffRgba(handle, layout, chunks.BufferLimit, options.Progress, picture);
  } else if (IsStretched(plan.Conversion)) {
    TStretchedDecode decode;
    decode.Plan = &plan;
    decode.NoData = ParseNoData(opened.NoData, plan.Sample);
    decode.Chunks = chunks;
    decode.SpareBytes = SpareBytes(options, opened.Level, source.Size());
    return DecodeStretched(handle, layout, decode, picture);
  } else {
    if (options.Progress) options.Progress->Report(TProgressStage::Starting, int(layout.Height));
    std::vector<std::unique_ptr<TDirectSink>> sinks;
    std::vector<TChunkSink*> pointers;
    for (int w = 0; w < chunks.Workers; ++w) {
      sinks.push_back(std::make_unique<TDirectSink>(plan, picture));
      pointers.push_back(sinks.back().get());
    }
    ReadAnyTiffChunks(handle, layout, chunks, pointers);
  }
  return {};
}

}  // namespace

TAnyTiffResult DecodeAnyTiff(TAnyTiffSource& source, TRasterBitmap& bitmap, TGeoTiffTags& tags,
                             const TAnyTiffOptions& options) {
  TStageHookClearer clear_hook(options.Progress);
  TLibTiffHandle handle(source, WorkingLimit(options));
  const TOpened opened = Open(handle, tags, options);
  TRasterBitmap picture = AllocatePicture(opened.Level);
  std::vector<TBandSummary> bands = DecodePixels(source, handle, opened, options, picture);
  if (options.Progress) options.Progress->Report(TProgressStage::Ending);
  bitmap = std::move(picture);
  tags = opened.Tags;
  TAnyTiffResult result = ResultOf(opened, handle);
  result.Bands = std::move(bands);
  return result;
}

TAnyTiffResult DecodeAnyTiffBytes(std::span<const uint8_t> bytes, TRasterBitmap& bitmap,
                                  TGeoTiffTags& tags, const TAnyTiffOptions& options) {
  TMemoryTiffSource source(bytes);
  return DecodeAnyTiff(source, bitmap, tags, options);
}

TAnyTiffResult DecodeAnyTiffFile(const std::string& path, TRasterBitmap& bitmap, TGeoTiffTags& tags,
                                 const TAnyTiffOptions& options) {
  TFileTiffSource source(path);
  return DecodeAnyTiff(source, bitmap, tags, options);
}

TAnyTiffResult ReadAnyTiffHeader(TAnyTiffSource& source, TGeoTiffTags& tags,
                                 const TAnyTiffOptions& options) {
  TLibTiffHandle handle(source, WorkingLimit(options));
  const TOpened opened = Open(handle, tags, options);
  tags = opened.Tags;
  return ResultOf(opened, handle);
}

struct TAnyTiffRows::TState {
  TState(std::unique_ptr<TAnyTiffSource> file, const TAnyTiffOptions& options)
      : source(std::move(file)), handle(*source, WorkingLimit(options)) {}
  std::unique_ptr<TAnyTiffSource> source;
  TLibTiffHandle handle;
  TOpened opened;
  uint64_t buffer_limit = 0;
};

TAnyTiffRows::TAnyTiffRows(std::unique_ptr<TAnyTiffSource> source, TGeoTiffTags& tags,
                           const TAnyTiffOptions& options)
    : state_(std::make_unique<TState>(std::move(source), options)) {
  state_->opened = Open(state_->handle, tags, options, true);
  state_->buffer_limit = BufferLimit(options, state_->opened.Level);
  tags = state_->opened.Tags;
}

TAnyTiffRows::~TAnyTiffRows() = default;

bool TAnyTiffRows::Streams() const {
  const TAnyTiffConversion conversion = state_->opened.Level.Plan.Conversion;
  return conversion != TAnyTiffConversion::Rgba && !IsStretched(conversion);
}

int TAnyTiffRows::Width() const {
  return int(state_->opened.Level.Layout.Width);
}

int TAnyTiffRows::Height() const {
  return int(state_->opened.Level.Layout.Height);
}

TPixelFormat TAnyTiffRows::PixelFormat() const {
  return state_->opened.Level.Plan.Format;
}

void TAnyTiffRows::Stream(const std::function<bool(const TRasterBitmap&, int)>& rows) {
  const TAnyTiffLevel& level = state_->opened.Level;
  TChunkReadOptions chunks;
  chunks.Bands = SamplesRead(level.Plan);
  chunks.BufferLimit = state_->buffer_limit;
  TBandSink sink(level.Plan, level.Layout.Width, level.Layout.Height, rows);
  // The sink stops the reading by throwing, from our own frames between
  // libtiff calls.
  try {
    ReadAnyTiffChunks(state_->handle, level.Layout, chunks, {&sink});
    sink.Finish();
  } catch (const TBandSink::TStop&) {
  }
}

}  // namespace quorvane
