#include "tiff/tiff_rows.h"

#include <algorithm>
#include <cstring>

#if defined(QUORVANE_X86_KERNELS)
#include <immintrin.h>
#endif

namespace quorvane {

namespace {

// Each byte gets the matching byte of the pixel to its left added, modulo
// 256. The running sums stay in registers rather than being read back from
// the row, and the red/blue exchange of RGB rows happens on the way out.
// Bytes of a trailing partial pixel are summed but not exchanged, like every
// partial pixel. `out` may equal `in`: each pixel is read before it is
// written.
template <size_t kBytes, bool kSwapRedBlue>
void UndoHorizontalPredictor(uint8_t* out, const uint8_t* in, size_t n) {
  uint8_t sum[kBytes] = {};
  const size_t pixels = n / kBytes;
  for (size_t p = 0; p < pixels; ++p) {
    for (size_t k = 0; k < kBytes; ++k) sum[k] = uint8_t(sum[k] + in[p * kBytes + k]);
    if constexpr (kSwapRedBlue) {
      out[p * kBytes] = sum[2];
      out[p * kBytes + 1] = sum[1];
      out[p * kBytes + 2] = sum[0];
      if constexpr (kBytes == 4) out[p * kBytes + 3] = sum[3];
    } else {
      for (size_t k = 0; k < kBytes; ++k) out[p * kBytes + k] = sum[k];
    }
  }
  for (size_t i = pixels * kBytes; i < n; ++i) out[i] = uint8_t(in[i] + sum[i - pixels * kBytes]);
}

// Plain loops over whole pixels; the restrict-qualified copies serve the
// out-of-place case, the others in place.
void SwapRedBlue24Scalar(uint8_t* out, const uint8_t* in, size_t pixels) {
  for (size_t i = 0; i < pixels; ++i) {
    const uint8_t r = in[3 * i], g = in[3 * i + 1], b = in[3 * i + 2];
    out[3 * i] = b;
    out[3 * i + 1] = g;
    out[3 * i + 2] = r;
  }
}

void SwapRedBlue32Scalar(uint8_t* out, const uint8_t* in, size_t pixels) {
  for (size_t i = 0; i < pixels; ++i) {
    const uint8_t r = in[4 * i], g = in[4 * i + 1], b = in[4 * i + 2], a = in[4 * i + 3];
    out[4 * i] = b;
    out[4 * i + 1] = g;
    out[4 * i + 2] = r;
    out[4 * i + 3] = a;
  }
}

#if defined(QUORVANE_X86_KERNELS)
// The baseline instruction set has no byte shuffle, and without one the
// compiler cannot vectorise a three-byte pixel swap; SSSE3 does it sixteen
// bytes at a time. Each step reads and writes sixteen bytes but advances by
// whole pixels only, so it works in place too: the byte past the pixels is
// written back unchanged. The last pixels go through the scalar loop.
__attribute__((target("ssse3"))) void SwapRedBlue24Ssse3(uint8_t* out, const uint8_t* in,
                                                         size_t pixels) {
  const __m128i order = _mm_setr_epi8(2, 1, 0, 5, 4, 3, 8, 7, 6, 11, 10, 9, 14, 13, 12, 15);
  const size_t bytes = pixels * 3;
  size_t at = 0;
  for (; at + 16 <= bytes; at += 15) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + at));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + at), _mm_shuffle_epi8(v, order));
  }
  SwapRedBlue24Scalar(out + at, in + at, (bytes - at) / 3);
}

__attribute__((target("ssse3"))) void SwapRedBlue32Ssse3(uint8_t* out, const uint8_t* in,
                                                         size_t pixels) {
  const __m128i order = _mm_setr_epi8(2, 1, 0, 3, 6, 5, 4, 7, 10, 9, 8, 11, 14, 13, 12, 15);
  size_t i = 0;
  for (; i + 4 <= pixels; i += 4) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + 4 * i));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4 * i), _mm_shuffle_epi8(v, order));
  }
  SwapRedBlue32Scalar(out + 4 * i, in + 4 * i, pixels - i);
}

bool HasSsse3() {
  static const bool has = __builtin_cpu_supports("ssse3");
  return has;
}
#endif

void SwapRedBlue32(uint8_t* out, const uint8_t* in, size_t pixels) {
#if defined(QUORVANE_X86_KERNELS)
  if (HasSsse3()) return SwapRedBlue32Ssse3(out, in, pixels);
#endif
  SwapRedBlue32Scalar(out, in, pixels);
}

// C, M, Y, K becomes blue 255 - min(255, Y + K), green from M, red from C;
// the fourth byte keeps K.
void CmykToBgr(uint8_t* row, const uint8_t* in, size_t pixels) {
  for (size_t i = 0; i < pixels; ++i) {
    const int c = in[4 * i], m = in[4 * i + 1], y = in[4 * i + 2], k = in[4 * i + 3];
    row[4 * i] = uint8_t(255 - std::min(255, y + k));
    row[4 * i + 1] = uint8_t(255 - std::min(255, m + k));
    row[4 * i + 2] = uint8_t(255 - std::min(255, c + k));
    row[4 * i + 3] = uint8_t(k);
  }
}

void Invert8(uint8_t* row, const uint8_t* in, size_t n) {
  for (size_t i = 0; i < n; ++i) row[i] = uint8_t(255 - in[i]);
}

// A grey sample's top five bits become the three channels of a 15-bit pixel.
void Grey16To15(uint8_t* row, const uint8_t* in, size_t samples, bool big_endian) {
  for (size_t i = 0; i < samples; ++i) {
    const unsigned v = big_endian ? (unsigned(in[2 * i]) << 8 | in[2 * i + 1])
                                  : (unsigned(in[2 * i + 1]) << 8 | in[2 * i]);
    const unsigned g = v >> 11;
    const unsigned word = g + 32 * g + 1024 * g;
    row[2 * i] = uint8_t(word);
    row[2 * i + 1] = uint8_t(word >> 8);
  }
}

}  // namespace

void SwapRedBlue24(uint8_t* out, const uint8_t* in, size_t pixels) {
#if defined(QUORVANE_X86_KERNELS)
  if (HasSsse3()) return SwapRedBlue24Ssse3(out, in, pixels);
#endif
  SwapRedBlue24Scalar(out, in, pixels);
}

void StoreTiffRow(const TTiffRowFormat& format, uint8_t* row, const uint8_t* source, size_t n) {
  const uint32_t bits = format.BitsPerPixel;
  if (format.HorizontalPredictor) {
    switch (bits) {
      case 8:
        UndoHorizontalPredictor<1, false>(row, source, n);
        if (format.Photometric == 0) Invert8(row, row, n);
        return;
      case 24:
        UndoHorizontalPredictor<3, true>(row, source, n);
        return;
      case 32:
        if (format.Photometric == 5) {
          UndoHorizontalPredictor<4, false>(row, source, n);
          CmykToBgr(row, row, n / 4);
        } else {
          UndoHorizontalPredictor<4, true>(row, source, n);
        }
        return;
      default:
        break;  // other depths keep their data as it is
    }
  }
  const bool in_place = source == row;
  switch (bits) {
    case 8:
      if (format.Photometric == 0) {
        Invert8(row, source, n);
        return;
      }
      break;
    case 16:
      Grey16To15(row, source, n / 2, format.BigEndian);
      if (n % 2 != 0 && !in_place) row[n - 1] = source[n - 1];
      return;
    case 24:
      SwapRedBlue24(row, source, n / 3);
      if (!in_place) std::memcpy(row + n / 3 * 3, source + n / 3 * 3, n % 3);
      return;
    case 32:
      if (format.Photometric == 5)
        CmykToBgr(row, source, n / 4);
      else
        SwapRedBlue32(row, source, n / 4);
      if (!in_place) std::memcpy(row + n / 4 * 4, source + n / 4 * 4, n % 4);
      return;
    default:
      break;
  }
  if (!in_place) std::memcpy(row, source, n);
}

}  // namespace quorvane
