#pragma once
// One image pane of the main window: the picture it shows, the clean copy
// from which overlays drawn into that picture are erased, and the measuring
// tool that also holds the picture's georeference. A georeference belongs to
// a pane, not to a file.
#include "geo/geo_reference.h"
#include "geo/measure_tool.h"
#include "raster/bitmap.h"
#include "raster/rect.h"

namespace quorvane {

class TPane {
 public:
  // A pane without a clean copy (batch use draws no overlays) saves the
  // memory of a second picture; its snapshot operations do nothing.
  explicit TPane(bool keep_clean_copy = true) : keep_clean_copy_(keep_clean_copy) {}

  TRasterBitmap Picture;  // as shown, overlays included
  TMeasureTool Measure;   // the measuring polyline and the pane's georeference

  TGeoReference& GeoReference() { return Measure.GeoReference; }
  const TGeoReference& GeoReference() const { return Measure.GeoReference; }

  // The clean copy becomes a copy of the shown picture.
  void Snapshot();
  // The shown picture becomes a copy of the clean copy. Returns the area to
  // repaint: the old and the new extent of the picture.
  TRect RestoreSnapshot();
  // Copies `rect` (right and bottom excluded) of the clean copy onto the same
  // place of the shown picture, clipped to both. Returns the rectangle copied,
  // empty when nothing was.
  TRect RestoreSnapshotRect(const TRect& rect);
  // What the measuring tool asked for after a mouse event, less the redraw
  // of the tool itself: the area restored.
  TRect Restore(const TRepaintRequest& request);
  // All of it: the area restored, then the tool drawn again when asked.
  // Returns the area of the picture that changed.
  TRect Repaint(const TRepaintRequest& request);
  // Paints the measuring polyline into the shown picture (the Measure page
  // draws both panes' tools when it becomes active). Returns the area drawn.
  TRect DrawMeasure();

  const TRasterBitmap& CleanCopy() const { return clean_; }
  bool KeepsCleanCopy() const { return keep_clean_copy_; }

 private:
  bool keep_clean_copy_;
  TRasterBitmap clean_;
};

}  // namespace quorvane
