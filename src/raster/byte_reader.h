#pragma once
// A non-owning reader over bytes in memory, in the byte order of the file
// they came from. Every codec and the byte stream read integers through it.
// Reads past the end never touch memory outside the bytes: what is missing
// reads as zero, so a decoder of a file cut short sees zeros and ends by the
// counts it derives from the file and from what it produced.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace quorvane {

class TByteReader {
 public:
  TByteReader() = default;
  explicit TByteReader(std::span<const uint8_t> bytes, bool big_endian = false)
      : data_(bytes.data()), size_(bytes.size()), big_endian_(big_endian) {}

  // True: multi-byte values are stored most significant byte first.
  bool BigEndian() const { return big_endian_; }
  void SetBigEndian(bool big_endian) { big_endian_ = big_endian; }

  const uint8_t* Data() const { return data_; }
  size_t Size() const { return size_; }
  std::span<const uint8_t> Bytes() const { return {data_, size_}; }

  size_t Position() const { return position_; }
  // Any position is allowed; past the end everything reads as zero.
  void Seek(size_t position) { position_ = position; }
  void Skip(size_t n) { position_ = Advanced(n); }
  size_t Remaining() const { return position_ < size_ ? size_ - position_ : 0; }
  bool AtEnd() const { return position_ >= size_; }

  // Transfers up to n bytes and returns how many arrived; the rest of the
  // destination is zero-filled.
  size_t Read(void* destination, size_t n);
  uint8_t ReadByte() {
    const uint8_t value = ByteAt(position_);
    position_ = Advanced(1);
    return value;
  }
  uint16_t ReadWord() {
    const uint16_t value = WordAt(position_);
    position_ = Advanced(2);
    return value;
  }
  uint32_t ReadDWord() {
    const uint32_t value = DWordAt(position_);
    position_ = Advanced(4);
    return value;
  }
  double ReadDouble();
  std::string ReadChars(size_t n);

  // Values at an absolute position, in the reader's byte order; the position
  // does not move.
  uint8_t ByteAt(uint64_t position) const { return position < size_ ? data_[position] : 0; }
  uint16_t WordAt(uint64_t position) const {
    const unsigned a = ByteAfter(position, 0), b = ByteAfter(position, 1);
    return uint16_t(big_endian_ ? a << 8 | b : b << 8 | a);
  }
  uint32_t DWordAt(uint64_t position) const {
    uint32_t value = 0;
    for (unsigned i = 0; i < 4; ++i) {
      const uint32_t byte = ByteAfter(position, i);
      value |= big_endian_ ? byte << (24 - 8 * i) : byte << (8 * i);
    }
    return value;
  }
  // The bytes that exist of [position, position + n).
  std::span<const uint8_t> SpanAt(uint64_t position, uint64_t n) const {
    if (position >= size_) return {};
    return {data_ + position, size_t(n < size_ - position ? n : size_ - position)};
  }

 private:
  // The byte `offset` places after `position`, with no sum that could wrap.
  uint8_t ByteAfter(uint64_t position, uint64_t offset) const {
    return position < size_ && offset < size_ - position ? data_[position + offset] : 0;
  }
  size_t Advanced(size_t n) const { return n > SIZE_MAX - position_ ? SIZE_MAX : position_ + n; }

  const uint8_t* data_ = nullptr;
  size_t size_ = 0;
  size_t position_ = 0;
  bool big_endian_ = false;
};

// Fixed-order values from a pointer the caller knows to be in bounds.
inline uint16_t LittleWord(const uint8_t* p) {
  return uint16_t(p[0] | p[1] << 8);
}
inline uint32_t LittleDWord(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
inline uint32_t BigDWord(const uint8_t* p) {
  return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}

}  // namespace quorvane
