#include "imaging/resample_kernels.h"

// The vector kernels exist only where the build found an x86-64 processor
// (QUORVANE_X86_KERNELS); elsewhere the scalar loops are the whole story.
#if defined(QUORVANE_X86_KERNELS)
// GCC 12 reports the intrinsics' own undefined-vector placeholders as
// possibly uninitialised.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include <immintrin.h>
#endif

#include <algorithm>
#include <cmath>

namespace quorvane {

namespace {

inline uint8_t ClampToByte(float sum) {
  if (sum > 255.0f) return 255;
  if (sum < 0.0f) return 0;
  return uint8_t(std::nearbyint(sum));
}

// ---------------------------------------------------------------------------
// Scalar versions: the definition the vector versions must reproduce.

void RowScalar(const uint8_t* src, uint8_t* dst, const TContributorTable& table) {
  const int count = table.Count();
  for (int x = 0; x < count; ++x) {
    float blue = 0.0f, green = 0.0f, red = 0.0f;
    for (const TContributor& c : table.List(x)) {
      const uint8_t* p = src + size_t(c.Index) * 3;
      blue = std::fmaf(float(p[0]), c.Weight, blue);
      green = std::fmaf(float(p[1]), c.Weight, green);
      red = std::fmaf(float(p[2]), c.Weight, red);
    }
    dst[0] = ClampToByte(blue);
    dst[1] = ClampToByte(green);
    dst[2] = ClampToByte(red);
    dst += 3;
  }
}

void ColumnsScalar(const uint8_t* work, size_t row_size, std::span<const TContributor> list,
                   int begin, int bytes, uint8_t* dst) {
  for (int b = begin; b < bytes; ++b) {
    float sum = 0.0f;
    for (const TContributor& c : list) {
      sum = std::fmaf(float(work[size_t(c.Index) * row_size + size_t(b)]), c.Weight, sum);
    }
    dst[b] = ClampToByte(sum);
  }
}

// Output pixels are produced 16 at a time (48 transposed bytes) and then
// turned back into rows.
constexpr int kPixelGroup = 16;
constexpr int kGroupBytes = kPixelGroup * 3 * kRowBlock;

#if defined(QUORVANE_X86_KERNELS)
// ---------------------------------------------------------------------------
// Row blocks are transposed so that the same byte of 16 rows lies in 16
// consecutive bytes: one vector then carries one channel of 16 rows, all of
// which share the contributor list of the output column.

// m[r] byte j becomes out[j] byte r.
inline void Transpose16x16(const __m128i* m, __m128i* out) {
  __m128i t[16];
  for (int i = 0; i < 8; ++i) {
    t[2 * i] = _mm_unpacklo_epi8(m[2 * i], m[2 * i + 1]);
    t[2 * i + 1] = _mm_unpackhi_epi8(m[2 * i], m[2 * i + 1]);
  }
  __m128i s[4][4];
  for (int q = 0; q < 4; ++q) {
    for (int h = 0; h < 2; ++h) {
      s[q][2 * h] = _mm_unpacklo_epi16(t[4 * q + h], t[4 * q + 2 + h]);
      s[q][2 * h + 1] = _mm_unpackhi_epi16(t[4 * q + h], t[4 * q + 2 + h]);
    }
  }
  __m128i o[2][8];
  for (int half = 0; half < 2; ++half) {
    for (int g = 0; g < 4; ++g) {
      o[half][2 * g] = _mm_unpacklo_epi32(s[2 * half][g], s[2 * half + 1][g]);
      o[half][2 * g + 1] = _mm_unpackhi_epi32(s[2 * half][g], s[2 * half + 1][g]);
    }
  }
  for (int p = 0; p < 8; ++p) {
    out[2 * p] = _mm_unpacklo_epi64(o[0][p], o[1][p]);
    out[2 * p + 1] = _mm_unpackhi_epi64(o[0][p], o[1][p]);
  }
}

// Source rows into the transposed block: block[j * 16 + r] = src[r][j].
// Missing rows repeat the last one; their results are never stored.
void TransposeIn(const uint8_t* const* src, int rows, int bytes, uint8_t* block) {
  const uint8_t* row[kRowBlock];
  for (int r = 0; r < kRowBlock; ++r) row[r] = src[std::min(r, rows - 1)];
  int j = 0;
  for (; j + 16 <= bytes; j += 16) {
    __m128i m[16], out[16];
    for (int r = 0; r < 16; ++r)
      m[r] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row[r] + j));
    Transpose16x16(m, out);
    for (int k = 0; k < 16; ++k)
      _mm_store_si128(reinterpret_cast<__m128i*>(block + size_t(j + k) * 16), out[k]);
  }
  for (; j < bytes; ++j) {
    for (int r = 0; r < 16; ++r) block[size_t(j) * 16 + r] = row[r][j];
  }
}

// The reverse for `columns` transposed output bytes starting at byte `offset`
// of each destination row.
void TransposeOut(const uint8_t* block, int columns, uint8_t* const* dst, int rows, int offset) {
  int j = 0;
  for (; j + 16 <= columns; j += 16) {
    __m128i m[16], out[16];
    for (int k = 0; k < 16; ++k)
      m[k] = _mm_load_si128(reinterpret_cast<const __m128i*>(block + size_t(j + k) * 16));
    Transpose16x16(m, out);
    for (int r = 0; r < rows; ++r)
      _mm_storeu_si128(reinterpret_cast<__m128i*>(dst[r] + offset + j), out[r]);
  }
  for (; j < columns; ++j) {
    for (int r = 0; r < rows; ++r) dst[r][offset + j] = block[size_t(j) * 16 + r];
  }
}

// ---------------------------------------------------------------------------
// AVX2 + FMA

__attribute__((target("avx2,fma"))) inline __m128i PackAvx2(__m256 low, __m256 high) {
  const __m256 zero = _mm256_setzero_ps(), top = _mm256_set1_ps(255.0f);
  // Clamped first, so the conversion (current rounding mode, ties to even by
  // default) sees only 0 .. 255.
  const __m256i a = _mm256_cvtps_epi32(_mm256_min_ps(_mm256_max_ps(low, zero), top));
  const __m256i b = _mm256_cvtps_epi32(_mm256_min_ps(_mm256_max_ps(high, zero), top));
  const __m256i words = _mm256_permute4x64_epi64(_mm256_packus_epi32(a, b), 0xD8);
  return _mm_packus_epi16(_mm256_castsi256_si128(words), _mm256_extracti128_si256(words, 1));
}

__attribute__((target("avx2,fma"))) inline __m256 Load8Avx2(const uint8_t* p) {
  return _mm256_cvtepi32_ps(
      _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p))));
}

__attribute__((target("avx2,fma"))) void RowBlockAvx2(const uint8_t* block, uint8_t* const* dst,
                                                      int rows, const TContributorTable& table,
                                                      uint8_t* group) {
  const int count = table.Count();
  const int64_t* first = table.First().data();
  const TContributor* items = table.Items().data();
  for (int x0 = 0; x0 < count; x0 += kPixelGroup) {
    const int n = std::min(kPixelGroup, count - x0);
    for (int i = 0; i < n; ++i) {
      const int x = x0 + i;
      __m256 b0 = _mm256_setzero_ps(), b1 = b0, g0 = b0, g1 = b0, r0 = b0, r1 = b0;
      for (int64_t k = first[x]; k < first[x + 1]; ++k) {
        const uint8_t* p = block + size_t(items[k].Index) * 48;
        const __m256 w = _mm256_set1_ps(items[k].Weight);
        b0 = _mm256_fmadd_ps(Load8Avx2(p), w, b0);
        b1 = _mm256_fmadd_ps(Load8Avx2(p + 8), w, b1);
        g0 = _mm256_fmadd_ps(Load8Avx2(p + 16), w, g0);
        g1 = _mm256_fmadd_ps(Load8Avx2(p + 24), w, g1);
        r0 = _mm256_fmadd_ps(Load8Avx2(p + 32), w, r0);
        r1 = _mm256_fmadd_ps(Load8Avx2(p + 40), w, r1);
      }
      __m128i* out = reinterpret_cast<__m128i*>(group + size_t(i) * 48);
      _mm_store_si128(out, PackAvx2(b0, b1));
      _mm_store_si128(out + 1, PackAvx2(g0, g1));
      _mm_store_si128(out + 2, PackAvx2(r0, r1));
    }
    TransposeOut(group, n * 3, dst, rows, x0 * 3);
  }
}

__attribute__((target("avx2,fma"))) inline float FmaScalar(float a, float b, float c) {
  return _mm_cvtss_f32(_mm_fmadd_ss(_mm_set_ss(a), _mm_set_ss(b), _mm_set_ss(c)));
}

__attribute__((target("avx2,fma"))) void ColumnsAvx2(const uint8_t* work, size_t row_size,
                                                     std::span<const TContributor> list, int bytes,
                                                     uint8_t* dst) {
  const TContributor* items = list.data();
  const size_t n = list.size();
  int b = 0;
  for (; b + 32 <= bytes; b += 32) {
    __m256 a0 = _mm256_setzero_ps(), a1 = a0, a2 = a0, a3 = a0;
    for (size_t k = 0; k < n; ++k) {
      const uint8_t* p = work + size_t(items[k].Index) * row_size + size_t(b);
      const __m256 w = _mm256_set1_ps(items[k].Weight);
      a0 = _mm256_fmadd_ps(Load8Avx2(p), w, a0);
      a1 = _mm256_fmadd_ps(Load8Avx2(p + 8), w, a1);
      a2 = _mm256_fmadd_ps(Load8Avx2(p + 16), w, a2);
      a3 = _mm256_fmadd_ps(Load8Avx2(p + 24), w, a3);
    }
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + b), PackAvx2(a0, a1));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + b + 16), PackAvx2(a2, a3));
  }
  for (; b + 8 <= bytes; b += 8) {
    __m256 a = _mm256_setzero_ps();
    for (size_t k = 0; k < n; ++k) {
      const uint8_t* p = work + size_t(items[k].Index) * row_size + size_t(b);
      a = _mm256_fmadd_ps(Load8Avx2(p), _mm256_set1_ps(items[k].Weight), a);
    }
    _mm_storel_epi64(reinterpret_cast<__m128i*>(dst + b), PackAvx2(a, a));
  }
  for (; b < bytes; ++b) {
    float sum = 0.0f;
    for (size_t k = 0; k < n; ++k) {
      sum = FmaScalar(float(work[size_t(items[k].Index) * row_size + size_t(b)]), items[k].Weight,
                      sum);
    }
    dst[b] = ClampToByte(sum);
  }
}

// ---------------------------------------------------------------------------
// AVX-512

#define QUORVANE_AVX512 __attribute__((target("avx512f,avx512bw,avx512vl,avx2,fma")))

QUORVANE_AVX512 inline __m128i Pack512(__m512 sum) {
  const __m512 clamped =
      _mm512_min_ps(_mm512_max_ps(sum, _mm512_setzero_ps()), _mm512_set1_ps(255.0f));
  return _mm512_cvtepi32_epi8(_mm512_cvtps_epi32(clamped));
}

QUORVANE_AVX512 inline __m512 Load16(const uint8_t* p) {
  return _mm512_cvtepi32_ps(
      _mm512_cvtepu8_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p))));
}

QUORVANE_AVX512 void RowBlockAvx512(const uint8_t* block, uint8_t* const* dst, int rows,
                                    const TContributorTable& table, uint8_t* group) {
  const int count = table.Count();
  const int64_t* first = table.First().data();
  const TContributor* items = table.Items().data();
  for (int x0 = 0; x0 < count; x0 += kPixelGroup) {
    const int n = std::min(kPixelGroup, count - x0);
    for (int i = 0; i < n; ++i) {
      const int x = x0 + i;
      __m512 blue = _mm512_setzero_ps(), green = blue, red = blue;
      for (int64_t k = first[x]; k < first[x + 1]; ++k) {
        const uint8_t* p = block + size_t(items[k].Index) * 48;
        const __m512 w = _mm512_set1_ps(items[k].Weight);
        blue = _mm512_fmadd_ps(Load16(p), w, blue);
        green = _mm512_fmadd_ps(Load16(p + 16), w, green);
        red = _mm512_fmadd_ps(Load16(p + 32), w, red);
      }
      __m128i* out = reinterpret_cast<__m128i*>(group + size_t(i) * 48);
      _mm_store_si128(out, Pack512(blue));
      _mm_store_si128(out + 1, Pack512(green));
      _mm_store_si128(out + 2, Pack512(red));
    }
    TransposeOut(group, n * 3, dst, rows, x0 * 3);
  }
}

QUORVANE_AVX512 void ColumnsAvx512(const uint8_t* work, size_t row_size,
                                   std::span<const TContributor> list, int bytes, uint8_t* dst) {
  const TContributor* items = list.data();
  const size_t n = list.size();
  int b = 0;
  for (; b + 64 <= bytes; b += 64) {
    __m512 a0 = _mm512_setzero_ps(), a1 = a0, a2 = a0, a3 = a0;
    for (size_t k = 0; k < n; ++k) {
      const uint8_t* p = work + size_t(items[k].Index) * row_size + size_t(b);
      const __m512 w = _mm512_set1_ps(items[k].Weight);
      a0 = _mm512_fmadd_ps(Load16(p), w, a0);
      a1 = _mm512_fmadd_ps(Load16(p + 16), w, a1);
      a2 = _mm512_fmadd_ps(Load16(p + 32), w, a2);
      a3 = _mm512_fmadd_ps(Load16(p + 48), w, a3);
    }
    __m128i* out = reinterpret_cast<__m128i*>(dst + b);
    _mm_storeu_si128(out, Pack512(a0));
    _mm_storeu_si128(out + 1, Pack512(a1));
    _mm_storeu_si128(out + 2, Pack512(a2));
    _mm_storeu_si128(out + 3, Pack512(a3));
  }
  for (; b < bytes; b += 16) {
    const int m = std::min(16, bytes - b);
    const __mmask16 mask = __mmask16((1u << m) - 1u);
    __m512 a = _mm512_setzero_ps();
    for (size_t k = 0; k < n; ++k) {
      const uint8_t* p = work + size_t(items[k].Index) * row_size + size_t(b);
      const __m512 v = _mm512_cvtepi32_ps(_mm512_cvtepu8_epi32(_mm_maskz_loadu_epi8(mask, p)));
      a = _mm512_fmadd_ps(v, _mm512_set1_ps(items[k].Weight), a);
    }
    _mm_mask_storeu_epi8(dst + b, mask, Pack512(a));
  }
}

#endif  // QUORVANE_X86_KERNELS

bool Supports(TKernelLevel level) {
#if !defined(QUORVANE_X86_KERNELS)
  return level == TKernelLevel::Scalar || level == TKernelLevel::Auto;
#else
  __builtin_cpu_init();
  switch (level) {
    case TKernelLevel::Avx512:
      return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
             __builtin_cpu_supports("avx512vl") && __builtin_cpu_supports("avx2") &&
             __builtin_cpu_supports("fma");
    case TKernelLevel::Avx2:
      return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
    default:
      return true;
  }
#endif
}

}  // namespace

TKernelLevel ResolveKernelLevel(TKernelLevel requested) {
  static const bool avx512 = Supports(TKernelLevel::Avx512);
  static const bool avx2 = Supports(TKernelLevel::Avx2);
  if ((requested == TKernelLevel::Auto || requested == TKernelLevel::Avx512) && avx512)
    return TKernelLevel::Avx512;
  if (requested != TKernelLevel::Scalar && avx2) return TKernelLevel::Avx2;
  return TKernelLevel::Scalar;
}

size_t RowBlockScratchSize(TKernelLevel level, int src_width) {
  if (level == TKernelLevel::Scalar) return 0;
  return size_t(src_width) * 3 * kRowBlock + kGroupBytes + 64;
}

void ResampleRowBlock(TKernelLevel level, const uint8_t* const* src, uint8_t* const* dst, int rows,
                      int src_width, const TContributorTable& table, uint8_t* scratch) {
#if defined(QUORVANE_X86_KERNELS)
  if (level == TKernelLevel::Scalar) {
#else
  (void)src_width, (void)scratch;
  {
#endif
    for (int r = 0; r < rows; ++r) RowScalar(src[r], dst[r], table);
    return;
  }
#if defined(QUORVANE_X86_KERNELS)
  // Both buffers 64-byte aligned for the aligned stores.
  uint8_t* group =
      reinterpret_cast<uint8_t*>((reinterpret_cast<uintptr_t>(scratch) + 63) & ~uintptr_t(63));
  uint8_t* block = group + kGroupBytes;
  TransposeIn(src, rows, src_width * 3, block);
  if (level == TKernelLevel::Avx512) {
    RowBlockAvx512(block, dst, rows, table, group);
  } else {
    RowBlockAvx2(block, dst, rows, table, group);
  }
#endif
}

void ResampleColumnsOfRow(TKernelLevel level, const uint8_t* work, size_t work_row_size,
                          std::span<const TContributor> list, int bytes, uint8_t* dst) {
  switch (level) {
#if defined(QUORVANE_X86_KERNELS)
    case TKernelLevel::Avx512:
      ColumnsAvx512(work, work_row_size, list, bytes, dst);
      break;
    case TKernelLevel::Avx2:
      ColumnsAvx2(work, work_row_size, list, bytes, dst);
      break;
#endif
    default:
      ColumnsScalar(work, work_row_size, list, 0, bytes, dst);
      break;
  }
}

}  // namespace quorvane
