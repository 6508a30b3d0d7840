#pragma once
// The clean copy an image pane keeps of its picture. Overlays (the measuring
// polylines, the selection box) are drawn straight into the shown picture;
// copying the clean pixels back is how they are erased. Each operation
// returns the rectangle of the shown picture that changed, so the view
// repaints only that.
#include "raster/bitmap.h"
#include "raster/progress.h"

namespace quorvane {

// `clean` becomes a copy of `shown` (its memory is reused when the size and
// format match). Nothing shown changes, so the result is always empty.
TRect Snapshot(const TRasterBitmap& shown, TRasterBitmap& clean);

// `shown` becomes a copy of `clean`. The result covers the old and the new
// extent of `shown`, so a view whose picture changed size repaints it all.
TRect RestoreSnapshot(TRasterBitmap& shown, const TRasterBitmap& clean);

// Copies `rect` (right and bottom excluded) of `clean` onto the same place
// of `shown`, clipped to both pictures; converts pixels should their formats
// differ. Returns the rectangle copied; empty when nothing was.
TRect RestoreSnapshotRect(TRasterBitmap& shown, const TRasterBitmap& clean, const TRect& rect);

}  // namespace quorvane
