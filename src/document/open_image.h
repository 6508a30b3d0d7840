#pragma once
// Opening a picture file into the source pane as the window does, and the
// same reading for reports that need no pixels.
#include <functional>
#include <string>
#include <vector>

#include "document/document.h"
#include "geo/geo_reference.h"
#include "io/format_registry.h"
#include "raster/geotiff_tags.h"

namespace quorvane {

struct TOpenOptions {
  // Make the file's folder the current one, so the save dialog starts there.
  // Batch callers whose other paths are relative to where they started turn
  // it off.
  bool ChangeFolder = true;
  // Adds the path to the recent-files list and saves the list; called
  // before the load, so a file that fails to load stays in the list.
  std::function<void(const std::string& path)> AddRecentFile;
  // Its Display is the document's, the choice of the session.
  TLoadOptions Load;
};

// The steps of the window's open, in order: the folder change (a failure
// ends the open there), the recent-files list, a reset source georeference,
// the selection box hidden, the tags cleared, the load (on failure the
// previous picture stays and the error propagates, the earlier steps stay
// done), the caption, SourceChanged, the report and the georeference derived
// from the tags. The file is reached through its absolute path, so a
// relative path still names the same file after the folder change.
TSourceTexts OpenImageFile(TDocument& document, const std::string& path,
                           const TOpenOptions& options = {});

// What an open would show of a file without decoding its pixels: size and
// pixel format from the header, the tags, their report and the georeference
// derived from them for a pane that was never set.
struct TImageInfo {
  TPictureHeader Header;
  TGeoTiffTags Tags;
  TGeoReference GeoReference;
  std::vector<std::string> Report;
};
TImageInfo ReadImageInfo(const std::string& path, const TLoadOptions& options = {});

}  // namespace quorvane
