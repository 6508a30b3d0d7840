#pragma once
// One image pane of the main window: the picture it shows, the clean copy
// from which overlays drawn into that picture are erased, and the measuring
// tool that also holds the picture's georeference. A georeference belongs to
// a pane, not to a file.
//
// The clean copy is taken when it is first needed. Snapshot only records
// that the picture as it stands is clean; the copy is made just before the
// first overlay is drawn into it (PrepareOverlay). Opening a picture of tens
// of megapixels therefore copies nothing, and a picture that never gets an
// overlay never costs a second block of memory. The rule for everything that
// draws into Picture: PrepareOverlay before, NoteOverlay with the area
// written after, so the copy is clean and RestoreSnapshot knows what to put
// back. Whatever replaces or rewrites the picture itself calls Snapshot.
#include <optional>
#include <vector>

#include "document/measure_redraw.h"
#include "geo/geo_reference.h"
#include "geo/measure_tool.h"
#include "raster/bitmap.h"
#include "raster/rect.h"

namespace quorvane {

// The parts of a picture that changed and must be repainted; they may
// overlap.
struct TRepaintArea {
  std::vector<TRect> Rects;
  // Empty rectangles are left out.
  void Add(const TRect& rect);
  void Add(const TRepaintArea& other);
  bool Empty() const { return Rects.empty(); }
  // The smallest rectangle holding them all; empty when there are none.
  TRect Bounds() const;
};

class TPane {
 public:
  // A pane without a clean copy (batch use draws no overlays) saves the
  // memory of a second picture; its snapshot operations do nothing.
  explicit TPane(bool keep_clean_copy = true) : keep_clean_copy_(keep_clean_copy) {}

  TRasterBitmap Picture;  // as shown, overlays included
  TMeasureTool Measure;   // the measuring polyline and the pane's georeference

  TGeoReference& GeoReference() { return Measure.GeoReference; }
  const TGeoReference& GeoReference() const { return Measure.GeoReference; }

  // The picture as it stands is the clean one from now on.
  void Snapshot();
  // Takes the clean copy if it is still owed. Call before drawing an
  // overlay into Picture.
  void PrepareOverlay();
  // An overlay wrote into `rect` of Picture.
  void NoteOverlay(const TRect& rect);

  // Erases every overlay: the picture becomes the clean one again. Returns
  // the area to repaint: what overlays had written, or the old and the new
  // extent when the picture's size changed since the clean copy was taken.
  TRect RestoreSnapshot();
  // Copies `rect` (right and bottom excluded) of the clean copy onto the same
  // place of the shown picture, clipped to both. Returns the rectangle copied,
  // empty when nothing was (also when no overlay was ever drawn).
  TRect RestoreSnapshotRect(const TRect& rect);
  // The erasing part of the measuring tool's request after a mouse event.
  TRect Restore(const TRepaintRequest& request);
  // The measuring tool's request carried out: erased, then drawn again.
  // While the picture shows exactly the clean picture plus the polyline as
  // last drawn, only the figures that changed are erased and drawn (see
  // ChangedDrawingArea), which gives the same pixels as the request taken
  // literally; otherwise the request is taken literally. Returns the area of
  // the picture that changed.
  TRepaintArea Repaint(const TRepaintRequest& request);
  // Paints the measuring polyline into the shown picture (the Measure page
  // draws both panes' tools when it becomes active). Returns the area drawn.
  TRect DrawMeasure();

  // The picture's clean state: the copy once taken, else the picture itself.
  const TRasterBitmap& CleanCopy() const { return clean_taken_ ? clean_ : Picture; }
  bool KeepsCleanCopy() const { return keep_clean_copy_; }
  // Whether the copy has been made (for memory-minded callers and tests).
  bool CleanCopyTaken() const { return clean_taken_; }

 private:
  TRepaintArea RedrawChangedFigures();

  bool keep_clean_copy_;
  TRasterBitmap clean_;
  bool clean_taken_ = false;
  // Bounding box of what overlays wrote since the picture was last clean.
  TRect dirty_;
  // The polyline as last drawn, while Picture is exactly the clean picture
  // with that drawing on it.
  std::optional<TMeasureDrawing> drawn_;
};

}  // namespace quorvane
