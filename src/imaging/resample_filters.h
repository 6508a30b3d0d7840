#pragma once
// The seven reconstruction filters of the resampler. Arguments, results and
// supports are single precision; the arithmetic inside a filter may be wider.
#include <array>
#include <cstdint>

namespace quorvane {

struct TFilterFunction {
  const char* Name;
  float (*Filter)(float x);
  float Support;
};

// A filter's value is its row of ResampleFilters and the number the batch
// tool's --filter option takes.
enum class TResampleFilter : uint8_t { Box, Triangle, Hermite, Bell, BSpline, Mitchell, Lanczos3 };
constexpr int kResampleFilterCount = int(TResampleFilter::Lanczos3) + 1;

extern const std::array<TFilterFunction, kResampleFilterCount> ResampleFilters;

// sin(u)/u with u = pi * x rounded to single precision; 1 at 0.
float Sinc(float x);

}  // namespace quorvane
