#include "anytiff/any_tiff_chunk_reader.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <string>

#include "raster/error.h"

namespace quorvane {

namespace {

// Strips larger than this are read row by row instead: a picture stored as
// one compressed strip would otherwise need a second copy of itself.
constexpr uint64_t kLargestStripBuffer = uint64_t(32) << 20;

// libtiff's ThunderScan decoder ORs the second pixel of a byte into what is
// there: decoded into a used buffer, a chunk would keep bits of the chunk
// before it (and, on several threads, differ from run to run).
bool DecodesIntoClearBytesOnly(uint16_t compression) {
  return compression == COMPRESSION_THUNDERSCAN;
}

}  // namespace

TChunkReader::TChunkReader(TLibTiffHandle& handle, const TAnyTiffLayout& layout,
                           const TChunkReadOptions& options, TChunkSink& sink)
    : handle_(handle),
      tiff_(handle.Tiff()),
      layout_(layout),
      options_(options),
      sink_(sink),
      cut_budget_(2 * handle.Source().Size()) {}

void TChunkReader::TooLarge(uint64_t bytes) const {
  throw EQuorvaneError("Image Too Large: a " + std::string(layout_.Tiled ? "tile" : "strip") +
                           " of " + std::to_string(bytes) +
                           " bytes is more than the memory limit of " +
                           std::to_string(options_.BufferLimit) + " bytes allows",
                       TErrorKind::TooLarge);
}

bool TChunkReader::Prepare() {
  separate_ = layout_.PlanarConfig == PLANARCONFIG_SEPARATE && layout_.SamplesPerPixel > 1;
  planes_read_ = separate_ ? std::clamp(options_.Bands, 1, int(layout_.SamplesPerPixel)) : 1;
  samples_in_plane_ = separate_ ? 1 : layout_.SamplesPerPixel;
  handle_.BeginCall();
  chunk_bytes_ = uint64_t(layout_.Tiled ? TIFFTileSize64(tiff_) : TIFFStripSize64(tiff_));
  row_bytes_ = uint64_t(layout_.Tiled ? TIFFTileRowSize64(tiff_) : TIFFScanlineSize64(tiff_));
  chunk_count_ = layout_.Tiled ? TIFFNumberOfTiles(tiff_) : TIFFNumberOfStrips(tiff_);
  if (chunk_bytes_ == 0 || row_bytes_ == 0 || chunk_count_ == 0) handle_.Fail("Invalid TIF File");
  if (layout_.ChunkWidth == 0 || layout_.ChunkHeight == 0)
    throw EQuorvaneError("Invalid TIF File: chunks of no pixels", TErrorKind::Corrupt);
  // The converters read Width pixels of every row they are given: the rows
  // libtiff fills must hold them.
  const uint64_t pixel_bits = uint64_t(samples_in_plane_) * layout_.BitsPerSample;
  const uint64_t needed_row = (uint64_t(layout_.ChunkWidth) * pixel_bits + 7) / 8;
  if (row_bytes_ < needed_row ||
      chunk_bytes_ / row_bytes_ < std::min(layout_.ChunkHeight, layout_.Height))
    throw EQuorvaneError("Invalid TIF File: chunk sizes do not match the image",
                         TErrorKind::Corrupt);
  CheckAnyTiffChunks(handle_, layout_);
  const bool by_rows = !layout_.Tiled && !separate_ && chunk_bytes_ > kLargestStripBuffer;
  if (by_rows && row_bytes_ > options_.BufferLimit) TooLarge(row_bytes_);
  return by_rows;
}

uint64_t TChunkReader::BufferBytes() const {
  uint64_t total = chunk_bytes_ * uint64_t(planes_read_);
  if (separate_ && planes_read_ > 1) {
    const uint64_t bytes_per_sample = (uint64_t(layout_.BitsPerSample) + 7) / 8;
    total += uint64_t(layout_.ChunkWidth) * layout_.ChunkHeight * planes_read_ * bytes_per_sample;
  }
  return total;
}

void TChunkReader::Allocate() {
  if (separate_ && planes_read_ > 1 && layout_.BitsPerSample % 8 != 0)
    throw EQuorvaneError(
        "Unsupported Bits/Sample in separate planes: " + std::to_string(layout_.BitsPerSample),
        TErrorKind::Unsupported);
  const uint64_t total = BufferBytes();
  if (total > options_.BufferLimit) TooLarge(total);
  try {
    for (int p = 0; p < planes_read_; ++p) planes_.emplace_back(size_t(chunk_bytes_));
    if (separate_ && planes_read_ > 1)
      interleaved_ = TPixelBuffer(size_t(total - chunk_bytes_ * uint64_t(planes_read_)));
  } catch (const std::bad_alloc&) {
    TooLarge(total);
  }
}

uint32_t TChunkReader::BandCount() const {
  return uint32_t((uint64_t(layout_.Height) + layout_.ChunkHeight - 1) / layout_.ChunkHeight);
}

uint32_t TChunkReader::BandRows(uint32_t band) const {
  const uint64_t y = uint64_t(band) * layout_.ChunkHeight;
  return uint32_t(std::min<uint64_t>(layout_.ChunkHeight, layout_.Height - y));
}

// Where the chunk's bytes are, and whether the file holds them.
TChunkReader::TState TChunkReader::Probe(uint32_t index, uint64_t& offset, uint64_t& stored) const {
  if (index >= chunk_count_) return TState::Missing;
  int offset_error = 0, count_error = 0;
  handle_.BeginCall();
  offset = TIFFGetStrileOffsetWithErr(tiff_, index, &offset_error);
  stored = TIFFGetStrileByteCountWithErr(tiff_, index, &count_error);
  if (offset_error || count_error) handle_.Fail("Cannot Read TIF File");
  const uint64_t size = handle_.Source().Size();
  // Offset and count 0 is how sparse files leave out chunks of no data.
  if (offset == 0 || stored == 0 || offset >= size) return TState::Missing;
  return stored > size - offset ? TState::Partial : TState::Whole;
}

// The file ends inside the chunk: libtiff decodes the bytes there are and
// stops where they end (complaining, as expected); the rest stays zero.
// Each cut chunk reads all the file holds past its start (never more than a
// chunk's data can take), so a file whose chunks all claim to run past its
// end is read whole only a couple of times; cut chunks beyond that budget
// are missing.
void TChunkReader::DecodeCutChunk(uint32_t index, uint64_t offset, uint8_t* buffer, uint64_t size) {
  std::memset(buffer, 0, size_t(size));
  const uint64_t available = std::min(handle_.Source().Size() - offset, MostStoredBytes(size));
  if (available > cut_budget_) return;
  cut_budget_ -= available;
  std::vector<uint8_t> raw(static_cast<size_t>(available));
  const int64_t got = handle_.Source().ReadAt(offset, raw.data(), raw.size());
  if (got <= 0) return;
  handle_.BeginCall();
  TIFFReadFromUserBuffer(tiff_, index, raw.data(), tmsize_t(got), buffer, tmsize_t(size));
  handle_.BeginCall();
}

// Stored bytes of a chunk that decodes to `size` bytes: exactly that much
// when uncompressed; compressed, never twice as much (no codec of TIFF
// grows data that far).
uint64_t TChunkReader::MostStoredBytes(uint64_t size) const {
  return layout_.Compression == COMPRESSION_NONE ? size : 2 * size + 4096;
}

TChunkReader::TState TChunkReader::ReadChunk(uint32_t index, uint8_t* buffer) {
  uint64_t offset = 0, stored = 0;
  const TChunkReader::TState state = Probe(index, offset, stored);
  if (state == TState::Missing) return state;
  const tmsize_t capacity = tmsize_t(chunk_bytes_);
  auto decode = [&] {
    handle_.BeginCall();
    return layout_.Tiled ? TIFFReadEncodedTile(tiff_, index, buffer, capacity)
                         : TIFFReadEncodedStrip(tiff_, index, buffer, capacity);
  };
  if (state == TState::Partial) {
    DecodeCutChunk(index, offset, buffer, chunk_bytes_);
    return state;
  }
  if (DecodesIntoClearBytesOnly(layout_.Compression)) std::memset(buffer, 0, size_t(chunk_bytes_));
  if (decode() >= 0) return state;
  if (!handle_.DataEndedEarly()) handle_.Fail("Cannot Read TIF File");
  // The chunk's data stops short: decode it again into a clean buffer (the
  // last chunk's pixels are still in it) and keep what it gives.
  std::memset(buffer, 0, size_t(chunk_bytes_));
  decode();
  handle_.BeginCall();
  return TState::Partial;
}

TChunkReader::TState TChunkReader::ReadPlanes(uint32_t x, uint32_t y) {
  TChunkReader::TState worst = TState::Whole;
  for (int p = 0; p < planes_read_; ++p) {
    const uint32_t index = layout_.Tiled ? TIFFComputeTile(tiff_, x, y, 0, uint16_t(p))
                                         : TIFFComputeStrip(tiff_, y, uint16_t(p));
    const TChunkReader::TState state = ReadChunk(index, planes_[size_t(p)].Data());
    if (state == TState::Missing) return state;
    if (state == TState::Partial) worst = state;
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

void TChunkReader::ReadBand(uint32_t band) {
  const uint32_t cw = layout_.ChunkWidth;
  const uint32_t y = band * layout_.ChunkHeight;
  const uint32_t height = BandRows(band);
  const bool interleave = separate_ && planes_read_ > 1;
  for (uint32_t x = 0; x < layout_.Width; x += cw) {
    const uint32_t width = std::min(cw, layout_.Width - x);
    const TState state = ReadPlanes(x, y);
    if (state == TState::Missing) {
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
                 state == TState::Partial};
    if (interleave) {
      Interleave(width, height);
      chunk.Data = interleaved_.Data();
      chunk.RowBytes = size_t(cw) * size_t(planes_read_) * ((layout_.BitsPerSample + 7u) / 8u);
      chunk.SamplesPerPixel = planes_read_;
    }
    sink_.Chunk(chunk);
  }
}

// One row at a time through libtiff's scanline interface, for pictures kept
// in huge strips. Rows are delivered as decoded, so a strip the file cuts
// short keeps every row before the cut.
void TChunkReader::ReadByScanlines(const TAnyTiffTick& rows_done) {
  std::vector<uint8_t> row(static_cast<size_t>(row_bytes_));
  for (uint32_t y = 0; y < layout_.Height;) {
    const uint32_t strip = TIFFComputeStrip(tiff_, y, 0);
    const uint32_t rows = std::min(layout_.ChunkHeight, layout_.Height - y);
    uint64_t offset = 0, stored = 0;
    const TState state = Probe(strip, offset, stored);
    if (state == TState::Missing) {
      sink_.Missing(0, y, layout_.Width, rows);
    } else if (state == TState::Partial) {
      ReadCutStrip(strip, offset, y, rows);
    } else {
      for (uint32_t r = 0; r < rows; ++r) {
        handle_.BeginCall();
        if (DecodesIntoClearBytesOnly(layout_.Compression)) std::fill(row.begin(), row.end(), 0);
        if (TIFFReadScanline(tiff_, row.data(), y + r, 0) < 0) handle_.Fail("Cannot Read TIF File");
        sink_.Chunk({0, y + r, layout_.Width, 1, row.data(), row.size(), samples_in_plane_, false});
        rows_done(1);
      }
      y += rows;
      continue;
    }
    rows_done(rows);
    y += rows;
  }
}

// A huge strip the file cuts short is decoded whole from the bytes there
// are, if a buffer for it fits the limit; otherwise it is missing. An
// uncompressed strip needs a buffer only for the rows the file reaches.
void TChunkReader::ReadCutStrip(uint32_t strip, uint64_t offset, uint32_t y, uint32_t rows) {
  if (layout_.Compression == COMPRESSION_NONE) {
    const uint64_t reached = (handle_.Source().Size() - offset + row_bytes_ - 1) / row_bytes_;
    rows = uint32_t(std::min<uint64_t>(rows, reached));
  }
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

}  // namespace quorvane
