#pragma once
// The Edit menu's clipboard commands. The clipboard itself is the window's:
// these take or give the bitmap it holds. Paste makes a bitmap from the
// clipboard the source picture; the caption, the recent files, the source
// georeference and the GeoTIFF information stay as the last open, crop or
// scale dialog left them.
#include "document/document.h"
#include "raster/bitmap.h"

namespace quorvane {

inline constexpr const char* kUnsupportedClipboardFormat = "Unsupported clipboard format";

// `clipboard` is the clipboard's bitmap, or null when it holds none, which
// fails with "Unsupported clipboard format" and leaves the source as it was
// (the selection box already hidden). The sizing restarts from the pasted
// size.
TSourceTexts PasteSource(TDocument& document, const TRasterBitmap* clipboard);

// "Copy From Input": the source picture without the selection box, which is
// hidden first. A measuring polyline shown on the Measure page is part of
// it (TDocument::OutputPicture).
TRasterBitmap CopySource(const TDocument& document);
// "Copy From Output": the destination picture, likewise; empty before the
// first resize, when the window leaves the clipboard as it is.
TRasterBitmap CopyDestination(const TDocument& document);

}  // namespace quorvane
