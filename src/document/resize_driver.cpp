#include "document/resize_driver.h"

#include <utility>

#include "imaging/resample_filters.h"
#include "raster/error.h"

namespace quorvane {

int SharpnessFilter(TSharpness sharpness) {
  switch (sharpness) {
    case TSharpness::Soft:
      return kFilterBSpline;
    case TSharpness::Medium:
      return kFilterMitchell;
    case TSharpness::Sharp:
      return kFilterLanczos3;
  }
  return kFilterLanczos3;
}

std::optional<std::string> ResizeSizeWarning(int64_t width, int64_t height) {
  if (width < 0 || height < 0) return "Negative Image Size";
  if (width == 0 || height == 0) return "Zero Image Size";
  return std::nullopt;
}

TResizeResult ResizeOutputImage(TRasterBitmap source, const TGeoReference& source_reference,
                                const TResizeRequest& request, const TProgressProc& progress,
                                const TResampleOptions& options) {
  if (auto warning = ResizeSizeWarning(request.Width, request.Height)) {
    throw EQuorvaneError(*warning);
  }
  const int source_width = source.Width();
  const int source_height = source.Height();
  TResizeResult result;
  result.Destination = std::move(source);
  if (request.Force24Bit) result.Destination.SetPixelFormat(TPixelFormat::Bit24);
  ResampleBitmap(result.Destination, request.Width, request.Height, request.FilterIndex, progress,
                 options);
  if (request.KeepToneBase) result.ToneBase = result.Destination;
  result.GeoReference = ScaleGeoReference(source_reference, source_width, source_height,
                                          result.Destination.Width(), result.Destination.Height());
  return result;
}

}  // namespace quorvane
