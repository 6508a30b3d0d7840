#include "document/pane.h"

#include <algorithm>

#include "document/measure_drawing.h"
#include "imaging/snapshot.h"

namespace quorvane {

namespace {

// The smallest rectangle holding both; an empty one adds nothing.
TRect Union(const TRect& a, const TRect& b) {
  if (a.Right <= a.Left || a.Bottom <= a.Top) return b;
  if (b.Right <= b.Left || b.Bottom <= b.Top) return a;
  return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
          std::max(a.Bottom, b.Bottom)};
}

}  // namespace

void TPane::Snapshot() {
  if (keep_clean_copy_) quorvane::Snapshot(Picture, clean_);
}

TRect TPane::RestoreSnapshot() {
  if (!keep_clean_copy_) return {};
  return quorvane::RestoreSnapshot(Picture, clean_);
}

TRect TPane::RestoreSnapshotRect(const TRect& rect) {
  if (!keep_clean_copy_) return {};
  return quorvane::RestoreSnapshotRect(Picture, clean_, rect);
}

TRect TPane::Restore(const TRepaintRequest& request) {
  if (request.RestoreAll) return RestoreSnapshot();
  if (request.RestoreRect) return RestoreSnapshotRect(request.Rect);
  return {};
}

TRect TPane::Repaint(const TRepaintRequest& request) {
  const TRect restored = Restore(request);
  return request.Redraw ? Union(restored, DrawMeasure()) : restored;
}

TRect TPane::DrawMeasure() {
  return Draw(Measure, Picture);
}

}  // namespace quorvane
