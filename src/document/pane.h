#pragma once
// One image pane of the main window: the picture it shows, the clean copy
// from which overlays drawn into that picture are erased, the picture's
// georeference and the measuring tool. A georeference belongs to a pane, not
// to a file.
//
// The clean copy describes the picture without any overlay at all times;
// whatever reads a pane's pixels for a result (crop, stretch, save, copy,
// print) reads them there, never from the picture as shown. When the copy
// is taken depends on who draws into the picture (TCleanCopyTaking). The
// rule for everything that draws into Picture: PrepareOverlay before,
// NoteOverlay with the area written after, so RestoreSnapshot knows what to
// put back. Whatever replaces or rewrites the picture itself calls Snapshot,
// with no overlay on it.
#include <cstdint>
#include <memory>
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

enum class TCleanCopyTaking : uint8_t {
  // No copy: batch use draws no overlays, and saves the memory of a second
  // picture. The snapshot operations do nothing.
  Never,
  // Piece by piece, just before an overlay is first drawn over each piece,
  // when only the pane's own measuring tool draws into the picture: opening
  // or resizing a picture of tens of megapixels then copies nothing until
  // it is measured, and the first measuring click copies only the tiles the
  // polyline covers. The rest of the copy is made when someone reads it.
  WhenFirstDrawn,
  // At Snapshot itself, when something besides the pane draws into the
  // picture (the selection box on the source): by the first measuring
  // click the picture may carry that overlay, which the copy must not.
  AtOnce,
};

// A pane's picture as a command hands it on: the clean picture, with the
// measuring polyline drawn on it when the polyline is part of the picture.
// Holds a picture of its own only then.
struct TOutputPicture {
  const TRasterBitmap* Clean = nullptr;
  std::optional<TRasterBitmap> WithPolyline;
  const TRasterBitmap& Get() const { return WithPolyline ? *WithPolyline : *Clean; }
};

class TPane {
 public:
  explicit TPane(TCleanCopyTaking taking = TCleanCopyTaking::WhenFirstDrawn) : taking_(taking) {}

  TRasterBitmap Picture;  // as shown, overlays included
  TMeasureTool Measure;   // the measuring polyline

  TGeoReference& GeoReference() { return georeference_; }
  const TGeoReference& GeoReference() const { return georeference_; }

  // The picture as it stands, without overlays, is the clean one from now
  // on.
  void Snapshot();
  // Takes the whole clean copy if it is still owed (or completes one taken
  // piece by piece). Call before drawing an overlay into Picture.
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

  // The picture's clean state: the copy once taken, else the picture itself
  // (which then carries no overlay).
  const TRasterBitmap& CleanCopy() const;
  bool KeepsCleanCopy() const { return taking_ != TCleanCopyTaking::Never; }
  // Whether the measuring polyline is drawn into the picture as shown.
  bool MeasureShown() const { return measure_shown_; }
  // The clean picture, with the polyline drawn on it when
  // `polyline_is_picture` and it is shown.
  TOutputPicture OutputPicture(bool polyline_is_picture) const;
  // Whether the copy has been made (for memory-minded callers and tests).
  bool CleanCopyTaken() const { return clean_taken_; }

 private:
  TRepaintArea RedrawChangedFigures();
  // Takes the clean copy, or starts a piecewise one, if it is still owed.
  void StartCleanCopy();
  // The piecewise copy (see TCleanCopyTaking::WhenFirstDrawn): takes the
  // tiles under `rect` not taken yet, before an overlay is drawn there.
  void TakeTiles(const TRect& rect);
  // Copies the clean pixels under `rect` back into the picture; where no
  // tile was taken the picture is still clean. Returns `rect` clipped to
  // the picture.
  TRect RestoreRect(const TRect& rect);
  // The indices of the tiles under `rect`, and the pixels of one tile.
  std::vector<size_t> TilesUnder(const TRect& rect) const;
  TRect TileRect(size_t index) const;
  void CompleteCleanCopy() const;

  TCleanCopyTaking taking_;
  TGeoReference georeference_;
  // Mutable: reading the clean copy completes a piecewise one.
  mutable TRasterBitmap clean_;
  // While the copy is piecewise: the clean pixels of each tile taken (null
  // where none was), kept apart so that a first click touches no more
  // memory than the tiles; empty once complete.
  mutable std::vector<std::unique_ptr<TRasterBitmap>> tiles_;
  int tiles_across_ = 0;
  TRect piece_bounds_;  // the picture's extent when the piecewise copy began
  bool clean_taken_ = false;
  bool measure_shown_ = false;
  // Bounding box of what overlays wrote since the picture was last clean.
  TRect dirty_;
  // The polyline as last drawn, while Picture is exactly the clean picture
  // with that drawing on it.
  std::optional<TMeasureDrawing> drawn_;
};

}  // namespace quorvane
