#pragma once
// Decodes the chunks (tiles or strips) of the directory libtiff holds, top to
// bottom, and hands each to a sink with its samples interleaved, whatever the
// planar configuration. Only the planes of the bands shown are read. A chunk
// the file does not hold (sparse, or past the end of a file cut short) is
// reported as missing; one the file cuts off keeps what could be decoded. Any
// other libtiff failure ends the read with its message.
#include <cstddef>
#include <cstdint>

#include "raster/progress.h"
#include "tiff/any_tiff_handle.h"
#include "tiff/any_tiff_layout.h"

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

class TChunkSink {
 public:
  virtual ~TChunkSink() = default;
  virtual void Chunk(const TChunk& chunk) = 0;
  // The pixels of this rectangle are not in the file.
  virtual void Missing(uint32_t x, uint32_t y, uint32_t width, uint32_t height) = 0;
};

struct TChunkReadOptions {
  int Bands = 1;                       // planes read from a file with separate planes
  uint64_t BufferLimit = 0;            // the most a chunk buffer may take
  TStageReporter* Progress = nullptr;  // one Running report per image row
};

// Refuses a directory with more chunks than its file could list, before
// anything is allocated for it.
void CheckAnyTiffChunks(TLibTiffHandle& handle, const TAnyTiffLayout& layout);

void ReadAnyTiffChunks(TLibTiffHandle& handle, const TAnyTiffLayout& layout,
                       const TChunkReadOptions& options, TChunkSink& sink);

}  // namespace quorvane
