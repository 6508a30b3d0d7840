#pragma once
// A header's width and height are only promises. Before a decoder allocates
// the picture it checks that the file could fill it at all: every byte of
// input can account for a bounded number of pixels (a run-length packet of
// two bytes expands to at most a few hundred), so a tiny file claiming
// 65535 x 65535 pixels is refused instead of costing gigabytes. Uncompressed
// data is allowed to be cut short to a sixteenth of what the picture needs,
// so a truncated file still loads with what it holds, and small pictures are
// always allowed.
#include <cstdint>
#include <string>

namespace quorvane {

// Pictures up to this many pixels are allocated whatever the data holds.
constexpr uint64_t kAlwaysAllowedPixels = uint64_t(1) << 16;
// Uncompressed data may hold this fraction of its picture and still load.
constexpr uint64_t kTruncationAllowance = 16;

// Throws EQuorvaneError with `what` in the message when width x height
// exceeds both kAlwaysAllowedPixels and `fillable_pixels`.
void CheckPictureFitsData(int64_t width, int64_t height, uint64_t fillable_pixels,
                          const std::string& what);

// Saturating multiply for the fillable-pixel estimates.
inline uint64_t SaturatingMul(uint64_t a, uint64_t b) {
  if (a != 0 && b > UINT64_MAX / a) return UINT64_MAX;
  return a * b;
}

}  // namespace quorvane
