#pragma once
// Paste: a bitmap from the clipboard becomes the source picture. The caption,
// the recent files, the source georeference and the GeoTIFF information stay
// as the last open, crop or scale dialog left them.
#include "document/document.h"
#include "raster/bitmap.h"

namespace quorvane {

inline constexpr const char* kUnsupportedClipboardFormat = "Unsupported clipboard format";

// `clipboard` is the clipboard's bitmap, or null when it holds none, which
// fails with "Unsupported clipboard format" and leaves the source as it was
// (the selection box already hidden). The sizing restarts from the pasted
// size.
TSourceTexts PasteSource(TDocument& document, const TRasterBitmap* clipboard);

}  // namespace quorvane
