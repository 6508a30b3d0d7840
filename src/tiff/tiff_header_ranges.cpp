#include "tiff/tiff_header_ranges.h"

#include <algorithm>

#include "raster/byte_reader.h"
#include "tiff/tiff_tags.h"

namespace quorvane {

namespace {

constexpr uint64_t kEntryBytes = 12;
// Any value a reader takes from an entry's offset is at most this wide per
// counted item (doubles, rationals), whatever type the entry declares.
constexpr uint64_t kWidestItem = 8;
// The colour map is read for the bits per sample, not for the entry's count.
constexpr uint64_t kColorMapBytes = 3 * 256 * 2;
// The LZW bit-order check looks at the first two bytes of the first strip.
constexpr uint64_t kStripLead = 2;

// Both readings of a first strip offset a directory entry allows: the value
// in the entry itself or at the place it names, as a SHORT or a LONG.
void FetchStripLead(TFileRanges& file, bool big_endian, uint64_t field_position) {
  const TByteReader bytes(file.Bytes(), big_endian);
  const uint32_t field = bytes.DWordAt(field_position);
  for (uint64_t at : {field_position, uint64_t(field)}) {
    file.Fetch(bytes.WordAt(at), kStripLead);
    file.Fetch(bytes.DWordAt(at), kStripLead);
  }
}

}  // namespace

void FetchTiffHeaderRanges(TFileRanges& file) {
  file.Fetch(0, 8);
  TByteReader head(file.Bytes());
  head.SetBigEndian(head.WordAt(0) == 0x4D4D);
  const uint64_t directory = head.DWordAt(4);
  if (directory == 0) return;
  file.Fetch(directory, 2);
  const uint64_t entries = TByteReader(file.Bytes(), head.BigEndian()).WordAt(directory);
  file.Fetch(directory + 2, entries * kEntryBytes);
  const TByteReader bytes(file.Bytes(), head.BigEndian());
  for (uint64_t i = 0; i < entries; ++i) {
    const uint64_t entry = directory + 2 + i * kEntryBytes;
    if (entry >= file.Size()) break;
    const uint16_t tag = bytes.WordAt(entry);
    const uint64_t count = bytes.DWordAt(entry + 4);
    const uint64_t field = bytes.DWordAt(entry + 8);
    const uint64_t wanted = count * kWidestItem;
    file.Fetch(field, tag == kTagColorMap ? std::max(wanted, kColorMapBytes) : wanted);
    if (tag == kTagStripOffsets) FetchStripLead(file, head.BigEndian(), entry + 8);
  }
}

}  // namespace quorvane
