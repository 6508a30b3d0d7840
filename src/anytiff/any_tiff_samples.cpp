#include "anytiff/any_tiff_samples.h"

#include <cstring>

namespace quorvane {

namespace {

template <typename T>
T Load(const uint8_t* p) {
  T value;
  std::memcpy(&value, p, sizeof(T));
  return value;
}

// Bits [position, position + bits) of a row, most significant bit first;
// bits is at most 32, so at most five bytes are touched.
uint32_t BitsAt(const uint8_t* row, uint64_t position, int bits) {
  const uint8_t* p = row + position / 8;
  const int skip = int(position % 8);
  const int bytes = (skip + bits + 7) / 8;
  uint64_t window = 0;
  for (int i = 0; i < bytes; ++i) window = window << 8 | p[i];
  const int below = bytes * 8 - skip - bits;
  return uint32_t((window >> below) & ((uint64_t(1) << bits) - 1));
}

int64_t SignExtend(uint32_t value, int bits) {
  const uint64_t sign = uint64_t(1) << (bits - 1);
  return int64_t((uint64_t(value) ^ sign) - sign);
}

template <typename T>
void UnpackTyped(const uint8_t* row, int stride, size_t band, size_t count, double* out) {
  const uint8_t* p = row + band * sizeof(T);
  const size_t step = size_t(stride) * sizeof(T);
  for (size_t i = 0; i < count; ++i, p += step) out[i] = double(Load<T>(p));
}

}  // namespace

bool IsReadableSampleType(TSampleType type) {
  switch (type.Kind) {
    case TSampleKind::Unsigned:
    case TSampleKind::Signed:
      return (type.Bits >= 1 && type.Bits <= 32) || type.Bits == 64;
    case TSampleKind::Float:
      return type.Bits == 16 || type.Bits == 32 || type.Bits == 64;
  }
  return false;
}

void UnpackUnsigned(const uint8_t* row, int bits, int stride, size_t band, size_t count,
                    uint32_t* out) {
  switch (bits) {
    case 8: {
      const uint8_t* p = row + band;
      for (size_t i = 0; i < count; ++i, p += stride) out[i] = *p;
      return;
    }
    case 16: {
      const uint8_t* p = row + band * 2;
      for (size_t i = 0; i < count; ++i, p += size_t(stride) * 2) out[i] = Load<uint16_t>(p);
      return;
    }
    case 32: {
      const uint8_t* p = row + band * 4;
      for (size_t i = 0; i < count; ++i, p += size_t(stride) * 4) out[i] = Load<uint32_t>(p);
      return;
    }
    default: {
      // 24-bit samples arrive as three bytes in host order as well; all
      // other widths are bit-packed.
      if (bits == 24) {
        const uint8_t* p = row + band * 3;
        for (size_t i = 0; i < count; ++i, p += size_t(stride) * 3)
          out[i] = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
        return;
      }
      uint64_t position = uint64_t(band) * bits;
      const uint64_t step = uint64_t(stride) * bits;
      for (size_t i = 0; i < count; ++i, position += step) out[i] = BitsAt(row, position, bits);
      return;
    }
  }
}

void UnpackValues(const uint8_t* row, TSampleType type, int stride, size_t band, size_t count,
                  double* out) {
  switch (type.Kind) {
    case TSampleKind::Float:
      if (type.Bits == 64) return UnpackTyped<double>(row, stride, band, count, out);
      if (type.Bits == 32) return UnpackTyped<float>(row, stride, band, count, out);
      for (size_t i = 0; i < count; ++i)
        out[i] = HalfToFloat(Load<uint16_t>(row + (i * size_t(stride) + band) * 2));
      return;
    case TSampleKind::Signed:
      switch (type.Bits) {
        case 8:
          return UnpackTyped<int8_t>(row, stride, band, count, out);
        case 16:
          return UnpackTyped<int16_t>(row, stride, band, count, out);
        case 32:
          return UnpackTyped<int32_t>(row, stride, band, count, out);
        case 64:
          return UnpackTyped<int64_t>(row, stride, band, count, out);
      }
      break;
    case TSampleKind::Unsigned:
      switch (type.Bits) {
        case 8:
          return UnpackTyped<uint8_t>(row, stride, band, count, out);
        case 16:
          return UnpackTyped<uint16_t>(row, stride, band, count, out);
        case 32:
          return UnpackTyped<uint32_t>(row, stride, band, count, out);
        case 64:
          return UnpackTyped<uint64_t>(row, stride, band, count, out);
      }
      break;
  }
  // Odd widths go through the bit unpacker a piece at a time; its `band`
  // is the index of the first sample to take.
  constexpr size_t kPiece = 256;
  uint32_t piece[kPiece];
  for (size_t done = 0; done < count; done += kPiece) {
    const size_t n = count - done < kPiece ? count - done : kPiece;
    UnpackUnsigned(row, type.Bits, stride, done * size_t(stride) + band, n, piece);
    for (size_t i = 0; i < n; ++i)
      out[done + i] = type.Kind == TSampleKind::Signed ? double(SignExtend(piece[i], type.Bits))
                                                       : double(piece[i]);
  }
}

std::vector<uint8_t> FullRangeTable(int bits, bool invert) {
  const uint64_t top = (uint64_t(1) << bits) - 1;
  std::vector<uint8_t> table(size_t(top) + 1);
  for (uint64_t v = 0; v <= top; ++v) {
    // top is odd (or 1), so v x 255 / top is never exactly halfway.
    const uint8_t scaled = uint8_t((v * 510 + top) / (2 * top));
    table[size_t(v)] = invert ? uint8_t(255 - scaled) : scaled;
  }
  return table;
}

float HalfToFloat(uint16_t half) {
  const uint32_t sign = uint32_t(half & 0x8000) << 16;
  const uint32_t exponent = (half >> 10) & 0x1F;
  uint32_t mantissa = half & 0x3FF;
  uint32_t bits;
  if (exponent == 0x1F) {
    bits = sign | 0x7F800000u | mantissa << 13;  // infinity or NaN
  } else if (exponent != 0) {
    bits = sign | (exponent + 112) << 23 | mantissa << 13;
  } else if (mantissa == 0) {
    bits = sign;
  } else {
    // Subnormal: normalise the mantissa.
    int shift = 0;
    while ((mantissa & 0x400) == 0) {
      mantissa <<= 1;
      ++shift;
    }
    bits = sign | uint32_t(113 - shift) << 23 | (mantissa & 0x3FF) << 13;
  }
  float value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

}  // namespace quorvane
