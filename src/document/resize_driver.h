#pragma once
// The resize driver without its window: the destination is a copy of the
// source (optionally forced to 24-bit) resampled to the requested size, with
// the tone base kept beside it and the georeference scaled to match.
#include <cstdint>
#include <optional>
#include <string>

#include "geo/geo_reference.h"
#include "imaging/resample.h"
#include "imaging/resample_filters.h"
#include "raster/bitmap.h"
#include "raster/progress.h"

namespace quorvane {

// The filters behind the sharpness choice "Soft", "Medium", "Sharp".
enum class TSharpness : uint8_t { Soft = 0, Medium = 1, Sharp = 2 };
TResampleFilter SharpnessFilter(TSharpness sharpness);

struct TResizeRequest {
  int Width = 0;
  int Height = 0;
  TResampleFilter Filter = TResampleFilter::Lanczos3;
  bool Force24Bit = false;
  // The window keeps a copy of every result as the base of tone adjustments;
  // batch use has no need for it.
  bool KeepToneBase = true;
};

struct TResizeResult {
  TRasterBitmap Destination;
  TRasterBitmap ToneBase;
  TGeoReference GeoReference;
};

// The warning a requested size gets before anything is done: "Negative Image
// Size" for a negative width or height, "Zero Image Size" for a zero one.
std::optional<std::string> ResizeSizeWarning(int64_t width, int64_t height);

// `source` is left as it is. Throws EQuorvaneError with the warning's text
// for a size that has one, and whatever the resampling raises.
TResizeResult ResizeOutputImage(const TRasterBitmap& source, const TGeoReference& source_reference,
                                const TResizeRequest& request, const TProgressProc& progress = {},
                                const TResampleOptions& options = {});

}  // namespace quorvane
