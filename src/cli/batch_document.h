#pragma once
// The document of a batch command: no overlays, so no clean copies, and the
// file opened as the window opens it except for the folder change, since the
// command's other paths are relative to where it started.
#include <string>

#include "document/document.h"
#include "document/open_image.h"

namespace quorvane::cli {

inline constexpr TDocumentOptions kBatchDocument{.KeepCleanCopies = false};

// `any_tiff` hands TIFFs our own reader refuses to the extended reader.
inline void OpenForBatch(TDocument& document, const std::string& path, bool any_tiff) {
  OpenImageFile(document, path, {.ChangeFolder = false, .Load = {.AnyTiff = any_tiff}});
}

}  // namespace quorvane::cli
