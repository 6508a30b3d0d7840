#pragma once
// The overlays of a zoomed-out view, drawn over the painted picture in view
// pixels: the selection box and the measuring polyline are drawn into the
// picture's own pixels at full size, where a reduced copy would thin a
// one-pixel line away, so a zoomed-out view paints the picture without
// them and draws them anew at a size that stays visible.
#include <QPoint>
#include <QRect>
#include <optional>
#include <vector>

#include "imaging/view_zoom.h"

class QPainter;

namespace quorvane {

struct TViewFigures {
  // The selection box's corners in picture pixels (top-left and
  // bottom-right of the QRect, both drawn).
  std::optional<QRect> Box;
  bool BoxHandles = false;
  // The measuring points in picture pixels; `Selected` is being dragged.
  std::vector<QPoint> Polyline;
  int Selected = -1;
};

// The view pixels the figures' drawing may reach beyond the view rectangle
// of the picture pixels they cover.
inline constexpr int kFigureReach = 5;

void PaintFigures(QPainter& painter, const TViewFigures& figures, TViewZoom zoom);

}  // namespace quorvane
