#pragma once
// Separable filtered resampling of a raster bitmap: a horizontal pass resizes
// every row into an intermediate image, a vertical pass every column of that
// into the final image. Works on three 8-bit channels; the bitmap keeps its
// pixel format, palette formats mapping the result to their own palette.
#include "imaging/resample_filters.h"
#include "imaging/resample_kernels.h"
#include "raster/bitmap.h"
#include "raster/progress.h"

namespace quorvane {

struct TResampleOptions {
  int Threads = 0;  // 0: one per hardware thread
  TKernelLevel Kernel = TKernelLevel::Auto;
};

// Resizes `bitmap` in place to new_width x new_height with `filter`.
// Progress, when set, receives whole
// percentages on the calling thread. Throws EQuorvaneError with "Source bitmap
// too small" for an empty bitmap and "Zero Image Size" for a new size below 1;
// the bitmap is unchanged then, and when the horizontal pass fails.
void ResampleBitmap(TRasterBitmap& bitmap, int new_width, int new_height, TResampleFilter filter,
                    const TProgressProc& progress = {}, const TResampleOptions& options = {});
// The same into a new picture, leaving `bitmap` as it is: a caller that
// keeps its source saves the copy of it.
TRasterBitmap ResampledBitmap(const TRasterBitmap& bitmap, int new_width, int new_height,
                              TResampleFilter filter, const TProgressProc& progress = {},
                              const TResampleOptions& options = {});

}  // namespace quorvane
