#include "tiff/any_tiff_chunks.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "raster/bitmap.h"
#include "raster/error.h"

namespace quorvane {

namespace {

// Strips larger than this are read row by row instead: a picture stored as
// one compressed strip would otherwise need a second copy of itself.
constexpr uint64_t kLargestStripBuffer = uint64_t(32) << 20;

enum class TChunkState : uint8_t { Whole, Partial, Missing };

class TChunkReader {
 public:
  TChunkReader(TLibTiffHandle& handle, const TAnyTiffLayout& layout,
               const TChunkReadOptions& options, TChunkSink& sink)
      : handle_(handle), tiff_(handle.Tiff()), layout_(layout), options_(options), sink_(sink) {}

  void Run();

 private:
  void SizeBuffers();
  void ReadByChunks();
  void ReadByScanlines();
  void ReadCutStrip(uint32_t strip, uint64_t offset, uint32_t y, uint32_t rows);
  TChunkState Probe(uint32_t index, uint64_t& offset, uint64_t& stored) const;
  TChunkState ReadChunk(uint32_t index, uint8_t* buffer);
  void DecodeCutChunk(uint32_t index, uint64_t offset, uint8_t* buffer, uint64_t size);
  TChunkState ReadPlanes(uint32_t x, uint32_t y);
  void Interleave(uint32_t width, uint32_t height);
  void RowsDone(uint32_t rows);
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
  std::vector<TPixelBuffer> planes_;
  TPixelBuffer interleaved_;
};

void TChunkReader::TooLarge(uint64_t bytes) const {
  throw EQuorvaneError("Image Too Large: a " + std::string(layout_.Tiled ? "tile" : "strip") +
                       " of " + std::to_string(bytes) + " bytes is more than the memory limit of " +
                       std::to_string(options_.BufferLimit) + " bytes allows");
}

void TChunkReader::SizeBuffers() {
  separate_ = layout_.PlanarConfig == PLANARCONFIG_SEPARATE && layout_.SamplesPerPixel > 1;
  planes_read_ = separate_ ? std::clamp(options_.Bands, 1, int(layout_.SamplesPerPixel)) : 1;
  samples_in_plane_ = separate_ ? 1 : layout_.SamplesPerPixel;
  handle_.BeginCall();
  chunk_bytes_ = uint64_t(layout_.Tiled ? TIFFTileSize64(tiff_) : TIFFStripSize64(tiff_));
  row_bytes_ = uint64_t(layout_.Tiled ? TIFFTileRowSize64(tiff_) : TIFFScanlineSize64(tiff_));
  chunk_count_ = layout_.Tiled ? TIFFNumberOfTiles(tiff_) : TIFFNumberOfStrips(tiff_);
  if (chunk_bytes_ == 0 || row_bytes_ == 0 || chunk_count_ == 0) handle_.Fail("Invalid TIF File");
  if (layout_.ChunkWidth == 0 || layout_.ChunkHeight == 0)
    throw EQuorvaneError("Invalid TIF File: chunks of no pixels");
  // The converters read Width pixels of every row they are given: the rows
  // libtiff fills must hold them.
  const uint64_t pixel_bits = uint64_t(samples_in_plane_) * layout_.BitsPerSample;
  const uint64_t needed_row = (uint64_t(layout_.ChunkWidth) * pixel_bits + 7) / 8;
  if (row_bytes_ < needed_row ||
      chunk_bytes_ / row_bytes_ < std::min(layout_.ChunkHeight, layout_.Height))
    throw EQuorvaneError("Invalid TIF File: chunk sizes do not match the image");
  CheckAnyTiffChunks(handle_, layout_);
}

void TChunkReader::Run() {
  SizeBuffers();
  if (!layout_.Tiled && !separate_ && chunk_bytes_ > kLargestStripBuffer) {
    if (row_bytes_ > options_.BufferLimit) TooLarge(row_bytes_);
    ReadByScanlines();
    return;
  }
  uint64_t total = chunk_bytes_ * uint64_t(planes_read_);
  const uint64_t bytes_per_sample = (uint64_t(layout_.BitsPerSample) + 7) / 8;
  if (separate_ && planes_read_ > 1) {
    if (layout_.BitsPerSample % 8 != 0)
      throw EQuorvaneError("Unsupported Bits/Sample in separate planes: " +
                           std::to_string(layout_.BitsPerSample));
    total += uint64_t(layout_.ChunkWidth) * layout_.ChunkHeight * planes_read_ * bytes_per_sample;
  }
  if (total > options_.BufferLimit) TooLarge(total);
  try {
    for (int p = 0; p < planes_read_; ++p) planes_.emplace_back(size_t(chunk_bytes_));
    if (separate_ && planes_read_ > 1)
      interleaved_ = TPixelBuffer(size_t(total - chunk_bytes_ * uint64_t(planes_read_)));
  } catch (const std::bad_alloc&) {
    TooLarge(total);
  }
  ReadByChunks();
}

// Where the chunk's bytes are, and whether the file holds them.
TChunkState TChunkReader::Probe(uint32_t index, uint64_t& offset, uint64_t& stored) const {
  if (index >= chunk_count_) return TChunkState::Missing;
  int offset_error = 0, count_error = 0;
  handle_.BeginCall();
  offset = TIFFGetStrileOffsetWithErr(tiff_, index, &offset_error);
  stored = TIFFGetStrileByteCountWithErr(tiff_, index, &count_error);
  if (offset_error || count_error) handle_.Fail("Cannot Read TIF File");
  const uint64_t size = handle_.Source().Size();
  // Offset and count 0 is how sparse files leave out chunks of no data.
  if (offset == 0 || stored == 0 || offset >= size) return TChunkState::Missing;
  return stored > size - offset ? TChunkState::Partial : TChunkState::Whole;
}

// The file ends inside the chunk: libtiff decodes the bytes there are and
// stops where they end (complaining, as expected); the rest stays zero.
void TChunkReader::DecodeCutChunk(uint32_t index, uint64_t offset, uint8_t* buffer, uint64_t size) {
  std::memset(buffer, 0, size_t(size));
  std::vector<uint8_t> raw(size_t(handle_.Source().Size() - offset));
  const int64_t got = handle_.Source().ReadAt(offset, raw.data(), raw.size());
  if (got <= 0) return;
  handle_.BeginCall();
  TIFFReadFromUserBuffer(tiff_, index, raw.data(), tmsize_t(got), buffer, tmsize_t(size));
  handle_.BeginCall();
}

TChunkState TChunkReader::ReadChunk(uint32_t index, uint8_t* buffer) {
  uint64_t offset = 0, stored = 0;
  const TChunkState state = Probe(index, offset, stored);
  if (state == TChunkState::Missing) return state;
  const tmsize_t capacity = tmsize_t(chunk_bytes_);
  auto decode = [&] {
    handle_.BeginCall();
    return layout_.Tiled ? TIFFReadEncodedTile(tiff_, index, buffer, capacity)
                         : TIFFReadEncodedStrip(tiff_, index, buffer, capacity);
  };
  if (state == TChunkState::Partial) {
    DecodeCutChunk(index, offset, buffer, chunk_bytes_);
    return state;
  }
  if (decode() >= 0) return state;
  if (!handle_.DataEndedEarly()) handle_.Fail("Cannot Read TIF File");
  // The chunk's data stops short: decode it again into a clean buffer (the
  // last chunk's pixels are still in it) and keep what it gives.
  std::memset(buffer, 0, size_t(chunk_bytes_));
  decode();
  handle_.BeginCall();
  return TChunkState::Partial;
}

TChunkState TChunkReader::ReadPlanes(uint32_t x, uint32_t y) {
  TChunkState worst = TChunkState::Whole;
  for (int p = 0; p < planes_read_; ++p) {
    const uint32_t index = layout_.Tiled ? TIFFComputeTile(tiff_, x, y, 0, uint16_t(p))
                                         : TIFFComputeStrip(tiff_, y, uint16_t(p));
    const TChunkState state = ReadChunk(index, planes_[size_t(p)].Data());
    if (state == TChunkState::Missing) return state;
    if (state == TChunkState::Partial) worst = state;
  }
  return worst;
}

void TChunkReader::Interleave(uint32_t width, uint32_t height) {
  const size_t bytes = (size_t(layout_.BitsPerSample) + 7) / 8;
  const size_t pixel = bytes * size_t(planes_read_);
  uint8_t* out = interleaved_.Data();
  for (int p = 0; p < planes_read_; ++p) {
    const uint8_t* plane = planes_[size_t(p)].Data();
    for (uint32_t r = 0; r < height; ++r) {
      const uint8_t* in = plane + r * size_t(row_bytes_);
      uint8_t* to = out + (size_t(r) * layout_.ChunkWidth * pixel) + size_t(p) * bytes;
      if (bytes == 1) {
        for (uint32_t i = 0; i < width; ++i) to[i * pixel] = in[i];
      } else {
        for (uint32_t i = 0; i < width; ++i) std::memcpy(to + i * pixel, in + i * bytes, bytes);
      }
    }
  }
}

void TChunkReader::ReadByChunks() {
  const uint32_t cw = layout_.ChunkWidth, ch = layout_.ChunkHeight;
  const bool interleave = separate_ && planes_read_ > 1;
  for (uint32_t y = 0; y < layout_.Height; y += ch) {
    const uint32_t height = std::min(ch, layout_.Height - y);
    for (uint32_t x = 0; x < layout_.Width; x += cw) {
      const uint32_t width = std::min(cw, layout_.Width - x);
      const TChunkState state = ReadPlanes(x, y);
      if (state == TChunkState::Missing) {
        sink_.Missing(x, y, width, height);
        continue;
      }
      TChunk chunk{x,
                   y,
                   width,
                   height,
                   planes_[0].Data(),
                   size_t(row_bytes_),
                   samples_in_plane_,
                   state == TChunkState::Partial};
      if (interleave) {
        Interleave(width, height);
        chunk.Data = interleaved_.Data();
        chunk.RowBytes = size_t(cw) * size_t(planes_read_) * ((layout_.BitsPerSample + 7u) / 8u);
        chunk.SamplesPerPixel = planes_read_;
      }
      sink_.Chunk(chunk);
    }
    RowsDone(height);
  }
}

// One row at a time through libtiff's scanline interface, for pictures kept
// in huge strips. Rows are delivered as decoded, so a strip the file cuts
// short keeps every row before the cut.
void TChunkReader::ReadByScanlines() {
  std::vector<uint8_t> row(static_cast<size_t>(row_bytes_));
  for (uint32_t y = 0; y < layout_.Height;) {
    const uint32_t strip = TIFFComputeStrip(tiff_, y, 0);
    const uint32_t rows = std::min(layout_.ChunkHeight, layout_.Height - y);
    uint64_t offset = 0, stored = 0;
    const TChunkState state = Probe(strip, offset, stored);
    if (state == TChunkState::Missing) {
      sink_.Missing(0, y, layout_.Width, rows);
    } else if (state == TChunkState::Partial) {
      ReadCutStrip(strip, offset, y, rows);
    } else {
      for (uint32_t r = 0; r < rows; ++r) {
        handle_.BeginCall();
        if (TIFFReadScanline(tiff_, row.data(), y + r, 0) < 0) handle_.Fail("Cannot Read TIF File");
        sink_.Chunk({0, y + r, layout_.Width, 1, row.data(), row.size(), samples_in_plane_, false});
        RowsDone(1);
      }
      y += rows;
      continue;
    }
    RowsDone(rows);
    y += rows;
  }
}

// A huge strip the file cuts short is decoded whole from the bytes there
// are, if a buffer for it fits the limit; otherwise it is missing.
void TChunkReader::ReadCutStrip(uint32_t strip, uint64_t offset, uint32_t y, uint32_t rows) {
  const uint64_t size = row_bytes_ * rows;
  if (size > options_.BufferLimit) return sink_.Missing(0, y, layout_.Width, rows);
  TPixelBuffer buffer;
  try {
    buffer = TPixelBuffer(size_t(size));
  } catch (const std::bad_alloc&) {
    return sink_.Missing(0, y, layout_.Width, rows);
  }
  DecodeCutChunk(strip, offset, buffer.Data(), size);
  sink_.Chunk(
      {0, y, layout_.Width, rows, buffer.Data(), size_t(row_bytes_), samples_in_plane_, true});
}

void TChunkReader::RowsDone(uint32_t rows) {
  if (!options_.Progress) return;
  for (uint32_t i = 0; i < rows; ++i) options_.Progress->Report(TProgressStage::Running);
}

}  // namespace

// Every chunk but a lone one has its offset stored in the file, in 4 or 8
// bytes: a directory claiming more chunks than that describes no file, and
// walking them all would only take time.
void CheckAnyTiffChunks(TLibTiffHandle& handle, const TAnyTiffLayout& layout) {
  TIFF* tiff = handle.Tiff();
  const uint64_t count = layout.Tiled ? TIFFNumberOfTiles(tiff) : TIFFNumberOfStrips(tiff);
  const uint64_t entry = TIFFIsBigTIFF(tiff) ? 8 : 4;
  if (count == 0) throw EQuorvaneError("Invalid TIF File: no strips or tiles");
  if (count > 1 && count * entry > handle.Source().Size())
    throw EQuorvaneError("Invalid TIF File: " + std::to_string(count) +
                         (layout.Tiled ? " tiles" : " strips") + " cannot fit in the file");
}

void ReadAnyTiffChunks(TLibTiffHandle& handle, const TAnyTiffLayout& layout,
                       const TChunkReadOptions& options, TChunkSink& sink) {
  TChunkReader reader(handle, layout, options, sink);
  reader.Run();
}

}  // namespace quorvane
