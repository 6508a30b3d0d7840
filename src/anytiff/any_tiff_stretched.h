#pragma once
// Decoding for the stretched conversions. The stretch needs each band's
// range (and, for the cut, its histogram) before the first pixel can be
// written, so the samples are either kept in a working copy while the chunks
// are read once (when the copy fits beside the picture under the memory cap),
// or the chunks are read again: once for the ranges, once more for the
// histograms of types not counted exactly, once to write the pixels.
#include <cstdint>
#include <vector>

#include "anytiff/any_tiff_chunks.h"
#include "anytiff/any_tiff_display.h"
#include "anytiff/any_tiff_plan.h"
#include "anytiff/any_tiff_stretch.h"
#include "raster/bitmap.h"

namespace quorvane {

struct TStretchedDecode {
  const TAnyTiffPlan* Plan = nullptr;
  TNoData NoData;
  TChunkReadOptions Chunks;
  uint64_t SpareBytes = 0;  // what the cap leaves beside the picture
};

// Reports Starting with one step per row and pass, then Running per row.
// Returns what each shown band held and how it was stretched.
std::vector<TBandSummary> DecodeStretched(TLibTiffHandle& handle, const TAnyTiffLayout& layout,
                                          const TStretchedDecode& decode, TRasterBitmap& picture);

}  // namespace quorvane
