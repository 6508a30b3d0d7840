#include "anytiff/any_tiff_stretched.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <new>
#include <vector>

#include "anytiff/any_tiff_band_stats.h"
#include "anytiff/any_tiff_exact.h"

namespace quorvane {

namespace {

// Band `band` of a pixel at column x: the grey itself, or red, green, blue
// (bands 0, 1, 2) into a 24-bit pixel stored blue first.
inline void Put(uint8_t* row, uint32_t x, int band, int bands, uint8_t value) {
  if (bands == 1) {
    row[x] = value;
  } else {
    row[size_t(x) * 3 + size_t(2 - band)] = value;
  }
}

// What every sink does with a chunk: each row's shown bands as doubles.
class TBandRows : public TChunkSink {
 protected:
  TBandRows(const TAnyTiffPlan& plan, const TNoData& nodata) : plan_(plan), nodata_(nodata) {}

  template <typename F>
  void ForEachBandRow(const TChunk& chunk, F&& row_done) {
    values_.resize(chunk.Width);
    for (uint32_t r = 0; r < chunk.Height; ++r) {
      const uint8_t* in = chunk.Data + r * chunk.RowBytes;
      for (int band = 0; band < plan_.Bands; ++band) {
        UnpackValues(in, plan_.Sample, chunk.SamplesPerPixel, size_t(plan_.BandList[size_t(band)]),
                     chunk.Width, values_.data());
        row_done(chunk.Y + r, band, values_.data());
      }
    }
  }

  const TAnyTiffPlan& plan_;
  const TNoData nodata_;
  std::vector<double> values_;
};

// Each band's range, and its exact counts when the cut wants them.
class TStatsCollector {
 public:
  TStatsCollector(const TAnyTiffPlan& plan) : stats_(size_t(plan.Bands)) {
    if (CountsExactly(plan))
      for (TBandStats& band : stats_) band.Histogram = TBandHistogram::Exact(plan.Sample);
  }
  void Add(int band, double value) {
    TBandStats& s = stats_[size_t(band)];
    s.Range.Add(value);
    if (s.Histogram.Counted()) s.Histogram.Add(value);
  }
  const TStatsList& Stats() const { return stats_; }

 private:
  TStatsList stats_;
};

// The first pass of reading twice: the statistics alone.
class TRangeSink final : public TBandRows {
 public:
  TRangeSink(const TAnyTiffPlan& plan, const TNoData& nodata)
      : TBandRows(plan, nodata), stats_(plan) {}
  void Chunk(const TChunk& chunk) override {
    if (chunk.Partial) return;  // its zeros past the cut are no values
    ForEachBandRow(chunk, [&](uint32_t, int band, const double* v) {
      for (uint32_t i = 0; i < chunk.Width; ++i)
        if (IsValidSample(v[i], nodata_)) stats_.Add(band, v[i]);
    });
  }
  void Missing(uint32_t, uint32_t, uint32_t, uint32_t) override {}
  const TStatsList& Stats() const { return stats_.Stats(); }

 private:
  TStatsCollector stats_;
};

// A pass counting into fine histograms over ranges already known.
class TFineSink final : public TBandRows {
 public:
  TFineSink(const TAnyTiffPlan& plan, const TNoData& nodata, const TStatsList& ranges)
      : TBandRows(plan, nodata), stats_(ranges) {
    for (TBandStats& band : stats_) band.Histogram = TBandHistogram::Fine(band.Range);
  }
  void Chunk(const TChunk& chunk) override {
    if (chunk.Partial) return;
    ForEachBandRow(chunk, [&](uint32_t, int band, const double* v) {
      TBandHistogram& h = stats_[size_t(band)].Histogram;
      for (uint32_t i = 0; i < chunk.Width; ++i)
        if (IsValidSample(v[i], nodata_)) h.Add(v[i]);
    });
  }
  void Missing(uint32_t, uint32_t, uint32_t, uint32_t) override {}
  const TStatsList& Stats() const { return stats_; }

 private:
  TStatsList stats_;
};

// The last pass: the pixels, from what the earlier ones found.
class TMapSink final : public TBandRows {
 public:
  TMapSink(const TAnyTiffPlan& plan, const TNoData& nodata, const TStretchOutput& output,
           TRasterBitmap& picture)
      : TBandRows(plan, nodata), output_(output), picture_(picture) {}
  void Chunk(const TChunk& chunk) override {
    if (chunk.Partial) return;
    ForEachBandRow(chunk, [&](uint32_t y, int band, const double* v) {
      uint8_t* row = picture_.Scanline(int(y));
      for (uint32_t i = 0; i < chunk.Width; ++i)
        if (IsValidSample(v[i], nodata_))
          Put(row, chunk.X + i, band, plan_.Bands, output_.Grey(band, v[i]));
    });
  }
  void Missing(uint32_t, uint32_t, uint32_t, uint32_t) override {}

 private:
  const TStretchOutput& output_;
  TRasterBitmap& picture_;
};

// The samples of the whole picture, NaN where invalid, shared by the
// workers of one pass (each writes its own chunks). T is float where it
// holds every value exactly, double otherwise.
template <typename T>
struct TKept {
  static constexpr T kInvalid = std::numeric_limits<T>::quiet_NaN();
  TKept(uint32_t width, uint32_t height, int bands)
      : Width(width),
        Height(height),
        Bands(bands),
        Values(std::make_unique_for_overwrite<T[]>(size_t(width) * height * size_t(bands))) {}
  T* At(uint32_t x, uint32_t y) const {
    return Values.get() + (size_t(y) * Width + x) * size_t(Bands);
  }
  uint32_t Width, Height;
  int Bands;
  std::unique_ptr<T[]> Values;
};

// One pass: every sample kept while the worker's statistics grow.
template <typename T>
class TKeepSink final : public TBandRows {
 public:
  TKeepSink(const TAnyTiffPlan& plan, const TNoData& nodata, const TKept<T>& kept)
      : TBandRows(plan, nodata), kept_(kept), stats_(plan) {}

  void Chunk(const TChunk& chunk) override {
    if (chunk.Partial) return Missing(chunk.X, chunk.Y, chunk.Width, chunk.Height);
    ForEachBandRow(chunk, [&](uint32_t y, int band, const double* v) {
      T* to = kept_.At(chunk.X, y) + band;
      for (uint32_t i = 0; i < chunk.Width; ++i, to += plan_.Bands) {
        if (IsValidSample(v[i], nodata_)) {
          stats_.Add(band, v[i]);
          *to = T(v[i]);
        } else {
          *to = TKept<T>::kInvalid;
        }
      }
    });
  }

  void Missing(uint32_t x, uint32_t y, uint32_t width, uint32_t height) override {
    for (uint32_t r = 0; r < height; ++r) {
      T* to = kept_.At(x, y + r);
      std::fill(to, to + size_t(width) * size_t(plan_.Bands), TKept<T>::kInvalid);
    }
  }
  const TStatsList& Stats() const { return stats_.Stats(); }

 private:
  const TKept<T>& kept_;
  TStatsCollector stats_;
};

// The workers' statistics, band by band, as one.
template <typename S>
TStatsList Merged(const std::vector<std::unique_ptr<S>>& sinks, int bands) {
  TStatsList merged(static_cast<size_t>(bands));
  for (const auto& sink : sinks)
    for (size_t b = 0; b < merged.size(); ++b) {
      merged[b].Range.Add(sink->Stats()[b].Range);
      if (sink->Stats()[b].Histogram.Counted()) merged[b].Histogram.Add(sink->Stats()[b].Histogram);
    }
  return merged;
}

std::vector<TChunkSink*> Pointers(const auto& sinks) {
  std::vector<TChunkSink*> pointers;
  for (const auto& sink : sinks) pointers.push_back(sink.get());
  return pointers;
}

template <typename S, typename... A>
std::vector<std::unique_ptr<S>> MakeSinks(const TStretchedDecode& decode, A&&... arguments) {
  std::vector<std::unique_ptr<S>> sinks;
  for (int w = 0; w < std::max(decode.Chunks.Workers, 1); ++w)
    sinks.push_back(std::make_unique<S>(*decode.Plan, decode.NoData, arguments...));
  return sinks;
}

// Rows of the picture painted from the kept samples, in bands of this many
// rows spread over the workers.
constexpr uint32_t kPaintRows = 64;

template <typename T, typename F>
void ForEachKeptBand(const TKept<T>& kept, const TStretchedDecode& decode, F&& rows) {
  const uint32_t height = kept.Height;
  const int row_bands = int((height + kPaintRows - 1) / kPaintRows);
  RunBands(
      decode.Chunks.Parallel, decode.Chunks.Workers, row_bands,
      [&](int band, int worker, const TAnyTiffTick&) {
        const uint32_t end = std::min(height, uint32_t(band + 1) * kPaintRows);
        rows(uint32_t(band) * kPaintRows, end, worker);
      },
      nullptr);
}

template <typename T>
void Paint(const TKept<T>& kept, const TStretchOutput& output, const TStretchedDecode& decode,
           TRasterBitmap& picture) {
  const int bands = kept.Bands;
  ForEachKeptBand(kept, decode, [&](uint32_t begin, uint32_t end, int) {
    for (uint32_t y = begin; y < end; ++y) {
      const T* from = kept.At(0, y);
      uint8_t* row = picture.Scanline(int(y));
      for (uint32_t x = 0; x < kept.Width; ++x)
        for (int b = 0; b < bands; ++b, ++from)
          if (!std::isnan(*from)) Put(row, x, b, bands, output.Grey(b, double(*from)));
    }
  });
}

// Fine histograms of the kept samples, one per worker merged at the end.
template <typename T>
void CountKept(const TKept<T>& kept, const TStretchedDecode& decode, TStatsList& stats) {
  const int workers = std::max(decode.Chunks.Workers, 1);
  std::vector<TStatsList> partial(size_t(workers), stats);
  for (TStatsList& list : partial)
    for (TBandStats& band : list) band.Histogram = TBandHistogram::Fine(band.Range);
  ForEachKeptBand(kept, decode, [&](uint32_t begin, uint32_t end, int worker) {
    TStatsList& mine = partial[size_t(worker)];
    const T* from = kept.At(0, begin);
    for (uint32_t y = begin; y < end; ++y)
      for (uint32_t x = 0; x < kept.Width; ++x)
        for (int b = 0; b < kept.Bands; ++b, ++from)
          if (!std::isnan(*from)) mine[size_t(b)].Histogram.Add(double(*from));
  });
  for (size_t b = 0; b < stats.size(); ++b) {
    stats[b].Histogram = partial[0][b].Histogram;
    for (size_t w = 1; w < partial.size(); ++w) stats[b].Histogram.Add(partial[w][b].Histogram);
  }
}

void Starting(const TChunkReadOptions& chunks, uint32_t height, int passes) {
  if (chunks.Progress) chunks.Progress->Report(TProgressStage::Starting, int(height) * passes);
}

// Reads once into a copy of `T`, if the copy can be had within the spare
// bytes.
template <typename T>
bool DecodeKeeping(TLibTiffHandle& handle, const TAnyTiffLayout& layout,
                   const TStretchedDecode& decode, TRasterBitmap& picture,
                   std::vector<TBandSummary>& summaries) {
  const TAnyTiffPlan& plan = *decode.Plan;
  const uint64_t per_pixel = sizeof(T) * uint64_t(plan.Bands);
  const uint64_t pixels = uint64_t(layout.Width) * layout.Height;
  if (pixels > decode.SpareBytes / per_pixel) return false;
  std::unique_ptr<TKept<T>> kept;
  try {
    kept = std::make_unique<TKept<T>>(layout.Width, layout.Height, plan.Bands);
  } catch (const std::bad_alloc&) {
    return false;
  }
  auto sinks = MakeSinks<TKeepSink<T>>(decode, *kept);
  Starting(decode.Chunks, layout.Height, 1);
  ReadAnyTiffChunks(handle, layout, decode.Chunks, Pointers(sinks));
  TStatsList stats = Merged(sinks, plan.Bands);
  if (NeedsFineCounts(plan)) CountKept(*kept, decode, stats);
  const TStretchOutput output(plan, stats);
  Paint(*kept, output, decode, picture);
  summaries = Summaries(plan, stats, output);
  return true;
}

bool NeedsDoubles(TSampleType type) {
  return type.Kind == TSampleKind::Float ? type.Bits > 32 : type.Bits > 24;
}

}  // namespace

std::vector<TBandSummary> DecodeStretched(TLibTiffHandle& handle, const TAnyTiffLayout& layout,
                                          const TStretchedDecode& decode, TRasterBitmap& picture) {
  std::vector<TBandSummary> summaries;
  if (TBandHistogram::CountsExactly(decode.Plan->Sample))
    return DecodeExact(handle, layout, decode, picture);
  const bool kept = NeedsDoubles(decode.Plan->Sample)
                        ? DecodeKeeping<double>(handle, layout, decode, picture, summaries)
                        : DecodeKeeping<float>(handle, layout, decode, picture, summaries);
  if (kept) return summaries;
  const TAnyTiffPlan& plan = *decode.Plan;
  const bool fine = NeedsFineCounts(plan);
  Starting(decode.Chunks, layout.Height, fine ? 3 : 2);
  auto ranges = MakeSinks<TRangeSink>(decode);
  ReadAnyTiffChunks(handle, layout, decode.Chunks, Pointers(ranges));
  TStatsList stats = Merged(ranges, plan.Bands);
  if (fine) {
    auto counts = MakeSinks<TFineSink>(decode, stats);
    ReadAnyTiffChunks(handle, layout, decode.Chunks, Pointers(counts));
    stats = Merged(counts, plan.Bands);
  }
  const TStretchOutput output(plan, stats);
  auto pixels = MakeSinks<TMapSink>(decode, output, picture);
  ReadAnyTiffChunks(handle, layout, decode.Chunks, Pointers(pixels));
  return Summaries(plan, stats, output);
}

}  // namespace quorvane
