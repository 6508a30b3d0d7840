#pragma once
// One worker's share of reading chunks: its libtiff handle, its buffers and
// its sink. Bands are rows of tiles or single strips, read whole.
#include <cstdint>
#include <vector>

#include "anytiff/any_tiff_chunks.h"
#include "raster/bitmap.h"

namespace quorvane {

class TChunkReader {
 public:
  TChunkReader(TLibTiffHandle& handle, const TAnyTiffLayout& layout,
               const TChunkReadOptions& options, TChunkSink& sink);

  // Works out and checks the chunk sizes. True: the picture sits in strips
  // too large to buffer and is read row by row (ReadByScanlines) instead.
  bool Prepare();
  // What Allocate takes.
  uint64_t BufferBytes() const;
  void Allocate();

  uint32_t BandCount() const;
  uint32_t BandRows(uint32_t band) const;
  void ReadBand(uint32_t band);
  // `rows_done` hears of every row as it is finished.
  void ReadByScanlines(const TAnyTiffTick& rows_done);

 private:
  enum class TState : uint8_t { Whole, Partial, Missing };
  TState Probe(uint32_t index, uint64_t& offset, uint64_t& stored) const;
  TState ReadChunk(uint32_t index, uint8_t* buffer);
  void DecodeCutChunk(uint32_t index, uint64_t offset, uint8_t* buffer, uint64_t size);
  uint64_t MostStoredBytes(uint64_t size) const;
  TState ReadPlanes(uint32_t x, uint32_t y);
  void Interleave(uint32_t width, uint32_t height);
  void ReadCutStrip(uint32_t strip, uint64_t offset, uint32_t y, uint32_t rows);
  [[noreturn]] void TooLarge(uint64_t bytes) const;

  TLibTiffHandle& handle_;
  TIFF* tiff_;
  const TAnyTiffLayout& layout_;
  const TChunkReadOptions& options_;
  TChunkSink& sink_;

  bool separate_ = false;
  int planes_read_ = 1;
  int samples_in_plane_ = 1;
  uint64_t chunk_bytes_ = 0;  // one plane of one chunk
  uint64_t row_bytes_ = 0;    // one row of one plane of one chunk
  uint32_t chunk_count_ = 0;
  uint64_t cut_budget_;  // bytes cut chunks may still read
  std::vector<TPixelBuffer> planes_;
  TPixelBuffer interleaved_;
};

}  // namespace quorvane
