#pragma once
// Decoding for the stretched conversions. The stretch needs each band's
// range before the first pixel can be written, so the samples are either kept
// in a working copy while the chunks are read once (when the copy fits beside
// the picture under the memory cap), or the chunks are read twice: once for
// the ranges, once to write the pixels.
#include <cstdint>

#include "raster/bitmap.h"
#include "anytiff/any_tiff_chunks.h"
#include "anytiff/any_tiff_plan.h"
#include "anytiff/any_tiff_stretch.h"

namespace quorvane {

struct TStretchedDecode {
  const TAnyTiffPlan* Plan = nullptr;
  TNoData NoData;
  TChunkReadOptions Chunks;
  uint64_t SpareBytes = 0;  // what the cap leaves beside the picture
};

// Reports Starting with one step per row and pass, then Running per row.
void DecodeStretched(TLibTiffHandle& handle, const TAnyTiffLayout& layout,
                     const TStretchedDecode& decode, TRasterBitmap& picture);

}  // namespace quorvane
