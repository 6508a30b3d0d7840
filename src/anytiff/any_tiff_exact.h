#pragma once
// The stretched conversions of integers of up to 16 bits: each sample is
// counted as its offset from the type's least value as it arrives, and kept
// as that offset (two bytes a sample) when the copy fits; the picture is then
// painted through one table per band. The nodata value's count is dropped before the stretch
// is worked out, and its table entry is black.
#include <vector>

#include "anytiff/any_tiff_stretched.h"

namespace quorvane {

// Reads once keeping the offsets when they fit the spare bytes, otherwise
// twice: once counting, once painting through the tables.
std::vector<TBandSummary> DecodeExact(TLibTiffHandle& handle, const TAnyTiffLayout& layout,
                                      const TStretchedDecode& decode, TRasterBitmap& picture);

}  // namespace quorvane
