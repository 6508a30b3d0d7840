#pragma once
// Builds the entries of one TIFF image file directory in a buffer of their
// own, counting them as they are written, so the writer can put the entry
// count in front once every entry (its own and the GeoTIFF ones) is known.
// A BigTIFF directory (little-endian only, as our writer writes) has 20-byte
// entries with an 8-byte count and an 8-byte value/offset field.
#include <cstddef>
#include <cstdint>

#include "raster/byte_stream.h"
#include "tiff/tiff_tags.h"

namespace quorvane {

class TTiffDirectoryBuilder {
 public:
  // Entries take the byte order of the file they will be appended to.
  explicit TTiffDirectoryBuilder(bool big_endian, bool big_tiff = false) : big_tiff_(big_tiff) {
    entries_.SetBigEndian(big_endian);
  }

  // One entry: tag, type, count, value/offset. A SHORT value that fits the
  // field is stored left-justified, which in a little-endian file is simply
  // the value as a number of the field's width.
  void WriteDirEntry(uint16_t tag, TTiffFieldType type, uint64_t count, uint64_t value);
  // An entry whose `n` value bytes are in the field itself (at most the
  // field's width), padded with zeros.
  void WriteInlineEntry(uint16_t tag, TTiffFieldType type, uint64_t count, const void* bytes,
                        size_t n);
  // An entry whose values were written into `payloads` at file offset
  // `offset`, `n` bytes long. A classic directory refers to them by offset,
  // even short ones; a BigTIFF one must hold up to 8 bytes in the entry.
  void WritePayloadEntry(uint16_t tag, TTiffFieldType type, uint64_t count, uint64_t offset,
                         size_t n, const TByteStream& payloads);

  bool BigTiff() const { return big_tiff_; }

  uint16_t DirEntryCount() const { return count_; }
  const TByteStream& Entries() const { return entries_; }

 private:
  void WriteField(uint64_t value);

  TByteStream entries_;
  bool big_tiff_;
  uint16_t count_ = 0;
};

}  // namespace quorvane
