#include "tiff/tiff_directory.h"

namespace quorvane {

void TTiffDirectoryBuilder::WriteDirEntry(uint16_t tag, TTiffFieldType type, uint32_t count,
                                          uint32_t value) {
  entries_.WriteWord(tag);
  entries_.WriteWord(type);
  entries_.WriteDWord(count);
  // In a big-endian file a lone SHORT sits in the first two bytes of the field.
  const bool short_value = (type == kTiffShort && count == 1);
  entries_.WriteDWord(short_value && entries_.BigEndian() ? value << 16 : value);
  ++count_;
}

}  // namespace quorvane
