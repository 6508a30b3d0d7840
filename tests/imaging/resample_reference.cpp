#include "imaging/resample_reference.h"

#include <cmath>
#include <cstddef>
#include <vector>

#include "imaging/resample_filters.h"
#include "raster/error.h"
#include "raster/pixel_convert.h"

namespace quorvane::test_support {

namespace {

struct Contributor {
  int Index;
  float Weight;
};
using ContributorList = std::vector<Contributor>;

struct Progress {
  const TProgressProc& Proc;
  double Step;
  double Total = 0.0;
  void Tick() {
    Total += Step;
    if (Proc) Proc(int(std::trunc(Total)));
  }
};

// Reflection applied again and again until the index lies inside.
int Reflect(long long j, int count) {
  for (;;) {
    if (j < 0) {
      j = -j;
    } else if (j >= count) {
      j = 2LL * count - 1 - j;
    } else {
      return int(j);
    }
  }
}

std::vector<ContributorList> BuildLists(int dst_count, int src_count, float scale,
                                        const TFilterFunction& filter, Progress& progress) {
  float width = filter.Support;
  float fscale = 1.0f;
  if (scale < 1.0f) {
    width = filter.Support / scale;
    fscale = 1.0f / scale;
  }
  std::vector<ContributorList> lists(static_cast<size_t>(dst_count));
  for (int i = 0; i < dst_count; ++i) {
    progress.Tick();
    float center = float(double(i) / double(scale));
    if (dst_count == 1 && src_count > 1) center = float(double(src_count - 1) / 2.0);
    const long long left = (long long)std::floor(double(center) - double(width));
    const long long right = (long long)std::ceil(double(center) + double(width));
    for (long long j = left; j <= right; ++j) {
      const float weight =
          filter.Filter(float((double(center) - double(j)) / double(fscale))) / fscale;
      if (weight == 0.0f) continue;
      lists[size_t(i)].push_back({Reflect(j, src_count), weight});
    }
  }
  return lists;
}

uint8_t ToByte(float v) {
  if (v > 255.0f) return 255;
  if (v < 0.0f) return 0;
  return uint8_t(std::nearbyint(v));
}

void AccumulateLine(int count, const std::vector<ContributorList>& lists, const uint8_t* source,
                    ptrdiff_t source_distance, uint8_t* destination,
                    ptrdiff_t destination_distance) {
  for (int i = 0; i < count; ++i) {
    float sum[3] = {0.0f, 0.0f, 0.0f};
    for (const Contributor& c : lists[size_t(i)]) {
      if (c.Weight == 0.0f) continue;
      const uint8_t* pixel = source + ptrdiff_t(c.Index) * source_distance;
      for (int ch = 0; ch < 3; ++ch) sum[ch] = std::fmaf(float(pixel[ch]), c.Weight, sum[ch]);
    }
    for (int ch = 0; ch < 3; ++ch) destination[ch] = ToByte(sum[ch]);
    destination += destination_distance;
  }
}

float Scale(int dst, int src) {
  if (src == 1) return float(double(dst) / double(src));
  if (dst == 1) return float(1.0 / double(src));
  return float(double(dst - 1) / double(src - 1));
}

}  // namespace

void ReferenceResample(TRasterBitmap& bitmap, int new_width, int new_height,
                       TResampleFilter filter_choice, const TProgressProc& progress_proc) {
  const int src_width = bitmap.Width();
  const int src_height = bitmap.Height();
  if (src_width < 1 || src_height < 1) throw EQuorvaneError("Source bitmap too small");
  if (new_width < 1 || new_height < 1) throw EQuorvaneError("Zero Image Size");
  const TFilterFunction& filter = ResampleFilters[size_t(filter_choice)];
  Progress progress{progress_proc,
                    100.0 / (double(new_width) + src_height + new_height + new_width)};
  const float xscale = Scale(new_width, src_width);
  const float yscale = Scale(new_height, src_height);

  const size_t work_row = size_t(new_width) * 3;
  std::vector<uint8_t> work(work_row * size_t(src_height));

  // Horizontal pass in row strips.
  {
    const auto lists = BuildLists(new_width, src_width, xscale, filter, progress);
    int rows_per_strip =
        src_height /
        (int(std::nearbyint(double(src_height) / (1048576.0 / (double(src_width) * 3)))) + 1);
    if (rows_per_strip < 1) rows_per_strip = 1;
    TRasterBitmap strip;
    for (int s = 0; s < src_height; s += rows_per_strip) {
      const int end = std::min(s + rows_per_strip, src_height);
      strip.Reset(TPixelFormat::Bit24, src_width, end - s);
      CopyRect(bitmap, 0, s, src_width, end - s, strip, 0, 0);
      for (int r = 0; r < end - s; ++r) {
        progress.Tick();
        AccumulateLine(new_width, lists, strip.Scanline(r), 3,
                       work.data() + size_t(s + r) * work_row, 3);
      }
    }
  }

  // Vertical pass in column strips.
  {
    const auto lists = BuildLists(new_height, src_height, yscale, filter, progress);
    bitmap.SetSize(new_width, new_height);
    const int strips =
        int(std::nearbyint(double(src_height) / (1048576.0 / (double(new_width) * 3)))) + 1;
    int columns_per_strip = new_width / strips;
    if (columns_per_strip < 1) columns_per_strip = 1;
    TRasterBitmap strip;
    strip.Reset(TPixelFormat::Bit24, columns_per_strip, new_height);
    const ptrdiff_t strip_row_distance = new_height > 1 ? strip.Scanline(1) - strip.Scanline(0) : 0;
    for (int s = 0; s < new_width; s += columns_per_strip) {
      const int end = std::min(s + columns_per_strip, new_width);
      for (int c = s; c < end; ++c) {
        progress.Tick();
        AccumulateLine(new_height, lists, work.data() + 3 * size_t(c), ptrdiff_t(work_row),
                       strip.Scanline(0) + 3 * (c - s), strip_row_distance);
      }
      CopyRect(strip, 0, 0, end - s, new_height, bitmap, s, 0);
    }
  }
}

}  // namespace quorvane::test_support
