#pragma once
// Builds the entries of one TIFF image file directory in a buffer of their
// own, counting them as they are written, so the writer can put the entry
// count in front once every entry (its own and the GeoTIFF ones) is known.
#include <cstdint>

#include "raster/byte_stream.h"
#include "tiff/tiff_tags.h"

namespace quorvane {

class TTiffDirectoryBuilder {
 public:
  // Entries take the byte order of the file they will be appended to.
  explicit TTiffDirectoryBuilder(bool big_endian) { entries_.SetBigEndian(big_endian); }

  // One 12-byte entry: tag, type, count, value/offset. A SHORT value that
  // fits the field is stored left-justified, which in a little-endian file
  // is simply the 32-bit value.
  void WriteDirEntry(uint16_t tag, TTiffFieldType type, uint32_t count, uint32_t value);

  uint16_t DirEntryCount() const { return count_; }
  const TByteStream& Entries() const { return entries_; }

 private:
  TByteStream entries_;
  uint16_t count_ = 0;
};

}  // namespace quorvane
