#include "anytiff/any_tiff_chunks.h"

#include <algorithm>
#include <string>

#include "anytiff/any_tiff_chunk_reader.h"
#include "raster/error.h"

namespace quorvane {

// Every chunk but a lone one has its offset stored in the file, in 4 or 8
// bytes: a directory claiming more chunks than that describes no file, and
// walking them all would only take time.
void CheckAnyTiffChunks(TLibTiffHandle& handle, const TAnyTiffLayout& layout) {
  TIFF* tiff = handle.Tiff();
  const uint64_t count = layout.Tiled ? TIFFNumberOfTiles(tiff) : TIFFNumberOfStrips(tiff);
  const uint64_t entry = TIFFIsBigTIFF(tiff) ? 8 : 4;
  if (count == 0) throw EQuorvaneError("Invalid TIF File: no strips or tiles", TErrorKind::Corrupt);
  if (count > 1 && count * entry > handle.Source().Size())
    throw EQuorvaneError("Invalid TIF File: " + std::to_string(count) +
                             (layout.Tiled ? " tiles" : " strips") + " cannot fit in the file",
                         TErrorKind::Corrupt);
}

namespace {

void ReportRows(TStageReporter* progress, long long rows) {
  if (!progress) return;
  for (long long i = 0; i < rows; ++i) progress->Report(TProgressStage::Running);
}

// How many workers to use: no more than asked for, than there are bands or
// sinks, or than the buffer limit has room for.
int WorkerCount(const TChunkReadOptions& options, const TChunkReader& first, size_t sinks) {
  if (!options.Parallel || !options.OpenHandle) return 1;
  const uint64_t each = std::max<uint64_t>(first.BufferBytes(), 1);
  const uint64_t room = std::max<uint64_t>(options.BufferLimit / each, 1);
  return int(std::min<uint64_t>(
      {uint64_t(std::max(options.Workers, 1)), first.BandCount(), uint64_t(sinks), room}));
}

}  // namespace

void ReadAnyTiffChunks(TLibTiffHandle& handle, const TAnyTiffLayout& layout,
                       const TChunkReadOptions& options, const std::vector<TChunkSink*>& sinks) {
  TChunkReader first(handle, layout, options, *sinks.at(0));
  const TAnyTiffTick report = [&](long long rows) { ReportRows(options.Progress, rows); };
  if (first.Prepare()) {
    first.ReadByScanlines(report);
    return;
  }
  const int workers = WorkerCount(options, first, sinks.size());
  first.Allocate();
  // Workers other than the first open their handle and buffers on their own
  // thread, when they take their first band.
  std::vector<std::unique_ptr<TLibTiffHandle>> handles(static_cast<size_t>(workers));
  std::vector<std::unique_ptr<TChunkReader>> readers(static_cast<size_t>(workers));
  auto reader_of = [&](int worker) -> TChunkReader& {
    if (worker == 0) return first;
    std::unique_ptr<TChunkReader>& reader = readers[size_t(worker)];
    if (!reader) {
      handles[size_t(worker)] = options.OpenHandle();
      reader = std::make_unique<TChunkReader>(*handles[size_t(worker)], layout, options,
                                              *sinks[size_t(worker)]);
      reader->Prepare();
      reader->Allocate();
    }
    return *reader;
  };
  RunBands(
      options.Parallel, workers, int(first.BandCount()),
      [&](int band, int worker, const TAnyTiffTick& tick) {
        TChunkReader& reader = reader_of(worker);
        reader.ReadBand(uint32_t(band));
        tick(reader.BandRows(uint32_t(band)));
      },
      [&](long long rows) { ReportRows(options.Progress, rows); });
}

}  // namespace quorvane
