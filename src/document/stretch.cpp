#include "document/stretch.h"

#include <climits>
#include <utility>

#include "imaging/tone.h"
#include "raster/error.h"

namespace quorvane {

namespace {

// The requested size may exceed what a picture can have; the resampler takes
// 32-bit sizes.
void CheckSizeFits(int64_t width, int64_t height) {
  if (width > INT_MAX || height > INT_MAX) {
    // Appended piece by piece: a chain of + trips a false GCC 12 warning.
    std::string message = "Image size too large: ";
    message += std::to_string(width);
    message += " x ";
    message += std::to_string(height);
    throw EQuorvaneError(message);
  }
}

}  // namespace

std::optional<std::string> StretchWarning(const TDocument& document) {
  return ResizeSizeWarning(document.Sizing.NewWidth, document.Sizing.NewHeight);
}

TStretchResult Stretch(TDocument& document, const TStretchOptions& options) {
  document.HideBox();
  TStretchResult result;
  result.Warning = StretchWarning(document);
  if (result.Warning) return result;
  CheckSizeFits(document.Sizing.NewWidth, document.Sizing.NewHeight);
  result.ToneSliderPosition = CentreTrackBarPosition(0, 100);

  const TResizeRequest request{.Width = int(document.Sizing.NewWidth),
                               .Height = int(document.Sizing.NewHeight),
                               .Filter = options.Filter,
                               .Force24Bit = options.Force24Bit,
                               .KeepToneBase = false};
  // From the clean picture: neither the box nor a measuring polyline shown
  // on the source goes into the destination.
  TResizeResult resized =
      ResizeOutputImage(document.Source.CleanCopy(), document.Source.GeoReference(), request,
                        options.Progress, options.Resample);
  // Copied into the tone base the last stretch left, which keeps its memory
  // when the size is the same, and before anything else changes.
  document.ToneBase = resized.Destination;
  document.Destination.Picture = std::move(resized.Destination);
  // The destination's measuring points stay; only its georeference follows.
  document.Destination.GeoReference() = resized.GeoReference;
  document.Destination.Snapshot();
  return result;
}

}  // namespace quorvane
