#pragma once
// The inner loops of the resampler. Every output channel is the sequence of
// fused multiply-adds byte * weight + sum over its contributor list, in list
// order, starting from 0, then clamped to 0..255 and rounded to the nearest
// integer, ties to even. The vector versions compute several outputs side by
// side, each with exactly that sequence, so all versions agree bit for bit.
#include <cstddef>
#include <cstdint>
#include <span>

#include "imaging/contributors.h"

namespace quorvane {

enum class TKernelLevel : uint8_t { Auto, Scalar, Avx2, Avx512 };

// The best level the processor supports, no higher than `requested`.
TKernelLevel ResolveKernelLevel(TKernelLevel requested);

// Rows are resampled horizontally in blocks of this many.
constexpr int kRowBlock = 16;

// Scratch bytes ResampleRowBlock needs for a source `src_width` pixels wide.
size_t RowBlockScratchSize(TKernelLevel level, int src_width);

// Resamples rows src[0 .. rows-1] (24-bit, src_width pixels) into dst[0 ..
// rows-1] (24-bit, table.Count() pixels); rows is 1 to kRowBlock.
void ResampleRowBlock(TKernelLevel level, const uint8_t* const* src, uint8_t* const* dst, int rows,
                      int src_width, const TContributorTable& table, uint8_t* scratch);

// One destination row of the vertical pass: byte b of dst accumulates byte b
// of the work rows named by `list`. `bytes` is the row length in bytes.
void ResampleColumnsOfRow(TKernelLevel level, const uint8_t* work, size_t work_row_size,
                          std::span<const TContributor> list, int bytes, uint8_t* dst);

}  // namespace quorvane
