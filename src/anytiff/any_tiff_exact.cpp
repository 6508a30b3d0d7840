#include "anytiff/any_tiff_exact.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include "anytiff/any_tiff_band_stats.h"

namespace quorvane {

namespace {

// The offsets of the whole picture, band after band within a pixel.
struct TOffsets {
  TOffsets(uint32_t width, uint32_t height, int bands)
      : Width(width),
        Bands(bands),
        Values(std::make_unique_for_overwrite<uint16_t[]>(size_t(width) * height * size_t(bands))) {
  }
  uint16_t* At(uint32_t x, uint32_t y) const {
    return Values.get() + (size_t(y) * Width + x) * size_t(Bands);
  }
  uint32_t Width;
  int Bands;
  std::unique_ptr<uint16_t[]> Values;
};

// Band `band` of one row of a chunk as offsets from the type's least value:
// two's complement with its sign bit flipped is that offset.
const uint32_t* Offsets(const TAnyTiffPlan& plan, uint32_t flip, const uint8_t* in,
                        const TChunk& chunk, int band, std::vector<uint32_t>& raw) {
  raw.resize(chunk.Width);
  UnpackUnsigned(in, plan.Sample.Bits, chunk.SamplesPerPixel, size_t(plan.BandList[size_t(band)]),
                 chunk.Width, raw.data());
  if (flip)
    for (uint32_t& v : raw) v ^= flip;
  return raw.data();
}

uint32_t SignFlip(TSampleType type) {
  return type.Kind == TSampleKind::Signed ? 1u << (type.Bits - 1) : 0u;
}

struct TArea {
  uint32_t X, Y, Width, Height;
};

// One worker: counts per band, offsets kept when there is room for them, and
// the areas the file lacks.
class TOffsetSink final : public TChunkSink {
 public:
  TOffsetSink(const TAnyTiffPlan& plan, const TOffsets* offsets)
      : plan_(plan),
        offsets_(offsets),
        flip_(SignFlip(plan.Sample)),
        counts_(size_t(plan.Bands), std::vector<uint64_t>(size_t(1) << plan.Sample.Bits)) {}

  void Chunk(const TChunk& chunk) override {
    if (chunk.Partial) return Missing(chunk.X, chunk.Y, chunk.Width, chunk.Height);
    const int bands = plan_.Bands;
    for (uint32_t r = 0; r < chunk.Height; ++r) {
      const uint8_t* in = chunk.Data + r * chunk.RowBytes;
      for (int band = 0; band < bands; ++band) {
        if (plan_.Sample.Bits == 16) {
          Take16(in, chunk, band, chunk.Y + r);
          continue;
        }
        const uint32_t* offset = Offsets(plan_, flip_, in, chunk, band, raw_);
        uint64_t* counts = counts_[size_t(band)].data();
        for (uint32_t i = 0; i < chunk.Width; ++i) ++counts[offset[i]];
        if (!offsets_) continue;
        uint16_t* to = offsets_->At(chunk.X, chunk.Y + r) + band;
        for (uint32_t i = 0; i < chunk.Width; ++i, to += bands) *to = uint16_t(offset[i]);
      }
    }
  }

  void Missing(uint32_t x, uint32_t y, uint32_t width, uint32_t height) override {
    if (!offsets_) return;  // the picture's zeros stay
    for (uint32_t r = 0; r < height; ++r) {
      uint16_t* to = offsets_->At(x, y + r);
      std::fill(to, to + size_t(width) * size_t(plan_.Bands), uint16_t(0));
    }
    missing_.push_back({x, y, width, height});
  }

  const std::vector<std::vector<uint64_t>>& Counts() const { return counts_; }
  const std::vector<TArea>& MissingAreas() const { return missing_; }

 private:
  // The common 16-bit samples straight from the row, in one loop.
  void Take16(const uint8_t* in, const TChunk& chunk, int band, uint32_t y) {
    const uint8_t* p = in + size_t(plan_.BandList[size_t(band)]) * 2;
    const size_t step = size_t(chunk.SamplesPerPixel) * 2;
    const uint16_t flip = uint16_t(flip_);
    uint64_t* counts = counts_[size_t(band)].data();
    uint16_t value;
    if (!offsets_) {
      for (uint32_t i = 0; i < chunk.Width; ++i, p += step) {
        std::memcpy(&value, p, 2);
        ++counts[uint16_t(value ^ flip)];
      }
      return;
    }
    const size_t bands = size_t(plan_.Bands);
    uint16_t* to = offsets_->At(chunk.X, y) + band;
    for (uint32_t i = 0; i < chunk.Width; ++i, p += step, to += bands) {
      std::memcpy(&value, p, 2);
      value = uint16_t(value ^ flip);
      ++counts[value];
      *to = value;
    }
  }

  const TAnyTiffPlan& plan_;
  const TOffsets* offsets_;
  const uint32_t flip_;
  std::vector<std::vector<uint64_t>> counts_;
  std::vector<uint32_t> raw_;
  std::vector<TArea> missing_;
};

// The second pass of reading twice: each sample through its band's table.
class TTableSink final : public TChunkSink {
 public:
  TTableSink(const TAnyTiffPlan& plan, const std::vector<std::vector<uint8_t>>& tables,
             TRasterBitmap& picture)
      : plan_(plan), tables_(tables), picture_(picture), flip_(SignFlip(plan.Sample)) {}
  void Chunk(const TChunk& chunk) override {
    if (chunk.Partial) return;
    const int bands = plan_.Bands;
    for (uint32_t r = 0; r < chunk.Height; ++r) {
      const uint8_t* in = chunk.Data + r * chunk.RowBytes;
      uint8_t* row = picture_.Scanline(int(chunk.Y + r));
      for (int band = 0; band < bands; ++band) {
        const uint8_t* table = tables_[size_t(band)].data();
        uint8_t* to = bands == 1 ? row + chunk.X : row + size_t(chunk.X) * 3 + size_t(2 - band);
        const size_t step = bands == 1 ? 1 : 3;
        if (plan_.Sample.Bits == 16) {
          Map16(in, chunk, band, table, to, step);
          continue;
        }
        const uint32_t* offset = Offsets(plan_, flip_, in, chunk, band, raw_);
        for (uint32_t i = 0; i < chunk.Width; ++i, to += step) *to = table[offset[i]];
      }
    }
  }
  void Missing(uint32_t, uint32_t, uint32_t, uint32_t) override {}

 private:
  // The common 16-bit samples straight from the row through the table.
  void Map16(const uint8_t* in, const TChunk& chunk, int band, const uint8_t* table, uint8_t* to,
             size_t to_step) const {
    const uint8_t* p = in + size_t(plan_.BandList[size_t(band)]) * 2;
    const size_t step = size_t(chunk.SamplesPerPixel) * 2;
    const uint16_t flip = uint16_t(flip_);
    const uint32_t width = chunk.Width;
    uint16_t value;
    for (uint32_t i = 0; i < width; ++i, p += step, to += to_step) {
      std::memcpy(&value, p, 2);
      *to = table[uint16_t(value ^ flip)];
    }
  }

  const TAnyTiffPlan& plan_;
  const std::vector<std::vector<uint8_t>>& tables_;
  TRasterBitmap& picture_;
  const uint32_t flip_;
  std::vector<uint32_t> raw_;
};

int64_t LeastValue(TSampleType type) {
  return type.Kind == TSampleKind::Signed ? -(int64_t(1) << (type.Bits - 1)) : 0;
}

// The workers' counts merged per band, without the nodata value's.
TStatsList Stats(const std::vector<std::unique_ptr<TOffsetSink>>& sinks,
                 const TStretchedDecode& decode) {
  const TAnyTiffPlan& plan = *decode.Plan;
  TStatsList stats;
  for (int band = 0; band < plan.Bands; ++band) {
    std::vector<uint64_t> counts = sinks[0]->Counts()[size_t(band)];
    for (size_t w = 1; w < sinks.size(); ++w)
      for (size_t i = 0; i < counts.size(); ++i) counts[i] += sinks[w]->Counts()[size_t(band)][i];
    if (decode.NoData.Set)
      counts[size_t(int64_t(decode.NoData.Value) - LeastValue(plan.Sample))] = 0;
    TBandStats s;
    s.Histogram = TBandHistogram::Exact(plan.Sample, std::move(counts));
    s.Range = s.Histogram.Range();
    stats.push_back(std::move(s));
  }
  return stats;
}

constexpr uint32_t kPaintRows = 64;

void Paint(const TOffsets& offsets, const std::vector<std::vector<uint8_t>>& tables,
           const TStretchedDecode& decode, TRasterBitmap& picture) {
  const uint32_t height = uint32_t(picture.Height()), width = offsets.Width;
  const int bands = offsets.Bands;
  const int row_bands = int((height + kPaintRows - 1) / kPaintRows);
  RunBands(
      decode.Chunks.Parallel, decode.Chunks.Workers, row_bands,
      [&](int row_band, int, const TAnyTiffTick&) {
        const uint32_t end = std::min(height, uint32_t(row_band + 1) * kPaintRows);
        for (uint32_t y = uint32_t(row_band) * kPaintRows; y < end; ++y) {
          const uint16_t* from = offsets.At(0, y);
          uint8_t* row = picture.Scanline(int(y));
          if (bands == 1) {
            const uint8_t* table = tables[0].data();
            for (uint32_t x = 0; x < width; ++x) row[x] = table[from[x]];
            continue;
          }
          for (uint32_t x = 0; x < width; ++x, from += 3) {
            row[x * 3 + 2] = tables[0][from[0]];
            row[x * 3 + 1] = tables[1][from[1]];
            row[x * 3 + 0] = tables[2][from[2]];
          }
        }
      },
      nullptr);
}

void Blacken(const TArea& area, int bands, TRasterBitmap& picture) {
  for (uint32_t r = 0; r < area.Height; ++r) {
    uint8_t* row = picture.Scanline(int(area.Y + r));
    std::fill_n(row + size_t(area.X) * size_t(bands), size_t(area.Width) * size_t(bands),
                uint8_t(0));
  }
}

// The offsets of the whole picture, when they fit the spare bytes and are
// worth keeping: reading uncompressed chunks again costs less than writing
// a copy twice the picture's size and reading it back.
std::unique_ptr<TOffsets> OffsetCopy(const TAnyTiffLayout& layout, const TStretchedDecode& decode) {
  if (layout.Compression == COMPRESSION_NONE) return nullptr;
  const uint64_t per_pixel = sizeof(uint16_t) * uint64_t(decode.Plan->Bands);
  if (uint64_t(layout.Width) * layout.Height > decode.SpareBytes / per_pixel) return nullptr;
  try {
    return std::make_unique<TOffsets>(layout.Width, layout.Height, decode.Plan->Bands);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

template <typename S, typename... A>
void ReadInto(TLibTiffHandle& handle, const TAnyTiffLayout& layout, const TStretchedDecode& decode,
              std::vector<std::unique_ptr<S>>& sinks, A&&... arguments) {
  std::vector<TChunkSink*> pointers;
  for (int w = 0; w < std::max(decode.Chunks.Workers, 1); ++w) {
    sinks.push_back(std::make_unique<S>(*decode.Plan, arguments...));
    pointers.push_back(sinks.back().get());
  }
  ReadAnyTiffChunks(handle, layout, decode.Chunks, pointers);
}

}  // namespace

std::vector<TBandSummary> DecodeExact(TLibTiffHandle& handle, const TAnyTiffLayout& layout,
                                      const TStretchedDecode& decode, TRasterBitmap& picture) {
  const TAnyTiffPlan& plan = *decode.Plan;
  const std::unique_ptr<TOffsets> offsets = OffsetCopy(layout, decode);
  if (decode.Chunks.Progress)
    decode.Chunks.Progress->Report(TProgressStage::Starting,
                                   int(layout.Height) * (offsets ? 1 : 2));
  std::vector<std::unique_ptr<TOffsetSink>> sinks;
  ReadInto(handle, layout, decode, sinks, offsets.get());
  const TStatsList stats = Stats(sinks, decode);
  const TStretchOutput output(plan, stats);
  std::vector<std::vector<uint8_t>> tables;
  for (int band = 0; band < plan.Bands; ++band) {
    tables.push_back(output.Table(size_t(band)));
    if (decode.NoData.Set)
      tables.back()[size_t(int64_t(decode.NoData.Value) - LeastValue(plan.Sample))] = 0;
  }
  if (offsets) {
    Paint(*offsets, tables, decode, picture);
    for (const auto& sink : sinks)
      for (const TArea& area : sink->MissingAreas()) Blacken(area, plan.Bands, picture);
  } else {
    std::vector<std::unique_ptr<TTableSink>> painters;
    ReadInto(handle, layout, decode, painters, tables, picture);
  }
  return Summaries(plan, stats, output);
}

}  // namespace quorvane
