#include "raster/byte_stream.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace quorvane {

void SwapBytes(void* buffer, size_t n) {
  auto* bytes = static_cast<uint8_t*>(buffer);
  std::reverse(bytes, bytes + n);
}

template <typename TValue>
TValue TByteStream::ReadThrough(TValue (TByteReader::*read)()) {
  TByteReader reader = Reader();
  const TValue value = (reader.*read)();
  position_ = reader.Position();
  return value;
}

size_t TByteStream::Read(void* destination, size_t n) {
  TByteReader reader = Reader();
  const size_t arrived = reader.Read(destination, n);
  position_ = reader.Position();
  return arrived;
}

uint8_t TByteStream::ReadByte() {
  return ReadThrough(&TByteReader::ReadByte);
}
uint16_t TByteStream::ReadWord() {
  return ReadThrough(&TByteReader::ReadWord);
}
uint32_t TByteStream::ReadDWord() {
  return ReadThrough(&TByteReader::ReadDWord);
}
double TByteStream::ReadDouble() {
  return ReadThrough(&TByteReader::ReadDouble);
}

std::string TByteStream::ReadChars(size_t n) {
  std::string text(n, '\0');
  Read(text.data(), n);
  return text;
}

namespace {
// Values are exchanged with callers in host order; the file order is the
// stream's. The host is little-endian on every platform we build for.
static_assert(std::endian::native == std::endian::little);

template <typename T>
void WriteValue(TByteStream& stream, T value) {
  uint8_t buffer[sizeof(T)];
  std::memcpy(buffer, &value, sizeof(T));
  if (stream.BigEndian()) SwapBytes(buffer, sizeof(T));
  stream.Write(buffer, sizeof(T));
}
}  // namespace

void TByteStream::Write(const void* source, size_t n) {
  if (n == 0) return;
  if (position_ + n > data_.size()) data_.resize(position_ + n);
  std::memcpy(data_.data() + position_, source, n);
  position_ += n;
}

void TByteStream::WriteByte(uint8_t value) {
  Write(&value, 1);
}
void TByteStream::WriteWord(uint16_t value) {
  WriteValue(*this, value);
}
void TByteStream::WriteDWord(uint32_t value) {
  WriteValue(*this, value);
}
void TByteStream::WriteDouble(double value) {
  WriteValue(*this, value);
}
void TByteStream::WriteChars(std::string_view text) {
  Write(text.data(), text.size());
}

}  // namespace quorvane
