#include "document/pane.h"

#include <algorithm>

#include "document/measure_drawing.h"
#include "imaging/snapshot.h"

namespace quorvane {

namespace {

bool IsEmpty(const TRect& r) {
  return r.Right <= r.Left || r.Bottom <= r.Top;
}

// The smallest rectangle holding both; an empty one adds nothing.
TRect Union(const TRect& a, const TRect& b) {
  if (IsEmpty(a)) return b;
  if (IsEmpty(b)) return a;
  return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
          std::max(a.Bottom, b.Bottom)};
}

bool SameLayout(const TRasterBitmap& a, const TRasterBitmap& b) {
  return a.Width() == b.Width() && a.Height() == b.Height() && a.PixelFormat() == b.PixelFormat();
}

}  // namespace

void TRepaintArea::Add(const TRect& rect) {
  if (!IsEmpty(rect)) Rects.push_back(rect);
}

void TRepaintArea::Add(const TRepaintArea& other) {
  Rects.insert(Rects.end(), other.Rects.begin(), other.Rects.end());
}

TRect TRepaintArea::Bounds() const {
  TRect bounds;
  for (const TRect& rect : Rects) bounds = Union(bounds, rect);
  return bounds;
}

void TPane::Snapshot() {
  clean_taken_ = false;
  measure_shown_ = false;
  dirty_ = {};
  drawn_.reset();
  // The old copy's memory is kept for the next one only when it will fit;
  // otherwise it goes at once rather than sit beside a new large picture.
  if (!SameLayout(clean_, Picture)) clean_ = TRasterBitmap();
  if (taking_ == TCleanCopyTaking::AtOnce) PrepareOverlay();
}

void TPane::PrepareOverlay() {
  if (taking_ == TCleanCopyTaking::Never || clean_taken_) return;
  quorvane::Snapshot(Picture, clean_);
  clean_taken_ = true;
}

void TPane::NoteOverlay(const TRect& rect) {
  dirty_ = Union(dirty_, rect);
}

TRect TPane::RestoreSnapshot() {
  const std::optional<TMeasureDrawing> drawn = std::move(drawn_);
  drawn_.reset();
  measure_shown_ = false;
  // Until an overlay was drawn the picture is still the clean one.
  if (!clean_taken_) return {};
  TRect restored;
  if (SameLayout(Picture, clean_) && drawn) {
    // The picture is the clean one with the polyline on it: the thin strips
    // along the polyline are put back, not its whole extent, which on a
    // large picture would copy most of it at every page switch.
    const TRect bounds{0, 0, Picture.Width(), Picture.Height()};
    for (const TRect& rect : ChangedDrawingArea(*drawn, {}, bounds))
      restored = Union(restored, quorvane::RestoreSnapshotRect(Picture, clean_, rect));
  } else if (SameLayout(Picture, clean_)) {
    restored = quorvane::RestoreSnapshotRect(Picture, clean_, dirty_);
  } else {
    restored = quorvane::RestoreSnapshot(Picture, clean_);
  }
  dirty_ = {};
  return restored;
}

TRect TPane::RestoreSnapshotRect(const TRect& rect) {
  drawn_.reset();
  if (!clean_taken_) return {};
  return quorvane::RestoreSnapshotRect(Picture, clean_, rect);
}

TRect TPane::Restore(const TRepaintRequest& request) {
  if (request.RestoreAll) return RestoreSnapshot();
  if (request.RestoreRect) return RestoreSnapshotRect(request.Rect);
  return {};
}

TRepaintArea TPane::Repaint(const TRepaintRequest& request) {
  if (drawn_ && request.Redraw) return RedrawChangedFigures();
  TRepaintArea area;
  area.Add(Restore(request));
  if (request.Redraw) area.Add(DrawMeasure());
  return area;
}

TRepaintArea TPane::RedrawChangedFigures() {
  TMeasureDrawing now = DrawingOf(Measure);
  const TRect bounds{0, 0, Picture.Width(), Picture.Height()};
  TRepaintArea area;
  // Each rectangle is erased and then drawn complete; where rectangles
  // overlap, the later one erases and draws the shared pixels again.
  for (const TRect& rect : ChangedDrawingArea(*drawn_, now, bounds)) {
    const TRect restored = quorvane::RestoreSnapshotRect(Picture, clean_, rect);
    NoteOverlay(DrawWithin(Measure, Picture, restored));
    area.Add(restored);
  }
  drawn_ = std::move(now);
  measure_shown_ = true;
  return area;
}

TRect TPane::DrawMeasure() {
  PrepareOverlay();
  const TRect drawn = Draw(Measure, Picture);
  NoteOverlay(drawn);
  measure_shown_ = true;
  if (clean_taken_) drawn_ = DrawingOf(Measure);
  return drawn;
}

TOutputPicture TPane::OutputPicture(bool polyline_is_picture) const {
  TOutputPicture output{&CleanCopy(), std::nullopt};
  if (polyline_is_picture && measure_shown_ && !Measure.Points.empty()) {
    output.WithPolyline = CleanCopy();
    Draw(Measure, *output.WithPolyline);
  }
  return output;
}

}  // namespace quorvane
