#include "raster/byte_reader.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace quorvane {

size_t TByteReader::Read(void* destination, size_t n) {
  const size_t available = std::min(n, Remaining());
  if (available > 0) std::memcpy(destination, data_ + position_, available);
  if (available < n) std::memset(static_cast<uint8_t*>(destination) + available, 0, n - available);
  position_ = Advanced(n);
  return available;
}

double TByteReader::ReadDouble() {
  const uint64_t high = ReadDWord(), low = ReadDWord();
  const uint64_t bits = big_endian_ ? high << 32 | low : low << 32 | high;
  return std::bit_cast<double>(bits);
}

std::string TByteReader::ReadChars(size_t n) {
  std::string text(n, '\0');
  Read(text.data(), n);
  return text;
}

}  // namespace quorvane
