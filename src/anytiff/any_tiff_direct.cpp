#include "anytiff/any_tiff_direct.h"

#include <algorithm>
#include <cstring>

namespace quorvane {

namespace {

// Red, green, blue (and whatever follows) in; blue, green, red out.
template <int kStride>
void SwapRedBlue(const uint8_t* __restrict in, uint8_t* __restrict out, uint32_t n) {
  for (uint32_t i = 0; i < n; ++i) {
    out[i * 3 + 0] = in[i * kStride + 2];
    out[i * 3 + 1] = in[i * kStride + 1];
    out[i * 3 + 2] = in[i * kStride + 0];
  }
}

}  // namespace

TDirectSink::TDirectSink(const TAnyTiffPlan& plan, TRasterBitmap& picture)
    : plan_(plan), picture_(picture) {
  if (plan.Conversion == TAnyTiffConversion::Grey ||
      plan.Conversion == TAnyTiffConversion::Colour ||
      plan.Conversion == TAnyTiffConversion::Cmyk) {
    const bool invert = plan.Conversion == TAnyTiffConversion::Grey && plan.WhiteIsZero;
    table_ = FullRangeTable(plan.Sample.Bits, invert);
  }
}

void TDirectSink::Chunk(const TChunk& chunk) {
  const uint32_t n = chunk.Width;
  for (uint32_t r = 0; r < chunk.Height; ++r) {
    const uint8_t* in = chunk.Data + r * chunk.RowBytes;
    uint8_t* out = picture_.Scanline(int(chunk.Y + r));
    const int stride = chunk.SamplesPerPixel;
    switch (plan_.Conversion) {
      case TAnyTiffConversion::Bilevel:
        BilevelRow(in, out, chunk.X, n);
        break;
      case TAnyTiffConversion::Indexed:
        IndexedRow(in, stride, out, chunk.X, n);
        break;
      case TAnyTiffConversion::Grey:
        GreyRow(in, stride, out + chunk.X, n);
        break;
      case TAnyTiffConversion::Colour:
        ColourRow(in, stride, out + size_t(chunk.X) * 3, n);
        break;
      case TAnyTiffConversion::Cmyk:
        CmykRow(in, stride, out + size_t(chunk.X) * 3, n);
        break;
      default:
        return;
    }
  }
}

// One sample per pixel, so the row's bits are the picture's bits. A chunk
// starting on a byte is copied whole; bits its last byte carries past the
// chunk are overwritten by the chunk to its right, which comes later.
void TDirectSink::BilevelRow(const uint8_t* in, uint8_t* out, uint32_t x, uint32_t n) const {
  if (x % 8 == 0) {
    std::memcpy(out + x / 8, in, (size_t(n) + 7) / 8);
    return;
  }
  for (uint32_t i = 0; i < n; ++i) {
    const bool set = (in[i / 8] >> (7 - i % 8)) & 1;
    const uint32_t at = x + i;
    const uint8_t mask = uint8_t(0x80 >> (at % 8));
    out[at / 8] = set ? uint8_t(out[at / 8] | mask) : uint8_t(out[at / 8] & ~mask);
  }
}

void TDirectSink::IndexedRow(const uint8_t* in, int stride, uint8_t* out, uint32_t x, uint32_t n) {
  values_.resize(n);
  UnpackUnsigned(in, plan_.Sample.Bits, stride, 0, n, values_.data());
  switch (plan_.Format) {
    case TPixelFormat::Bit8:
      for (uint32_t i = 0; i < n; ++i) out[x + i] = uint8_t(values_[i]);
      break;
    case TPixelFormat::Bit4:
      for (uint32_t i = 0; i < n; ++i) {
        const uint32_t at = x + i;
        uint8_t& byte = out[at / 2];
        byte =
            at % 2 ? uint8_t((byte & 0xF0) | values_[i]) : uint8_t((byte & 0x0F) | values_[i] << 4);
      }
      break;
    default:
      for (uint32_t i = 0; i < n; ++i) {
        const uint32_t at = x + i;
        const uint8_t mask = uint8_t(0x80 >> (at % 8));
        out[at / 8] = values_[i] ? uint8_t(out[at / 8] | mask) : uint8_t(out[at / 8] & ~mask);
      }
      break;
  }
}

const uint32_t* TDirectSink::Band(const uint8_t* in, int stride, int band, uint32_t n) {
  values_.resize(n);
  UnpackUnsigned(in, plan_.Sample.Bits, stride, size_t(band), n, values_.data());
  for (uint32_t i = 0; i < n; ++i) values_[i] = table_[values_[i]];
  return values_.data();
}

void TDirectSink::GreyRow(const uint8_t* in, int stride, uint8_t* out, uint32_t n) {
  const int band = plan_.BandList[0];
  if (plan_.Sample.Bits == 8) {
    for (uint32_t i = 0; i < n; ++i) out[i] = table_[in[size_t(i) * stride + size_t(band)]];
    return;
  }
  const uint32_t* grey = Band(in, stride, band, n);
  for (uint32_t i = 0; i < n; ++i) out[i] = uint8_t(grey[i]);
}

void TDirectSink::ColourRow(const uint8_t* in, int stride, uint8_t* out, uint32_t n) {
  const std::vector<int>& bands = plan_.BandList;
  if (plan_.Sample.Bits == 8 && bands == std::vector<int>{0, 1, 2}) {
    // The common cases get a stride the compiler knows.
    if (stride == 3) return SwapRedBlue<3>(in, out, n);
    if (stride == 4) return SwapRedBlue<4>(in, out, n);
    for (uint32_t i = 0; i < n; ++i, in += stride, out += 3) {
      out[0] = in[2];
      out[1] = in[1];
      out[2] = in[0];
    }
    return;
  }
  for (int band = 0; band < 3; ++band) {
    const uint32_t* v = Band(in, stride, bands[size_t(band)], n);
    for (uint32_t i = 0; i < n; ++i) out[size_t(i) * 3 + size_t(2 - band)] = uint8_t(v[i]);
  }
}

// Ink amounts to light as libtiff's RGBA reader (and so GDAL) converts
// them: what is left of full intensity by the black ink, then by the colour
// ink, truncated.
void TDirectSink::CmykRow(const uint8_t* in, int stride, uint8_t* out, uint32_t n) {
  inks_.resize(size_t(n) * 4);
  uint8_t* inks = inks_.data();
  for (int band = 0; band < 4; ++band) {
    const uint32_t* v = Band(in, stride, band, n);
    for (uint32_t i = 0; i < n; ++i) inks[size_t(i) * 4 + size_t(band)] = uint8_t(v[i]);
  }
  for (uint32_t i = 0; i < n; ++i, inks += 4, out += 3) {
    const int light = 255 - inks[3];
    out[0] = uint8_t(light * (255 - inks[2]) / 255);
    out[1] = uint8_t(light * (255 - inks[1]) / 255);
    out[2] = uint8_t(light * (255 - inks[0]) / 255);
  }
}

}  // namespace quorvane
