#include "document/pane.h"

#include <algorithm>

#include "document/measure_drawing.h"
#include "imaging/snapshot.h"
#include "raster/pixel_convert.h"

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

// The side of the square tiles a piecewise clean copy is taken in.
constexpr int kTileSide = 64;

TRect Intersection(const TRect& a, const TRect& b) {
  return {std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
          std::min(a.Bottom, b.Bottom)};
}

// A bitmap of `width` x `height` in the format and colours of `picture`.
std::unique_ptr<TRasterBitmap> TileLike(const TRasterBitmap& picture, int width, int height) {
  auto tile = std::make_unique<TRasterBitmap>();
  tile->Reset(picture.PixelFormat(), width, height);
  const auto colors = picture.ColorTable();
  std::copy(colors.begin(), colors.end(), tile->ColorTable().begin());
  return tile;
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
  tiles_.clear();
  measure_shown_ = false;
  dirty_ = {};
  drawn_.reset();
  // The old copy's memory is kept for the next one only when it will fit;
  // otherwise it goes at once rather than sit beside a new large picture.
  if (!SameLayout(clean_, Picture)) clean_ = TRasterBitmap();
  if (taking_ == TCleanCopyTaking::AtOnce) PrepareOverlay();
}

// Whoever draws from outside gets a whole copy: only the pane's own
// drawing knows which tiles it covers.
void TPane::PrepareOverlay() {
  if (!tiles_.empty()) CompleteCleanCopy();
  if (taking_ == TCleanCopyTaking::Never || clean_taken_) return;
  clean_taken_ = true;
  quorvane::Snapshot(Picture, clean_);
}

void TPane::StartCleanCopy() {
  if (taking_ == TCleanCopyTaking::Never || clean_taken_) return;
  clean_taken_ = true;
  if (taking_ == TCleanCopyTaking::AtOnce || Picture.Empty()) {
    quorvane::Snapshot(Picture, clean_);
    return;
  }
  tiles_across_ = (Picture.Width() + kTileSide - 1) / kTileSide;
  const int tiles_down = (Picture.Height() + kTileSide - 1) / kTileSide;
  tiles_.resize(size_t(tiles_across_) * size_t(tiles_down));
  piece_bounds_ = {0, 0, Picture.Width(), Picture.Height()};
}

TRect TPane::TileRect(size_t index) const {
  const int left = int(index % size_t(tiles_across_)) * kTileSide;
  const int top = int(index / size_t(tiles_across_)) * kTileSide;
  return Intersection({left, top, left + kTileSide, top + kTileSide}, piece_bounds_);
}

std::vector<size_t> TPane::TilesUnder(const TRect& rect) const {
  std::vector<size_t> tiles;
  const TRect area = Intersection(rect, piece_bounds_);
  if (IsEmpty(area)) return tiles;
  for (int row = area.Top / kTileSide; row <= (area.Bottom - 1) / kTileSide; ++row)
    for (int column = area.Left / kTileSide; column <= (area.Right - 1) / kTileSide; ++column)
      tiles.push_back(size_t(row) * size_t(tiles_across_) + size_t(column));
  return tiles;
}

void TPane::TakeTiles(const TRect& rect) {
  if (tiles_.empty()) return;
  for (const size_t index : TilesUnder(rect)) {
    if (tiles_[index]) continue;
    const TRect cell = TileRect(index);
    const int width = cell.Right - cell.Left, height = cell.Bottom - cell.Top;
    tiles_[index] = TileLike(Picture, width, height);
    CopyRect(Picture, cell.Left, cell.Top, width, height, *tiles_[index], 0, 0);
  }
}

TRect TPane::RestoreRect(const TRect& rect) {
  if (tiles_.empty()) return quorvane::RestoreSnapshotRect(Picture, clean_, rect);
  for (const size_t index : TilesUnder(rect)) {
    if (!tiles_[index]) continue;
    const TRect cell = TileRect(index);
    const TRect part = Intersection(cell, rect);
    CopyRect(*tiles_[index], part.Left - cell.Left, part.Top - cell.Top, part.Right - part.Left,
             part.Bottom - part.Top, Picture, part.Left, part.Top);
  }
  const TRect clipped = Intersection(rect, piece_bounds_);
  return IsEmpty(clipped) ? TRect{} : clipped;
}

// The tiles never taken are still clean in the picture.
void TPane::CompleteCleanCopy() const {
  quorvane::Snapshot(Picture, clean_);
  for (size_t index = 0; index < tiles_.size(); ++index) {
    if (!tiles_[index]) continue;
    const TRect cell = TileRect(index);
    CopyRect(*tiles_[index], 0, 0, cell.Right - cell.Left, cell.Bottom - cell.Top, clean_,
             cell.Left, cell.Top);
  }
  tiles_.clear();
}

const TRasterBitmap& TPane::CleanCopy() const {
  if (!clean_taken_) return Picture;
  if (!tiles_.empty()) CompleteCleanCopy();
  return clean_;
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
  const TRect bounds{0, 0, Picture.Width(), Picture.Height()};
  const bool piecewise = !tiles_.empty();
  if (piecewise && !(piece_bounds_ == bounds)) {
    // Replaced without a snapshot while the copy was piecewise: the new
    // picture is kept as it is, with no copy of it.
    tiles_.clear();
    clean_taken_ = false;
    return Union(piece_bounds_, bounds);
  }
  TRect restored;
  if ((piecewise || SameLayout(Picture, clean_)) && drawn) {
    // The picture is the clean one with the polyline on it: the thin strips
    // along the polyline are put back, not its whole extent, which on a
    // large picture would copy most of it at every page switch.
    for (const TRect& rect : ChangedDrawingArea(*drawn, {}, bounds))
      restored = Union(restored, RestoreRect(rect));
  } else if (piecewise || SameLayout(Picture, clean_)) {
    restored = RestoreRect(dirty_);
  } else {
    restored = quorvane::RestoreSnapshot(Picture, clean_);
  }
  dirty_ = {};
  return restored;
}

TRect TPane::RestoreSnapshotRect(const TRect& rect) {
  drawn_.reset();
  if (!clean_taken_) return {};
  return RestoreRect(rect);
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
    TakeTiles(rect);
    const TRect restored = RestoreRect(rect);
    NoteOverlay(DrawWithin(Measure, Picture, restored));
    area.Add(restored);
  }
  drawn_ = std::move(now);
  measure_shown_ = true;
  return area;
}

TRect TPane::DrawMeasure() {
  StartCleanCopy();
  if (!tiles_.empty()) {
    const TRect bounds{0, 0, Picture.Width(), Picture.Height()};
    for (const TRect& rect : ChangedDrawingArea({}, DrawingOf(Measure), bounds)) TakeTiles(rect);
  }
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
