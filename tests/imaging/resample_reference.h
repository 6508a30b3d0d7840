#pragma once
// A plain, unhurried resampler written straight from the definition of the
// operation: per-axis contributor lists, row strips of about a megabyte for
// the horizontal pass, column strips for the vertical pass, one fused
// multiply-add per contributor and channel. The fast resampler must match it
// bit for bit.
#include "imaging/resample_filters.h"
#include "raster/bitmap.h"
#include "raster/progress.h"

namespace quorvane::test_support {

void ReferenceResample(TRasterBitmap& bitmap, int new_width, int new_height, TResampleFilter filter,
                       const TProgressProc& progress = {});

}  // namespace quorvane::test_support
