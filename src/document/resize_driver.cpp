#include "document/resize_driver.h"

#include <utility>

#include "imaging/resample_filters.h"
#include "raster/error.h"

namespace quorvane {

TResampleFilter SharpnessFilter(TSharpness sharpness) {
  switch (sharpness) {
    case TSharpness::Soft:
      return TResampleFilter::BSpline;
    case TSharpness::Medium:
      return TResampleFilter::Mitchell;
    case TSharpness::Sharp:
      return TResampleFilter::Lanczos3;
  }
  return TResampleFilter::Lanczos3;
}

std::optional<std::string> ResizeSizeWarning(int64_t width, int64_t height) {
  if (width < 0 || height < 0) return "Negative Image Size";
  if (width == 0 || height == 0) return "Zero Image Size";
  return std::nullopt;
}

TResizeResult ResizeOutputImage(const TRasterBitmap& source, const TGeoReference& source_reference,
                                const TResizeRequest& request, const TProgressProc& progress,
                                const TResampleOptions& options) {
  if (auto warning = ResizeSizeWarning(request.Width, request.Height)) {
    throw EQuorvaneError(*warning);
  }
  // The resampler reads the source and writes a new picture, so the source
  // is copied only when it has to be converted first.
  TRasterBitmap converted;
  const bool convert = request.Force24Bit && source.PixelFormat() != TPixelFormat::Bit24;
  if (convert) {
    converted = source;
    converted.SetPixelFormat(TPixelFormat::Bit24);
  }
  TResizeResult result;
  result.Destination = ResampledBitmap(convert ? converted : source, request.Width, request.Height,
                                       request.Filter, progress, options);
  if (request.KeepToneBase) result.ToneBase = result.Destination;
  result.GeoReference = ScaleGeoReference(source_reference, source.Width(), source.Height(),
                                          result.Destination.Width(), result.Destination.Height());
  return result;
}

}  // namespace quorvane
