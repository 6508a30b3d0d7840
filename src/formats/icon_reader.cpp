#include "formats/icon_reader.h"

#include <cstring>
#include <vector>

#include "formats/bmp_file.h"
#include "formats/png_codec.h"
#include "raster/byte_reader.h"
#include "raster/error.h"

namespace quorvane {

namespace {

uint16_t Word(std::span<const uint8_t> b, size_t at) {
  return TByteReader(b).WordAt(at);
}
uint32_t DWord(std::span<const uint8_t> b, size_t at) {
  return TByteReader(b).DWordAt(at);
}
void PutDWord(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (8 * i));
}

struct TIconEntry {
  uint32_t Pixels = 0;
  uint16_t BitCount = 0;
  uint32_t Size = 0;
  uint32_t Offset = 0;
};

// An icon's bitmap payload is a Windows bitmap without its 14-byte file
// header and with the height of colour rows and mask together. Put a file
// header in front and halve the height, and the bitmap reader does the rest;
// the mask rows after the colour rows are then simply not read.
std::vector<uint8_t> IconBitmapFile(std::span<const uint8_t> payload) {
  if (payload.size() < 40)
    throw EQuorvaneError("Invalid icon file: image data too short", TErrorKind::Corrupt);
  const uint32_t header_size = DWord(payload, 0);
  if (header_size < 40 || header_size > payload.size())
    throw EQuorvaneError("Invalid icon file: unknown image header", TErrorKind::Corrupt);
  const uint16_t bit_count = Word(payload, 14);
  const uint32_t colors_used = DWord(payload, 32);
  uint64_t colors = 0;
  if (bit_count <= 8) colors = colors_used ? colors_used : (uint64_t(1) << bit_count);
  const uint64_t pixel_offset = 14 + uint64_t(header_size) + 4 * colors;
  if (pixel_offset > 14 + uint64_t(payload.size()))
    throw EQuorvaneError("Invalid icon file: colour table past the end of the image",
                         TErrorKind::Corrupt);

  std::vector<uint8_t> file(14 + payload.size());
  file[0] = 'B';
  file[1] = 'M';
  PutDWord(file, 2, uint32_t(file.size()));
  PutDWord(file, 10, uint32_t(pixel_offset));
  std::memcpy(file.data() + 14, payload.data(), payload.size());
  const int32_t height = int32_t(DWord(payload, 8));
  PutDWord(file, 14 + 8, uint32_t(height / 2));
  PutDWord(file, 14 + 20, 0);  // image size: let the reader compute it
  return file;
}

// The payload of the largest image (the deepest among equals).
std::span<const uint8_t> LargestImage(std::span<const uint8_t> bytes) {
  if (bytes.size() < 6 || Word(bytes, 0) != 0 || (Word(bytes, 2) != 1 && Word(bytes, 2) != 2))
    throw EQuorvaneError("Invalid icon file", TErrorKind::Corrupt);
  const uint16_t count = Word(bytes, 4);
  if (count == 0) throw EQuorvaneError("Invalid icon file: no images", TErrorKind::Corrupt);
  if (6 + 16 * size_t(count) > bytes.size())
    throw EQuorvaneError("Invalid icon file: directory past the end of the file",
                         TErrorKind::Corrupt);
  TIconEntry best;
  bool found = false;
  for (uint16_t i = 0; i < count; ++i) {
    const size_t e = 6 + 16 * size_t(i);
    // A width or height byte of 0 means 256.
    const uint32_t width = bytes[e] ? bytes[e] : 256, height = bytes[e + 1] ? bytes[e + 1] : 256;
    TIconEntry entry{width * height, Word(bytes, e + 6), DWord(bytes, e + 8), DWord(bytes, e + 12)};
    if (entry.Offset > bytes.size() || entry.Size > bytes.size() - entry.Offset || entry.Size == 0)
      continue;
    if (!found || entry.Pixels > best.Pixels ||
        (entry.Pixels == best.Pixels && entry.BitCount > best.BitCount)) {
      best = entry;
      found = true;
    }
  }
  if (!found)
    throw EQuorvaneError("Invalid icon file: image data past the end of the file",
                         TErrorKind::Corrupt);
  return bytes.subspan(best.Offset, best.Size);
}

bool IsPng(std::span<const uint8_t> payload) {
  static constexpr uint8_t kPngSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  return payload.size() >= 8 && std::memcmp(payload.data(), kPngSignature, 8) == 0;
}

}  // namespace

TPictureInfo ReadIconHeader(std::span<const uint8_t> bytes, const TDecodeLimits& limits) {
  const auto payload = LargestImage(bytes);
  if (IsPng(payload)) return ReadPngHeader(payload, limits);
  return ReadBmpHeader(IconBitmapFile(payload), limits);
}

void DecodeIcon(std::span<const uint8_t> bytes, TRasterBitmap& bitmap,
                const TDecodeOptions& options) {
  const auto payload = LargestImage(bytes);
  if (IsPng(payload)) {
    DecodePng(payload, bitmap, options);
  } else {
    DecodeBmp(IconBitmapFile(payload), bitmap, options);
  }
}

}  // namespace quorvane
