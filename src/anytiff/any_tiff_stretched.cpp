#include "anytiff/any_tiff_stretched.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <new>
#include <vector>

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

// The grey of a valid value of each band.
class TStretchOutput {
 public:
  TStretchOutput(const TAnyTiffPlan& plan, const std::vector<TBandRange>& ranges)
      : invert_(plan.Bands == 1 && plan.WhiteIsZero) {
    for (const TBandRange& range : ranges) stretches_.emplace_back(range);
  }
  uint8_t Grey(int band, double value) const {
    const uint8_t g = stretches_[size_t(band)].Map(value);
    return invert_ ? uint8_t(255 - g) : g;
  }

 private:
  bool invert_;
  std::vector<TStretch> stretches_;
};

// What every sink does with a chunk: each row's bands as doubles.
class TBandRows : public TChunkSink {
 protected:
  TBandRows(const TAnyTiffPlan& plan, const TNoData& nodata) : plan_(plan), nodata_(nodata) {}

  template <typename F>
  void ForEachBandRow(const TChunk& chunk, F&& row_done) {
    values_.resize(chunk.Width);
    for (uint32_t r = 0; r < chunk.Height; ++r) {
      const uint8_t* in = chunk.Data + r * chunk.RowBytes;
      for (int band = 0; band < plan_.Bands; ++band) {
        UnpackValues(in, plan_.Sample, chunk.SamplesPerPixel, size_t(band), chunk.Width,
                     values_.data());
        row_done(chunk.Y + r, band, values_.data());
      }
    }
  }

  const TAnyTiffPlan& plan_;
  const TNoData nodata_;
  std::vector<double> values_;
};

// The first of two passes: the ranges alone.
class TRangeSink final : public TBandRows {
 public:
  TRangeSink(const TAnyTiffPlan& plan, const TNoData& nodata)
      : TBandRows(plan, nodata), ranges_(size_t(plan.Bands)) {}
  void Chunk(const TChunk& chunk) override {
    if (chunk.Partial) return;  // its zeros past the cut are no values
    ForEachBandRow(chunk, [&](uint32_t, int band, const double* v) {
      TBandRange& range = ranges_[size_t(band)];
      for (uint32_t i = 0; i < chunk.Width; ++i)
        if (IsValidSample(v[i], nodata_)) range.Add(v[i]);
    });
  }
  void Missing(uint32_t, uint32_t, uint32_t, uint32_t) override {}
  const std::vector<TBandRange>& Ranges() const { return ranges_; }

 private:
  std::vector<TBandRange> ranges_;
};

// The second pass: the pixels, from the ranges the first found.
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
        Bands(bands),
        Values(std::make_unique_for_overwrite<T[]>(size_t(width) * height * size_t(bands))) {}
  T* At(uint32_t x, uint32_t y) const {
    return Values.get() + (size_t(y) * Width + x) * size_t(Bands);
  }
  uint32_t Width;
  int Bands;
  std::unique_ptr<T[]> Values;
};

// One pass: every sample kept while the worker's ranges grow.
template <typename T>
class TKeepSink final : public TBandRows {
 public:
  TKeepSink(const TAnyTiffPlan& plan, const TNoData& nodata, const TKept<T>& kept)
      : TBandRows(plan, nodata), kept_(kept), ranges_(size_t(plan.Bands)) {}

  void Chunk(const TChunk& chunk) override {
    if (chunk.Partial) return Missing(chunk.X, chunk.Y, chunk.Width, chunk.Height);
    ForEachBandRow(chunk, [&](uint32_t y, int band, const double* v) {
      T* to = kept_.At(chunk.X, y) + band;
      TBandRange& range = ranges_[size_t(band)];
      for (uint32_t i = 0; i < chunk.Width; ++i, to += plan_.Bands) {
        if (IsValidSample(v[i], nodata_)) {
          range.Add(v[i]);
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
  const std::vector<TBandRange>& Ranges() const { return ranges_; }

 private:
  const TKept<T>& kept_;
  std::vector<TBandRange> ranges_;
};

// The workers' ranges, band by band, as one.
template <typename S>
std::vector<TBandRange> Merged(const std::vector<std::unique_ptr<S>>& sinks, int bands) {
  std::vector<TBandRange> ranges(static_cast<size_t>(bands));
  for (const auto& sink : sinks)
    for (size_t b = 0; b < ranges.size(); ++b) ranges[b].Add(sink->Ranges()[b]);
  return ranges;
}

std::vector<TChunkSink*> Pointers(const auto& sinks) {
  std::vector<TChunkSink*> pointers;
  for (const auto& sink : sinks) pointers.push_back(sink.get());
  return pointers;
}

// Rows of the picture painted from the kept samples, in bands of this many
// rows spread over the workers.
constexpr uint32_t kPaintRows = 64;

template <typename T>
void Paint(const TKept<T>& kept, const TStretchOutput& output, const TStretchedDecode& decode,
           TRasterBitmap& picture) {
  const uint32_t height = uint32_t(picture.Height()), width = kept.Width;
  const int bands = kept.Bands;
  const int paint_bands = int((height + kPaintRows - 1) / kPaintRows);
  RunBands(
      decode.Chunks.Parallel, decode.Chunks.Workers, paint_bands,
      [&](int band, int, const TAnyTiffTick&) {
        const uint32_t end = std::min(height, uint32_t(band + 1) * kPaintRows);
        for (uint32_t y = uint32_t(band) * kPaintRows; y < end; ++y) {
          const T* from = kept.At(0, y);
          uint8_t* row = picture.Scanline(int(y));
          for (uint32_t x = 0; x < width; ++x)
            for (int b = 0; b < bands; ++b, ++from)
              if (!std::isnan(*from)) Put(row, x, b, bands, output.Grey(b, double(*from)));
        }
      },
      nullptr);
}

void Starting(const TChunkReadOptions& chunks, uint32_t height, int passes) {
  if (chunks.Progress) chunks.Progress->Report(TProgressStage::Starting, int(height) * passes);
}

// Reads once into a copy of `T`, if the copy can be had within the spare
// bytes.
template <typename T>
bool DecodeKeeping(TLibTiffHandle& handle, const TAnyTiffLayout& layout,
                   const TStretchedDecode& decode, TRasterBitmap& picture) {
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
  std::vector<std::unique_ptr<TKeepSink<T>>> sinks;
  for (int w = 0; w < std::max(decode.Chunks.Workers, 1); ++w)
    sinks.push_back(std::make_unique<TKeepSink<T>>(plan, decode.NoData, *kept));
  Starting(decode.Chunks, layout.Height, 1);
  ReadAnyTiffChunks(handle, layout, decode.Chunks, Pointers(sinks));
  const TStretchOutput output(plan, Merged(sinks, plan.Bands));
  Paint(*kept, output, decode, picture);
  return true;
}

bool NeedsDoubles(TSampleType type) {
  return type.Kind == TSampleKind::Float ? type.Bits > 32 : type.Bits > 24;
}

}  // namespace

void DecodeStretched(TLibTiffHandle& handle, const TAnyTiffLayout& layout,
                     const TStretchedDecode& decode, TRasterBitmap& picture) {
  const bool kept = NeedsDoubles(decode.Plan->Sample)
                        ? DecodeKeeping<double>(handle, layout, decode, picture)
                        : DecodeKeeping<float>(handle, layout, decode, picture);
  if (kept) return;
  const TAnyTiffPlan& plan = *decode.Plan;
  const int workers = std::max(decode.Chunks.Workers, 1);
  Starting(decode.Chunks, layout.Height, 2);
  std::vector<std::unique_ptr<TRangeSink>> ranges;
  for (int w = 0; w < workers; ++w)
    ranges.push_back(std::make_unique<TRangeSink>(plan, decode.NoData));
  ReadAnyTiffChunks(handle, layout, decode.Chunks, Pointers(ranges));
  const TStretchOutput output(plan, Merged(ranges, plan.Bands));
  std::vector<std::unique_ptr<TMapSink>> pixels;
  for (int w = 0; w < workers; ++w)
    pixels.push_back(std::make_unique<TMapSink>(plan, decode.NoData, output, picture));
  ReadAnyTiffChunks(handle, layout, decode.Chunks, Pointers(pixels));
}

}  // namespace quorvane
