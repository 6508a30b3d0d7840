#include "tiff/tiff_lzw.h"

#include <cstring>
#include <string>

#include "raster/error.h"

namespace quorvane {

namespace {

constexpr uint32_t kClearCode = 256;
constexpr uint32_t kEndCode = 257;
constexpr uint32_t kFirstFreeCode = 258;
constexpr uint32_t kTableSize = 4096;
// Output starts after the 256 root bytes; entry c < 256 is the byte at c.
constexpr size_t kOutputStart = 256;
// No string is longer than this: an entry adds one byte to an earlier one,
// and a Clear comes, or the table fills, before 4096 entries.
constexpr uint32_t kLongestString = kTableSize;
// Strings are copied in 16-byte chunks that may run past their end, and a
// string started just before the limit may be up to 4096 bytes long.
constexpr size_t kOutputSlack = kLongestString + 64;

// A table entry names its string by where it was already written in the
// output: the string of a new code is the previous code's output followed by
// the first byte of the current one, and those bytes sit side by side in the
// buffer. Emitting a code is then one forward copy, with no prefix chain to
// walk and no stack.
template <typename TOffset>
struct TLzwEntry {
  TOffset Offset;
  uint32_t Length;
};

inline uint64_t LoadBigEndian64(const uint8_t* p) {
  uint64_t v;
  std::memcpy(&v, p, 8);
  return __builtin_bswap64(v);
}

// The string lies wholly before the destination, so copying it forward in
// chunks is right; the chunks may read and write up to 15 bytes past
// `length`, into output not yet produced. A chunk's source can reach into the
// destination's first bytes, so each chunk moves rather than copies (still
// one load and one store).
inline void CopyString(uint8_t* destination, const uint8_t* source, size_t length) {
  std::memmove(destination, source, 16);
  for (size_t i = 16; i < length; i += 16) std::memmove(destination + i, source + i, 16);
}

}  // namespace

TTiffLzwDecoder::TTiffLzwDecoder() = default;

const uint8_t* TTiffLzwDecoder::DecodeStrip(const uint8_t* file, size_t file_size, size_t start,
                                            size_t limit) {
  if (buffer_.Size() < kOutputStart + limit + kOutputSlack) {
    buffer_ = TPixelBuffer(kOutputStart + limit + kOutputSlack);
    for (size_t i = 0; i < 256; ++i) buffer_.Data()[i] = uint8_t(i);
  }
  const uint64_t available = start < file_size ? file_size - start : 0;
  const uint8_t* in = start < file_size ? file + start : file;
  // Offsets of 32 bits keep the table small enough for the first-level cache;
  // strips that decode to 4 GB or more take the wide form.
  if (kOutputStart + limit + kOutputSlack <= UINT32_MAX)
    produced_ = Decode<uint32_t>(in, available, start, limit);
  else
    produced_ = Decode<uint64_t>(in, available, start, limit);
  return buffer_.Data() + kOutputStart;
}

template <typename TOffset>
size_t TTiffLzwDecoder::Decode(const uint8_t* in, uint64_t available, size_t start, size_t limit) {
  using TEntry = TLzwEntry<TOffset>;
  if (table_.size() < kTableSize * sizeof(TEntry)) table_.resize(kTableSize * sizeof(TEntry));
  TEntry* table = reinterpret_cast<TEntry*>(table_.data());
  for (uint32_t c = 0; c < 256; ++c) table[c] = {TOffset(c), 1};

  uint8_t* const base = buffer_.Data();
  const size_t end = kOutputStart + limit;
  const uint64_t total_bits = available * 8;
  uint64_t bit = 0;
  size_t pos = kOutputStart;
  uint32_t next = kFirstFreeCode;
  uint32_t width = 9;
  // Codes below this were assigned in this strip (before the last Clear).
  uint32_t assigned = kFirstFreeCode;
  bool have_previous = false;
  size_t previous = 0;  // where the previous code's output begins
  uint32_t previous_length = 0;

  while (pos < end) {
    uint32_t code;
    if ((bit >> 3) + 8 <= available) {
      code = uint32_t((LoadBigEndian64(in + (bit >> 3)) << (bit & 7)) >> (64 - width));
    } else {
      // Near the end of the file: a code that the remaining bits cannot
      // complete is the end of the data.
      if (bit + width > total_bits) break;
      uint64_t window = 0;
      for (uint64_t i = 0; i < 8; ++i) {
        const uint64_t at = (bit >> 3) + i;
        window = window << 8 | (at < available ? in[at] : 0);
      }
      code = uint32_t((window << (bit & 7)) >> (64 - width));
    }
    bit += width;

    if (code == kClearCode) {
      if (next > assigned) assigned = next;
      next = kFirstFreeCode;
      width = 9;
      have_previous = false;
      continue;
    }
    if (code == kEndCode) break;
    if (code > next) {
      throw EQuorvaneError("Invalid LZW Code: " + std::to_string(code) + ">" +
                               std::to_string(next) + " @:" + std::to_string(start + (bit + 7) / 8),
                           TErrorKind::Corrupt);
    }
    if (!have_previous) {
      // The first code after a Clear stands for one byte: the last byte of
      // its entry. Entries this strip never assigned stand for zero.
      uint8_t byte = 0;
      if (code < 256)
        byte = uint8_t(code);
      else if (code < assigned)
        byte = base[table[code].Offset + table[code].Length - 1];
      base[pos] = byte;
      previous = pos;
      previous_length = 1;
      pos += 1;
      have_previous = true;
    } else if (code < next) {
      const TEntry entry = table[code];
      CopyString(base + pos, base + entry.Offset, entry.Length);
      if (next < kTableSize) table[next++] = {TOffset(previous), previous_length + 1};
      previous = pos;
      previous_length = entry.Length;
      pos += entry.Length;
    } else {
      // The code being defined: the previous string and its own first byte.
      // Once the table is full, a 13-bit code 4096 can repeat this, each time
      // one byte longer; past the longest string an entry can hold it no
      // longer names anything.
      if (previous_length >= kLongestString) {
        throw EQuorvaneError("Invalid LZW Code: " + std::to_string(code) + ">" +
                                 std::to_string(next) +
                                 " @:" + std::to_string(start + (bit + 7) / 8),
                             TErrorKind::Corrupt);
      }
      CopyString(base + pos, base + previous, previous_length);
      base[pos + previous_length] = base[previous];
      const uint32_t length = previous_length + 1;
      if (next < kTableSize) table[next++] = {TOffset(pos), length};
      previous = pos;
      previous_length = length;
      pos += length;
    }
    if (next >= (1u << width) - 1) ++width;
  }
  return (pos < end ? pos : end) - kOutputStart;
}

}  // namespace quorvane
