#include "formats/header_ranges.h"

#include "raster/byte_reader.h"

namespace quorvane {

namespace {

// Read after the first scan's or image data's header: what a library takes
// in one gulp there.
constexpr uint64_t kLeadIn = 4096;
// Where a file does not look like its format, the reader fails on its
// first bytes, or searches on for a marker: give it everything.
void FetchRest(TFileRanges& file, uint64_t from) {
  file.Fetch(from, file.Size());
}

uint64_t BigWordAt(const TFileRanges& file, uint64_t at) {
  return TByteReader(file.Bytes(), true).WordAt(at);
}

}  // namespace

void FetchJpegHeaderRanges(TFileRanges& file) {
  file.Fetch(0, 2);
  if (BigWordAt(file, 0) != 0xFFD8) return FetchRest(file, 0);
  uint64_t at = 2;
  while (at < file.Size()) {
    file.Fetch(at, 4);
    const TByteReader bytes(file.Bytes());
    if (bytes.ByteAt(at) != 0xFF) return FetchRest(file, at);
    const uint8_t marker = bytes.ByteAt(at + 1);
    if (marker == 0xFF) {  // fill byte before a marker
      ++at;
      continue;
    }
    const bool alone = marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8);
    if (marker == 0xD9) return;
    if (alone) {
      at += 2;
      continue;
    }
    const uint64_t length = BigWordAt(file, at + 2);
    file.Fetch(at, 2 + length + kLeadIn * (marker == 0xDA));
    if (marker == 0xDA) return;
    at += 2 + length;
  }
}

void FetchPngHeaderRanges(TFileRanges& file) {
  constexpr uint64_t kSignature = 8, kChunkHead = 8, kCrc = 4;
  file.Fetch(0, kSignature);
  uint64_t at = kSignature;
  while (at < file.Size()) {
    file.Fetch(at, kChunkHead);
    const TByteReader bytes(file.Bytes(), true);
    const uint64_t length = bytes.DWordAt(at);
    if (bytes.DWordAt(at + 4) == 0x49444154) {  // "IDAT"
      file.Fetch(at, kChunkHead + kLeadIn);
      return;
    }
    file.Fetch(at, kChunkHead + length + kCrc);
    at += kChunkHead + length + kCrc;
  }
}

}  // namespace quorvane
