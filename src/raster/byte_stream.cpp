#include "raster/byte_stream.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace quorvane {

void SwapBytes(void* buffer, size_t n) {
  auto* bytes = static_cast<uint8_t*>(buffer);
  std::reverse(bytes, bytes + n);
}

size_t TByteStream::Read(void* destination, size_t n) {
  const size_t available = std::min(n, Remaining());
  if (available > 0) std::memcpy(destination, data_.data() + position_, available);
  if (available < n) std::memset(static_cast<uint8_t*>(destination) + available, 0, n - available);
  position_ += available;
  return available;
}

uint8_t TByteStream::ReadByte() {
  uint8_t value = 0;
  Read(&value, 1);
  return value;
}

namespace {
// Values are exchanged with callers in host order; the file order is the
// stream's. The host is little-endian on every platform we build for.
static_assert(std::endian::native == std::endian::little);

template <typename T>
T ReadValue(TByteStream& stream) {
  uint8_t buffer[sizeof(T)];
  stream.Read(buffer, sizeof(T));
  if (stream.BigEndian()) SwapBytes(buffer, sizeof(T));
  T value;
  std::memcpy(&value, buffer, sizeof(T));
  return value;
}

template <typename T>
void WriteValue(TByteStream& stream, T value) {
  uint8_t buffer[sizeof(T)];
  std::memcpy(buffer, &value, sizeof(T));
  if (stream.BigEndian()) SwapBytes(buffer, sizeof(T));
  stream.Write(buffer, sizeof(T));
}
}  // namespace

uint16_t TByteStream::ReadWord() {
  return ReadValue<uint16_t>(*this);
}
uint32_t TByteStream::ReadDWord() {
  return ReadValue<uint32_t>(*this);
}
double TByteStream::ReadDouble() {
  return ReadValue<double>(*this);
}

std::string TByteStream::ReadChars(size_t n) {
  std::string text(n, '\0');
  Read(text.data(), n);
  return text;
}

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
