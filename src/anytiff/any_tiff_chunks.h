#pragma once
// Decodes the chunks (tiles or strips) of the directory libtiff holds, a band
// of chunks at a time (a row of tiles, or a strip), and hands each to a sink
// with its samples interleaved, whatever the planar configuration. Only the
// planes of the bands shown are read. A chunk the file does not hold
// (sparse, or past the end of a file cut short) is reported as missing; one
// the file cuts off keeps what could be decoded. Any other libtiff failure
// ends the read with its message. Bands can be spread over several workers,
// each with its own libtiff handle and its own sink.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "raster/progress.h"
#include "anytiff/any_tiff_handle.h"
#include "anytiff/any_tiff_layout.h"
#include "anytiff/any_tiff_parallel.h"

namespace quorvane {

struct TChunk {
  uint32_t X = 0, Y = 0;           // where its first pixel goes
  uint32_t Width = 0, Height = 0;  // clipped to the image
  const uint8_t* Data = nullptr;   // its first row
  size_t RowBytes = 0;             // from one row to the next
  int SamplesPerPixel = 1;         // interleaved in each row
  // The file ended inside the chunk: what could be decoded is there, the
  // rest reads as zeros.
  bool Partial = false;
};

// Workers call their own sink only, and never two sinks for the same pixels.
class TChunkSink {
 public:
  virtual ~TChunkSink() = default;
  virtual void Chunk(const TChunk& chunk) = 0;
  // The pixels of this rectangle are not in the file.
  virtual void Missing(uint32_t x, uint32_t y, uint32_t width, uint32_t height) = 0;
};

struct TChunkReadOptions {
  int Bands = 1;                       // planes read from a file with separate planes
  uint64_t BufferLimit = 0;            // the most all chunk buffers together may take
  TStageReporter* Progress = nullptr;  // one Running report per image row
  // More than one worker needs a runner and a way to open another handle on
  // the same image (same directory, same settings).
  int Workers = 1;
  TAnyTiffParallel Parallel;
  std::function<std::unique_ptr<TLibTiffHandle>()> OpenHandle;
};

// Refuses a directory with more chunks than its file could list, before
// anything is allocated for it.
void CheckAnyTiffChunks(TLibTiffHandle& handle, const TAnyTiffLayout& layout);

// `sinks` holds one sink per worker (at least one); worker 0 reads through
// `handle` on the calling thread.
void ReadAnyTiffChunks(TLibTiffHandle& handle, const TAnyTiffLayout& layout,
                       const TChunkReadOptions& options, const std::vector<TChunkSink*>& sinks);

}  // namespace quorvane
