#pragma once
// Decode limits for tests: a cap small enough that what a test expects to be
// refused does not depend on the memory of the machine it runs on.
#include <cstdint>

#include "raster/codec.h"

namespace quorvane::test_support {

constexpr uint64_t kTestPictureCap = uint64_t(256) << 20;

inline TDecodeLimits TestLimits() {
  return {.MaxPictureBytes = kTestPictureCap};
}

inline TDecodeOptions TestDecode(TStageReporter* progress = nullptr) {
  return {.Limits = TestLimits(), .Progress = progress};
}

}  // namespace quorvane::test_support
