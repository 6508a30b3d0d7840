#include "imaging/resample.h"

#include <algorithm>
#include <climits>
#include <memory>
#include <utility>
#include <vector>

#include "imaging/contributors.h"
#include "imaging/parallel_bands.h"
#include "imaging/percent_progress.h"
#include "imaging/pseudo_bitmap.h"
#include "raster/error.h"
#include "raster/pixel_convert.h"

namespace quorvane {

namespace {

// Below this many output pixels a second thread costs more than it saves.
constexpr int64_t kParallelThreshold = 1 << 16;

// The two passes run interleaved: each destination row needs only the few
// horizontally resampled rows its vertical list names, so those rows are
// produced on demand into a small ring of work rows instead of a whole
// intermediate image. The arithmetic per output byte is unchanged.
class TRowStreamer {
 public:
  TRowStreamer(const TRasterBitmap& source, const TContributorTable& horizontal, int capacity,
               TKernelLevel level)
      : source_(source),
        horizontal_(horizontal),
        level_(level),
        ring_(horizontal.Count(), capacity, 3),
        tags_(size_t(capacity), -1),
        direct_(source.PixelFormat() == TPixelFormat::Bit24),
        scratch_(RowBlockScratchSize(level, source.Width())) {
    if (!direct_) strip_.resize(size_t(source.Width()) * 3 * kRowBlock);
  }

  // Makes every row of `list` present and returns the list with its indexes
  // turned into ring rows.
  std::span<const TContributor> Prepare(std::span<const TContributor> list, int low, int high) {
    if (next_row_ < low) next_row_ = low;
    while (next_row_ <= high) {
      const int count = std::min(kRowBlock, source_.Height() - next_row_);
      Produce(next_row_, count);
      next_row_ += count;
    }
    mapped_.clear();
    for (const TContributor& c : list) {
      const int slot = c.Index % ring_.Height();
      // Only lists that jump back (far reflections) miss here.
      if (tags_[size_t(slot)] != c.Index) Produce(c.Index, 1);
      mapped_.push_back({slot, c.Weight});
    }
    return mapped_;
  }

  const TPseudoBitmap& Ring() const { return ring_; }

 private:
  // Horizontal pass for source rows first .. first+count-1 into their slots.
  void Produce(int first, int count) {
    const uint8_t* src[kRowBlock];
    uint8_t* dst[kRowBlock];
    const int width = source_.Width();
    for (int r = 0; r < count; ++r) {
      const int row = first + r;
      if (direct_) {
        src[r] = source_.Scanline(row);
      } else {
        uint8_t* staged = strip_.data() + size_t(r) * size_t(width) * 3;
        ReadRowAs24(source_, row, 0, width, staged);
        src[r] = staged;
      }
      const int slot = row % ring_.Height();
      dst[r] = ring_.Scanline(slot);
      tags_[size_t(slot)] = row;
    }
    ResampleRowBlock(level_, src, dst, count, width, horizontal_, scratch_.data());
  }

  const TRasterBitmap& source_;
  const TContributorTable& horizontal_;
  TKernelLevel level_;
  TPseudoBitmap ring_;
  std::vector<int> tags_;  // source row held by each ring row, -1 for none
  bool direct_;
  std::vector<uint8_t> strip_;  // 24-bit copies of source rows in other formats
  std::vector<uint8_t> scratch_;
  std::vector<TContributor> mapped_;
  int next_row_ = 0;
};

}  // namespace

void ResampleBitmap(TRasterBitmap& bitmap, int new_width, int new_height, TResampleFilter filter,
                    const TProgressProc& progress, const TResampleOptions& options) {
  bitmap = ResampledBitmap(bitmap, new_width, new_height, filter, progress, options);
}

TRasterBitmap ResampledBitmap(const TRasterBitmap& bitmap, int new_width, int new_height,
                              TResampleFilter filter, const TProgressProc& progress,
                              const TResampleOptions& options) {
  const int src_width = bitmap.Width();
  const int src_height = bitmap.Height();
  if (src_width < 1 || src_height < 1) throw EQuorvaneError("Source bitmap too small");
  if (new_width < 1 || new_height < 1) throw EQuorvaneError("Zero Image Size");
  if (size_t(filter) >= size_t(kResampleFilterCount))
    throw EQuorvaneError("Unknown Filter", TErrorKind::Usage);
  // Every size the passes compute must exist before any work starts.
  if (int64_t(new_width) * 3 > INT_MAX)
    throw EQuorvaneError("Bitmap too large", TErrorKind::TooLarge);
  PixelMemorySize(new_width, new_height, bitmap.BitsPerPixel());
  PixelMemorySize(new_width, src_height, 24);
  const TFilterFunction& function = ResampleFilters[size_t(filter)];

  // One step per destination column and row while the lists are built, then
  // one per source row and one per destination column for the two passes.
  TPercentProgress percent(
      progress, double(new_width) + double(src_height) + double(new_height) + double(new_width));
  const TKernelLevel level = ResolveKernelLevel(options.Kernel);
  const TContributorTable horizontal =
      TContributorTable::Build(new_width, src_width, function, percent);
  const TContributorTable vertical =
      TContributorTable::Build(new_height, src_height, function, percent);

  // The span of source rows one destination row reads, and so the ring size.
  std::vector<int> low(static_cast<size_t>(new_height));
  std::vector<int> high(static_cast<size_t>(new_height));
  int span = 1;
  for (int k = 0; k < new_height; ++k) {
    int lo = INT_MAX, hi = -1;
    for (const TContributor& c : vertical.List(k)) {
      lo = std::min(lo, c.Index);
      hi = std::max(hi, c.Index);
    }
    if (hi < 0) lo = hi = 0;  // an empty list reads nothing
    low[size_t(k)] = lo;
    high[size_t(k)] = hi;
    span = std::max(span, hi - lo + 1);
  }
  const int capacity = std::min(src_height, span + kRowBlock);

  int threads = int64_t(new_width) * new_height < kParallelThreshold
                    ? 1
                    : ResolveThreadCount(options.Threads);
  // Each thread has its own ring; together they stay small or at least never
  // outgrow the whole intermediate image (strong reductions read most rows
  // for every line).
  const int64_t ring_bytes = int64_t(capacity) * new_width * 3;
  if (ring_bytes * threads > (int64_t(16) << 20)) {
    threads = std::max(1, std::min(threads, src_height / capacity));
  }
  const int bands = threads == 1 ? 1 : std::min(new_height, threads * 4);
  std::vector<std::unique_ptr<TRowStreamer>> streamers(static_cast<size_t>(threads));
  for (auto& streamer : streamers) {
    streamer = std::make_unique<TRowStreamer>(bitmap, horizontal, capacity, level);
  }

  TRasterBitmap result;
  result.Reset(bitmap.PixelFormat(), new_width, new_height);
  std::copy(bitmap.ColorTable().begin(), bitmap.ColorTable().end(), result.ColorTable().begin());
  result.SetPelsPerMeter(bitmap.XPelsPerMeter(), bitmap.YPelsPerMeter());
  const bool direct = result.PixelFormat() == TPixelFormat::Bit24;
  const int row_bytes = new_width * 3;
  std::vector<std::vector<uint8_t>> rows(static_cast<size_t>(threads));
  if (!direct) {
    for (auto& row : rows) row.resize(size_t(row_bytes));
  }

  const long long pass_steps = (long long)src_height + new_width;
  long long rows_done = 0, steps_done = 0;
  ParallelBands(
      bands, threads,
      [&](int band, int worker, const TTick& tick) {
        const int begin = int(int64_t(new_height) * band / bands);
        const int end = int(int64_t(new_height) * (band + 1) / bands);
        TRowStreamer& streamer = *streamers[size_t(worker)];
        for (int k = begin; k < end; ++k) {
          const auto list = streamer.Prepare(vertical.List(k), low[size_t(k)], high[size_t(k)]);
          uint8_t* dst = direct ? result.Scanline(k) : rows[size_t(worker)].data();
          ResampleColumnsOfRow(level, streamer.Ring().Bits(), streamer.Ring().RowSize(), list,
                               row_bytes, dst);
          if (!direct) WriteRowFrom24(result, k, 0, new_width, dst);
          tick(1);
        }
      },
      [&](long long finished) {
        rows_done += finished;
        const long long target = rows_done * pass_steps / new_height;
        percent.Step(target - steps_done);
        steps_done = target;
      });
  return result;
}

}  // namespace quorvane
