#pragma once
// Sample values out of decoded TIFF rows. libtiff hands rows over with
// multi-byte samples in host order; samples narrower than a byte are packed
// most significant bit first, and every row starts on a byte.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace quorvane {

enum class TSampleKind : uint8_t { Unsigned, Signed, Float };

struct TSampleType {
  TSampleKind Kind = TSampleKind::Unsigned;
  int Bits = 8;
  bool operator==(const TSampleType&) const = default;
};

// Whether the unpackers below handle the type: integers of 1 to 32 bits or of
// 64 bits, floats of 16, 32 or 64 bits.
bool IsReadableSampleType(TSampleType type);

// Sample `band` of `count` pixels of `stride` samples each, as unsigned
// integers of up to 32 bits. `band` may be any sample index: the first pixel
// taken is then band / stride.
void UnpackUnsigned(const uint8_t* row, int bits, int stride, size_t band, size_t count,
                    uint32_t* out);

// The same for any readable type, as doubles (exact for every type but 64-bit
// integers beyond 2^53).
void UnpackValues(const uint8_t* row, TSampleType type, int stride, size_t band, size_t count,
                  double* out);

// 8-bit values for unsigned samples of `bits` (1 to 16) scaled over their full
// range: round(v x 255 / (2^bits - 1)), reversed when `invert`. One entry per
// sample value.
std::vector<uint8_t> FullRangeTable(int bits, bool invert);

// IEEE half precision to single.
float HalfToFloat(uint16_t half);

}  // namespace quorvane
