#pragma once
// A seekable in-memory byte stream with the byte order of the file it holds.
// Codecs read a whole file into one of these, or build a file (or the parts
// of one a writer assembles) in one. Reads past the end never touch memory
// outside the data: the bytes that could not be transferred read as zero.
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "raster/byte_reader.h"

namespace quorvane {

class TByteStream {
 public:
  TByteStream() = default;
  explicit TByteStream(std::vector<uint8_t> data) : data_(std::move(data)) {}
  static TByteStream CopyOf(std::span<const uint8_t> bytes) {
    return TByteStream(std::vector<uint8_t>(bytes.begin(), bytes.end()));
  }
  // An empty stream for the part of a file that starts at `origin`, the
  // bytes before it having been written elsewhere: Position and Seek count
  // from the start of the file, so offsets recorded while writing are file
  // offsets. The data holds the bytes from `origin` on.
  static TByteStream StartingAt(size_t origin) {
    TByteStream stream;
    stream.origin_ = origin;
    return stream;
  }

  // True: multi-byte values are stored most significant byte first.
  bool BigEndian() const { return big_endian_; }
  void SetBigEndian(bool big_endian) { big_endian_ = big_endian; }

  size_t Size() const { return data_.size(); }
  // Room for `bytes` in all without growing again; a writer that knows its
  // output size saves the copies of repeated growth.
  void Reserve(size_t bytes) { data_.reserve(bytes); }
  size_t Position() const { return origin_ + position_; }
  // Where the data starts in the file (see StartingAt).
  size_t Origin() const { return origin_; }
  // Absolute seek (not before the origin); a position past the end is
  // allowed (reads give zeros, writes extend the data with zeros up to it).
  void Seek(size_t position) { position_ = position - origin_; }
  size_t Remaining() const { return position_ < data_.size() ? data_.size() - position_ : 0; }

  // Reads go through a TByteReader: past the end they give zeros. Transfers
  // up to n bytes and returns how many arrived; the rest of the destination
  // is zero-filled.
  size_t Read(void* destination, size_t n);
  uint8_t ReadByte();
  uint16_t ReadWord();
  uint32_t ReadDWord();
  double ReadDouble();
  std::string ReadChars(size_t n);

  void Write(const void* source, size_t n);
  void WriteByte(uint8_t value);
  void WriteWord(uint16_t value);
  void WriteDWord(uint32_t value);
  void WriteDouble(double value);
  void WriteChars(std::string_view text);

  // A reader over the whole data at the stream's position and byte order.
  TByteReader Reader() const {
    TByteReader reader(data_, big_endian_);
    reader.Seek(position_);
    return reader;
  }

  const uint8_t* Data() const { return data_.data(); }
  const std::vector<uint8_t>& Bytes() const { return data_; }
  std::vector<uint8_t> TakeBytes() { return std::move(data_); }

 private:
  template <typename TValue>
  TValue ReadThrough(TValue (TByteReader::*read)());

  std::vector<uint8_t> data_;
  size_t origin_ = 0;
  size_t position_ = 0;
  bool big_endian_ = false;
};

// Reverses the n bytes of a buffer in place.
void SwapBytes(void* buffer, size_t n);
// Maps 0..255 to -128..127.
inline int SignedByte(uint8_t b) {
  return b > 127 ? int(b) - 256 : int(b);
}
// Bytes of one row of `width` pixels padded to `alignment_bits`.
inline int64_t RowStride(int64_t width, int64_t bits_per_pixel, int64_t alignment_bits) {
  return ((width * bits_per_pixel + alignment_bits - 1) / alignment_bits * alignment_bits) / 8;
}

}  // namespace quorvane
