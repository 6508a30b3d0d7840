#pragma once
// Hand-built PCX, TGA and IFF files, written field by field from the formats'
// definitions. The tests use them as independent truth, and the fuzzers
// start from them.
#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace quorvane::samples {

using Bytes = std::vector<uint8_t>;

inline void PutLE16(Bytes& b, unsigned v) {
  b.push_back(uint8_t(v));
  b.push_back(uint8_t(v >> 8));
}
inline void PutBE16(Bytes& b, unsigned v) {
  b.push_back(uint8_t(v >> 8));
  b.push_back(uint8_t(v));
}
inline void PutBE32(Bytes& b, uint32_t v) {
  PutBE16(b, v >> 16);
  PutBE16(b, v & 0xFFFF);
}
inline void Append(Bytes& b, const Bytes& more) {
  b.insert(b.end(), more.begin(), more.end());
}

struct TPcxFields {
  uint8_t Planes = 1, Bits = 8;
  uint16_t Xmin = 0, Ymin = 0, Xmax = 0, Ymax = 0;
  uint16_t HDpi = 72, VDpi = 72;
  uint16_t BytesPerLine = 0;
  std::array<uint8_t, 48> Palette{};  // 16 x red, green, blue
};

// The 128-byte header.
inline Bytes PcxHeader(const TPcxFields& f) {
  Bytes b{10, 5, 1, f.Bits};
  PutLE16(b, f.Xmin);
  PutLE16(b, f.Ymin);
  PutLE16(b, f.Xmax);
  PutLE16(b, f.Ymax);
  PutLE16(b, f.HDpi);
  PutLE16(b, f.VDpi);
  b.insert(b.end(), f.Palette.begin(), f.Palette.end());
  b.push_back(0);
  b.push_back(f.Planes);
  PutLE16(b, f.BytesPerLine);
  PutLE16(b, 1);
  PutLE16(b, 0);
  PutLE16(b, 0);
  b.resize(128, 0);
  return b;
}

// Plain bytes as a PCX body: values of 192 and above need a run of one.
inline Bytes PcxLiteral(std::initializer_list<uint8_t> values) {
  Bytes b;
  for (uint8_t v : values) {
    if (v >= 192) b.push_back(0xC1);
    b.push_back(v);
  }
  return b;
}

inline Bytes TgaHeader(uint8_t image_type, uint16_t width, uint16_t height, uint8_t depth,
                       uint8_t descriptor = 0, uint8_t id_length = 0, uint8_t cmap_type = 0,
                       uint16_t cmap_length = 0, uint8_t cmap_depth = 0) {
  Bytes b{id_length, cmap_type, image_type};
  PutLE16(b, 0);
  PutLE16(b, cmap_length);
  b.push_back(cmap_depth);
  PutLE16(b, 0);
  PutLE16(b, 0);
  PutLE16(b, width);
  PutLE16(b, height);
  b.push_back(depth);
  b.push_back(descriptor);
  return b;
}

// An IFF chunk: identifier, big-endian size, data, a pad byte after odd data.
inline Bytes IffChunk(const std::string& id, const Bytes& data, bool pad = true) {
  Bytes b(id.begin(), id.end());
  PutBE32(b, uint32_t(data.size()));
  Append(b, data);
  if (pad && data.size() % 2 != 0) b.push_back(0);
  return b;
}

inline Bytes IffForm(const std::string& type, std::initializer_list<Bytes> chunks) {
  Bytes inner(type.begin(), type.end());
  for (const Bytes& c : chunks) Append(inner, c);
  Bytes b{'F', 'O', 'R', 'M'};
  PutBE32(b, uint32_t(inner.size()));
  Append(b, inner);
  return b;
}

inline Bytes Bmhd(uint16_t width, uint16_t height, uint8_t planes, uint8_t compression,
                  uint8_t masking = 0) {
  Bytes b;
  PutBE16(b, width);
  PutBE16(b, height);
  PutBE16(b, 0);
  PutBE16(b, 0);
  b.push_back(planes);
  b.push_back(masking);
  b.push_back(compression);
  b.push_back(0);
  PutBE16(b, 0);
  b.push_back(10);
  b.push_back(11);
  PutBE16(b, width);
  PutBE16(b, height);
  return b;
}

// CMAP data: `count` colours, colour i = (i * 40, 255 - i * 30, i * 7) mod 256.
inline Bytes Cmap(int count) {
  Bytes b;
  for (int i = 0; i < count; ++i) {
    b.push_back(uint8_t(i * 40));
    b.push_back(uint8_t(255 - i * 30));
    b.push_back(uint8_t(i * 7));
  }
  return b;
}

}  // namespace quorvane::samples
