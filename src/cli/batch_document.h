#pragma once
// The document of a batch command: no overlays, so no clean copies, and the
// file opened as the window opens it except for the folder change, since the
// command's other paths are relative to where it started.
#include <string>

#include "document/document.h"
#include "document/open_image.h"

namespace quorvane::cli {

inline constexpr TDocumentOptions kBatchDocument{.KeepCleanCopies = false};

inline void OpenForBatch(TDocument& document, const std::string& path) {
  OpenImageFile(document, path, {.ChangeFolder = false});
}

}  // namespace quorvane::cli
