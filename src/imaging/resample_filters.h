#pragma once
// The seven reconstruction filters of the resampler. Arguments, results and
// supports are single precision; the arithmetic inside a filter may be wider.
// The index into the table is a filter's identity everywhere.
#include <array>

namespace quorvane {

struct TResampleFilter {
  const char* Name;
  float (*Filter)(float x);
  float Support;
};

constexpr int kResampleFilterCount = 7;
enum : int {
  kFilterBox = 0,
  kFilterTriangle = 1,
  kFilterHermite = 2,
  kFilterBell = 3,
  kFilterBSpline = 4,
  kFilterMitchell = 5,
  kFilterLanczos3 = 6,
};

extern const std::array<TResampleFilter, kResampleFilterCount> ResampleFilters;

// sin(u)/u with u = pi * x rounded to single precision; 1 at 0.
float Sinc(float x);

}  // namespace quorvane
