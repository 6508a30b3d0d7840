#include "tiff/tiff_rows.h"

#include <algorithm>
#include <cstring>

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

// Plain loops over whole pixels so the compiler can vectorise them; the
// restrict-qualified copies serve the out-of-place case, the others in place.
void SwapRedBlue24(uint8_t* __restrict out, const uint8_t* __restrict in, size_t pixels) {
  for (size_t i = 0; i < pixels; ++i) {
    const uint8_t r = in[3 * i], g = in[3 * i + 1], b = in[3 * i + 2];
    out[3 * i] = b;
    out[3 * i + 1] = g;
    out[3 * i + 2] = r;
  }
}

void SwapRedBlue24InPlace(uint8_t* row, size_t pixels) {
  for (size_t i = 0; i < pixels; ++i) std::swap(row[3 * i], row[3 * i + 2]);
}

void SwapRedBlue32(uint8_t* __restrict out, const uint8_t* __restrict in, size_t pixels) {
  for (size_t i = 0; i < pixels; ++i) {
    const uint8_t r = in[4 * i], g = in[4 * i + 1], b = in[4 * i + 2], a = in[4 * i + 3];
    out[4 * i] = b;
    out[4 * i + 1] = g;
    out[4 * i + 2] = r;
    out[4 * i + 3] = a;
  }
}

void SwapRedBlue32InPlace(uint8_t* row, size_t pixels) {
  for (size_t i = 0; i < pixels; ++i) std::swap(row[4 * i], row[4 * i + 2]);
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
      if (in_place) {
        SwapRedBlue24InPlace(row, n / 3);
      } else {
        SwapRedBlue24(row, source, n / 3);
        std::memcpy(row + n / 3 * 3, source + n / 3 * 3, n % 3);
      }
      return;
    case 32:
      if (format.Photometric == 5) {
        CmykToBgr(row, source, n / 4);
      } else if (in_place) {
        SwapRedBlue32InPlace(row, n / 4);
        return;
      } else {
        SwapRedBlue32(row, source, n / 4);
      }
      if (!in_place) std::memcpy(row + n / 4 * 4, source + n / 4 * 4, n % 4);
      return;
    default:
      break;
  }
  if (!in_place) std::memcpy(row, source, n);
}

}  // namespace quorvane
