#pragma once
// Saving either pane in the format its file name's extension names, with the
// pane's own georeference in the GeoTIFF tags and the TIFF options read at
// the moment of saving. Neither picture changes: the format conversion works
// on a private copy.
#include <optional>
#include <string>

#include "document/document.h"
#include "raster/progress.h"

namespace quorvane {

struct TPaneSaveOptions {
  bool Compress = false;  // "Use Packbits Compression": TIFF rows, LBM bodies
  bool GeoTiff = true;    // "Save GeoTiff Information": the tags in a TIFF
  TProgressEvent Progress;
};

// The warning shown instead of saving an empty destination.
inline constexpr const char* kDestinationIsEmpty = "Destination Is Empty";

struct TSaveResult {
  // Set when nothing was saved: the warning to show.
  std::optional<std::string> Warning;
};

// Hides the selection box, then writes the source picture with the source
// georeference: its clean pixels, with a polyline shown on the Measure page
// (TDocument::OutputPicture). Errors of the writer propagate.
void SaveSource(TDocument& document, const std::string& path, const TPaneSaveOptions& options);

// "Destination Is Empty" before anything else when no resize has produced a
// destination yet (the window asks before running its save dialog);
// otherwise as SaveSource with the destination's picture and georeference.
std::optional<std::string> SaveDestinationWarning(const TDocument& document);
TSaveResult SaveDestination(TDocument& document, const std::string& path,
                            const TPaneSaveOptions& options);

}  // namespace quorvane
