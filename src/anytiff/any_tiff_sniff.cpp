// Deciding from a file's first bytes whether the extended reader should take
// it although our own reader would accept it.
#include <cstddef>
#include <cstdint>
#include <span>

#include "anytiff/any_tiff_reader.h"

namespace quorvane {

namespace {

constexpr uint16_t kTagBitsPerSample = 258;
constexpr uint16_t kTagSamplesPerPixel = 277;
constexpr uint16_t kTagSampleFormat = 339;
constexpr uint16_t kClassicMagic = 42;
constexpr uint16_t kBigTiffMagic = 43;
constexpr uint16_t kTypeByte = 1, kTypeShort = 3, kTypeLong = 4;

// Reads values in the file's byte order, never outside the span.
class TPeek {
 public:
  TPeek(std::span<const uint8_t> bytes, bool big_endian) : bytes_(bytes), big_(big_endian) {}
  bool Has(uint64_t at, uint64_t n) const { return at <= bytes_.size() && n <= bytes_.size() - at; }
  uint32_t Value(uint64_t at, unsigned width) const {
    uint32_t v = 0;
    for (unsigned i = 0; i < width; ++i) {
      const uint32_t b = bytes_[size_t(at + (big_ ? i : width - 1 - i))];
      v = v << 8 | b;
    }
    return v;
  }

 private:
  std::span<const uint8_t> bytes_;
  bool big_;
};

// The first value of the entry at `entry`, or 0 when it cannot be read from
// the span.
uint32_t FirstValue(const TPeek& peek, uint64_t entry) {
  const uint32_t type = peek.Value(entry + 2, 2);
  const uint32_t count = peek.Value(entry + 4, 4);
  const unsigned width = type == kTypeByte ? 1 : type == kTypeShort ? 2 : type == kTypeLong ? 4 : 0;
  if (width == 0 || count == 0) return 0;
  // Values that fit the four bytes of the field sit in it, left-justified.
  uint64_t at = entry + 8;
  if (uint64_t(count) * width > 4) at = peek.Value(entry + 8, 4);
  return peek.Has(at, width) ? peek.Value(at, width) : 0;
}

}  // namespace

bool WantsExtendedReader(std::span<const uint8_t> header_bytes) {
  if (header_bytes.size() < 8) return false;
  const bool little = header_bytes[0] == 'I' && header_bytes[1] == 'I';
  const bool big = header_bytes[0] == 'M' && header_bytes[1] == 'M';
  if (!little && !big) return false;
  const TPeek peek(header_bytes, big);
  const uint32_t magic = peek.Value(2, 2);
  if (magic == kBigTiffMagic) return true;
  if (magic != kClassicMagic) return false;
  const uint64_t directory = peek.Value(4, 4);
  if (!peek.Has(directory, 2)) return false;
  const uint32_t entries = peek.Value(directory, 2);
  for (uint32_t i = 0; i < entries; ++i) {
    const uint64_t entry = directory + 2 + uint64_t(i) * 12;
    if (!peek.Has(entry, 12)) break;
    const uint32_t tag = peek.Value(entry, 2);
    const uint32_t value = FirstValue(peek, entry);
    // Measurements: samples of more than a byte, more bands than a colour
    // picture, signed integers or IEEE floating point.
    if (tag == kTagBitsPerSample && value > 8) return true;
    if (tag == kTagSamplesPerPixel && value > 3) return true;
    if (tag == kTagSampleFormat && (value == 2 || value == 3)) return true;
  }
  return false;
}

}  // namespace quorvane
