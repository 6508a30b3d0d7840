#include "imaging/contributors.h"

#include <cmath>

namespace quorvane {

float AxisScale(int dst_count, int src_count) {
  if (src_count == 1) return float(double(dst_count) / double(src_count));
  // A single destination pixel from a longer source would give a scale of 0;
  // it is taken as a reduction to one pixel centred on the source instead.
  if (dst_count == 1) return float(1.0 / double(src_count));
  return float(double(dst_count - 1) / double(src_count - 1));
}

int32_t ReflectIndex(int64_t j, int32_t src_count) {
  if (j >= 0 && j < src_count) return int32_t(j);
  const int64_t period = 2 * int64_t(src_count) - 1;
  int64_t m = j % period;
  if (m < 0) m += period;
  return int32_t(m < src_count ? m : period - m);
}

TContributorTable TContributorTable::Build(int dst_count, int src_count,
                                           const TFilterFunction& filter,
                                           TPercentProgress& progress) {
  TContributorTable table;
  const float scale = AxisScale(dst_count, src_count);
  float width = filter.Support;
  float fscale = 1.0f;
  if (scale < 1.0f) {
    width = filter.Support / scale;
    fscale = 1.0f / scale;
  }
  const bool single_centred = dst_count == 1 && src_count > 1;
  table.first_.reserve(size_t(dst_count) + 1);
  table.items_.reserve(size_t(dst_count) * size_t(std::max(1.0f, 2.0f * width + 1.0f)));
  for (int i = 0; i < dst_count; ++i) {
    progress.Step();
    const float center =
        single_centred ? float(double(src_count - 1) / 2.0) : float(double(i) / double(scale));
    const int64_t left = int64_t(std::floor(double(center) - double(width)));
    const int64_t right = int64_t(std::ceil(double(center) + double(width)));
    for (int64_t j = left; j <= right; ++j) {
      const float x = float((double(center) - double(j)) / double(fscale));
      const float weight = filter.Filter(x) / fscale;
      if (weight == 0.0f) continue;
      table.items_.push_back({ReflectIndex(j, src_count), weight});
    }
    table.first_.push_back(int64_t(table.items_.size()));
  }
  return table;
}

}  // namespace quorvane
