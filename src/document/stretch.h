#pragma once
// Stretch: the destination becomes the source resampled to the requested
// size, with the tone base kept beside it and the georeference scaled to
// match. The sizing state is not changed, so stretches in a row give the
// same size.
#include <optional>
#include <string>

#include "document/document.h"
#include "document/resize_driver.h"
#include "imaging/resample.h"
#include "raster/progress.h"

namespace quorvane {

struct TStretchOptions {
  // The window passes SharpnessFilter() of its "Sharpness" choice.
  TResampleFilter Filter = SharpnessFilter(TSharpness::Sharp);
  bool Force24Bit = false;  // "Force To 24-Bit"
  TProgressProc Progress;   // whole percentages, on the calling thread
  TResampleOptions Resample;
};

struct TStretchResult {
  // "Negative Image Size" or "Zero Image Size": nothing else changed.
  std::optional<std::string> Warning;
  // Where the three tone sliders now stand, centred without being applied;
  // their panels keep their previous texts until the next adjustment.
  int ToneSliderPosition = 50;
};

// The warning a stretch of the requested size would give, so the window can
// ask before showing its progress window.
std::optional<std::string> StretchWarning(const TDocument& document);

// Hides the selection box and resizes. When the resampling fails (out of
// memory) the error propagates and the destination, the tone base and the
// destination georeference stay as they were.
TStretchResult Stretch(TDocument& document, const TStretchOptions& options = {});

}  // namespace quorvane
