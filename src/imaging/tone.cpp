#include "imaging/tone.h"

#include "raster/number_text.h"

#if defined(QUORVANE_X86_KERNELS)
#include <immintrin.h>
#endif

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace quorvane {

double TonePower(double x, double y) {
  if (y == 0.0) return 1.0;
  if (x == 0.0) return 0.0;
  if (y == std::trunc(y) && std::fabs(y) <= 2147483647.0) {
    // Square and multiply, so that x^1 is x and 10^-1 is 1/10 exactly.
    const bool negative = y < 0.0;
    auto exponent = static_cast<unsigned long long>(std::fabs(y));
    double result = 1.0, base = x;
    while (exponent != 0) {
      if (exponent & 1) result *= base;
      base *= base;
      exponent >>= 1;
    }
    return negative ? 1.0 / result : result;
  }
  return std::exp(y * std::log(x));
}

std::array<uint8_t, 256> BuildToneTable(const TToneValues& values) {
  const double brightness = TonePower(10.0, (values.Brightness - 0.5) * 2.0);
  const double contrast = TonePower(10.0, (values.Contrast - 0.5) * 2.0);
  const double gamma = 1.0 / TonePower(10.0, (values.Gamma - 0.5) * 2.0);
  const double normaliser = 256.0 / TonePower(256.0, gamma);
  std::array<uint8_t, 256> table{};
  for (int i = 0; i < 256; ++i) {
    double v = i == 0 ? 0.0 : TonePower(double(i), gamma) * normaliser;
    v = (v - 128.0) * contrast + 128.0;
    v = v * brightness;
    // NaN (from extreme factors) counts as 0 rather than reaching the cast.
    if (!(v > 0.0)) v = 0.0;
    if (v > 255.0) v = 255.0;
    table[size_t(i)] = uint8_t(v);
  }
  return table;
}

namespace {

void MapScalar(const uint8_t* src, uint8_t* dst, size_t count, const uint8_t* table) {
  for (size_t i = 0; i < count; ++i) dst[i] = table[src[i]];
}

#if defined(QUORVANE_X86_KERNELS)
// 64 look-ups at once: two 128-entry halves, the top bit of each byte picks.
__attribute__((target("avx512f,avx512bw,avx512vbmi"))) void MapVbmi(const uint8_t* src,
                                                                    uint8_t* dst, size_t count,
                                                                    const uint8_t* table) {
  const __m512i t0 = _mm512_loadu_si512(table), t1 = _mm512_loadu_si512(table + 64);
  const __m512i t2 = _mm512_loadu_si512(table + 128), t3 = _mm512_loadu_si512(table + 192);
  size_t i = 0;
  for (; i + 64 <= count; i += 64) {
    const __m512i index = _mm512_loadu_si512(src + i);
    const __m512i low = _mm512_permutex2var_epi8(t0, index, t1);
    const __m512i high = _mm512_permutex2var_epi8(t2, index, t3);
    _mm512_storeu_si512(dst + i, _mm512_mask_blend_epi8(_mm512_movepi8_mask(index), low, high));
  }
  MapScalar(src + i, dst + i, count - i, table);
}

bool HasVbmi() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
         __builtin_cpu_supports("avx512vbmi");
}
#endif

}  // namespace

void AdjustToneBitmap(TRasterBitmap& source, TRasterBitmap& destination,
                      const TToneValues& values) {
  source.SetPixelFormat(TPixelFormat::Bit24);
  if (destination.PixelFormat() != TPixelFormat::Bit24 || destination.Width() != source.Width() ||
      destination.Height() != source.Height()) {
    destination.Reset(TPixelFormat::Bit24, source.Width(), source.Height());
  }
  destination.SetPelsPerMeter(source.XPelsPerMeter(), source.YPelsPerMeter());
  const auto table = BuildToneTable(values);
  // Same width and format, so same stride: the rows are one run of bytes
  // (padding included, which carries no meaning).
  const size_t count = source.Stride() * size_t(source.Height());
  if (count == 0) return;
#if defined(QUORVANE_X86_KERNELS)
  static const bool vbmi = HasVbmi();
  if (vbmi) {
    MapVbmi(source.Bits(), destination.Bits(), count, table.data());
    return;
  }
#endif
  MapScalar(source.Bits(), destination.Bits(), count, table.data());
}

TToneValues ReadToneSliders(int brightness_position, int contrast_position, int gamma_position) {
  return {brightness_position / 100.0, contrast_position / 100.0, gamma_position / 100.0};
}

TToneTexts ToneTexts(const TToneValues& values, char decimal_separator) {
  const TNumberFormat format{.DecimalSeparator = std::string(1, decimal_separator)};
  return {FormatGeneral(values.Brightness, format), FormatGeneral(values.Contrast, format),
          FormatFixedPrecision(values.Gamma, 18, 1, format)};
}

}  // namespace quorvane
