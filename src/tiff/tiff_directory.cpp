#include "tiff/tiff_directory.h"

#include <algorithm>
#include <cstring>

namespace quorvane {

void TTiffDirectoryBuilder::WriteField(uint64_t value) {
  entries_.WriteDWord(uint32_t(value));
  // BigTIFF files are little-endian here: the low half comes first.
  if (big_tiff_) entries_.WriteDWord(uint32_t(value >> 32));
}

void TTiffDirectoryBuilder::WriteDirEntry(uint16_t tag, TTiffFieldType type, uint64_t count,
                                          uint64_t value) {
  entries_.WriteWord(tag);
  entries_.WriteWord(type);
  WriteField(count);
  // In a big-endian file a lone SHORT sits in the first two bytes of the field.
  const bool short_value = (type == kTiffShort && count == 1);
  WriteField(short_value && entries_.BigEndian() ? value << 16 : value);
  ++count_;
}

void TTiffDirectoryBuilder::WriteInlineEntry(uint16_t tag, TTiffFieldType type, uint64_t count,
                                             const void* bytes, size_t n) {
  entries_.WriteWord(tag);
  entries_.WriteWord(type);
  WriteField(count);
  uint8_t field[8] = {};
  const size_t width = big_tiff_ ? 8 : 4;
  std::memcpy(field, bytes, std::min(n, width));
  entries_.Write(field, width);
  ++count_;
}

void TTiffDirectoryBuilder::WritePayloadEntry(uint16_t tag, TTiffFieldType type, uint64_t count,
                                              uint64_t offset, size_t n,
                                              const TByteStream& payloads) {
  if (big_tiff_ && n <= 8)
    WriteInlineEntry(tag, type, count, payloads.Data() + (offset - payloads.Origin()), n);
  else
    WriteDirEntry(tag, type, count, offset);
}

}  // namespace quorvane
