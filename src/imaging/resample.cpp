#include "imaging/resample.h"

#include <algorithm>
#include <climits>
#include <vector>

#include "imaging/contributors.h"
#include "imaging/parallel_rows.h"
#include "imaging/percent_progress.h"
#include "imaging/pseudo_bitmap.h"
#include "raster/error.h"
#include "raster/pixel_convert.h"

namespace quorvane {

namespace {

// Below this many output pixels a second thread costs more than it saves.
constexpr int64_t kParallelThreshold = 1 << 16;

int ThreadsFor(const TResampleOptions& options, int64_t pixels) {
  return pixels < kParallelThreshold ? 1 : ResolveThreadCount(options.Threads);
}

// Source rows into the work image. 24-bit rows are read in place; any other
// format goes through a small 24-bit strip per thread.
void HorizontalPass(const TRasterBitmap& bitmap, TPseudoBitmap& work,
                    const TContributorTable& table, TKernelLevel level, int threads,
                    TPercentProgress& progress) {
  const int src_width = bitmap.Width();
  const int rows = bitmap.Height();
  const bool direct = bitmap.PixelFormat() == TPixelFormat::Bit24;
  const size_t row_bytes = size_t(src_width) * 3;
  const size_t strip_bytes = direct ? 0 : row_bytes * kRowBlock;
  const size_t scratch_bytes = RowBlockScratchSize(level, src_width);
  std::vector<std::vector<uint8_t>> strips(static_cast<size_t>(threads));
  std::vector<std::vector<uint8_t>> scratch(static_cast<size_t>(threads));
  for (int t = 0; t < threads; ++t) {
    strips[size_t(t)].resize(strip_bytes);
    scratch[size_t(t)].resize(scratch_bytes);
  }
  ParallelRanges(
      rows, kRowBlock, threads,
      [&](int begin, int end, int worker) {
        const uint8_t* src[kRowBlock];
        uint8_t* dst[kRowBlock];
        uint8_t* strip = strips[size_t(worker)].data();
        for (int r = 0; r < end - begin; ++r) {
          if (direct) {
            src[r] = bitmap.Scanline(begin + r);
          } else {
            ReadRowAs24(bitmap, begin + r, 0, src_width, strip + size_t(r) * row_bytes);
            src[r] = strip + size_t(r) * row_bytes;
          }
          dst[r] = work.Scanline(begin + r);
        }
        ResampleRowBlock(level, src, dst, end - begin, src_width, table,
                         scratch[size_t(worker)].data());
      },
      [&](int finished) { progress.Step(finished); });
}

// The work image into the bitmap, resized to its new size with its own pixel
// format and palette. Each destination row takes the same contributor list
// for all its bytes, so rows are computed whole over contiguous memory; the
// progress still counts one step per destination column.
void VerticalPass(TRasterBitmap& bitmap, const TPseudoBitmap& work, int new_width, int new_height,
                  const TContributorTable& table, TKernelLevel level, int threads,
                  TPercentProgress& progress) {
  const TPixelFormat format = bitmap.PixelFormat();
  const std::vector<TRGBQuad> colors(bitmap.ColorTable().begin(), bitmap.ColorTable().end());
  bitmap.Reset(format, new_width, new_height);
  std::copy_n(colors.begin(), std::min(colors.size(), bitmap.ColorTable().size()),
              bitmap.ColorTable().begin());

  const bool direct = format == TPixelFormat::Bit24;
  const int row_bytes = new_width * 3;
  std::vector<std::vector<uint8_t>> rows(static_cast<size_t>(threads));
  if (!direct) {
    for (auto& row : rows) row.resize(size_t(row_bytes));
  }
  int64_t rows_done = 0;
  int64_t steps_done = 0;
  ParallelRanges(
      new_height, 4, threads,
      [&](int begin, int end, int worker) {
        for (int k = begin; k < end; ++k) {
          uint8_t* dst = direct ? bitmap.Scanline(k) : rows[size_t(worker)].data();
          ResampleColumnsOfRow(level, work.Bits(), work.RowSize(), table.List(k), row_bytes, dst);
          if (!direct) WriteRowFrom24(bitmap, k, 0, new_width, dst);
        }
      },
      [&](int finished) {
        rows_done += finished;
        const int64_t target = rows_done * new_width / new_height;
        progress.Step(target - steps_done);
        steps_done = target;
      });
}

}  // namespace

void ResampleBitmap(TRasterBitmap& bitmap, int new_width, int new_height, int filter_index,
                    const TProgressProc& progress, const TResampleOptions& options) {
  const int src_width = bitmap.Width();
  const int src_height = bitmap.Height();
  if (src_width < 1 || src_height < 1) throw EQuorvaneError("Source bitmap too small");
  if (new_width < 1 || new_height < 1) throw EQuorvaneError("Zero Image Size");
  if (filter_index < 0 || filter_index >= kResampleFilterCount)
    throw EQuorvaneError("Unknown Filter");
  // Every size the passes compute must exist before any work starts.
  if (int64_t(new_width) * 3 > INT_MAX) throw EQuorvaneError("Bitmap too large");
  PixelMemorySize(new_width, new_height, bitmap.BitsPerPixel());
  const TResampleFilter& filter = ResampleFilters[size_t(filter_index)];

  TPercentProgress percent(
      progress, double(new_width) + double(src_height) + double(new_height) + double(new_width));
  const TKernelLevel level = ResolveKernelLevel(options.Kernel);
  TPseudoBitmap work(new_width, src_height, 3);
  {
    const TContributorTable table = TContributorTable::Build(new_width, src_width, filter, percent);
    HorizontalPass(bitmap, work, table, level, ThreadsFor(options, int64_t(new_width) * src_height),
                   percent);
  }
  const TContributorTable table = TContributorTable::Build(new_height, src_height, filter, percent);
  VerticalPass(bitmap, work, new_width, new_height, table, level,
               ThreadsFor(options, int64_t(new_width) * new_height), percent);
}

}  // namespace quorvane
