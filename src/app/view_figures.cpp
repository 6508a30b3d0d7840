#include "app/view_figures.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace quorvane {

namespace {

constexpr int kMarkerHalf = 3;

// The view pixel showing the centre of picture pixel `p`.
// Far outside the view it is clamped, as painting clips it anyway.
int ViewCentre(int64_t p, TViewZoom zoom) {
  constexpr double kFar = 1e8;
  return int(std::clamp(std::floor((double(p) + 0.5) * zoom.Factor()), -kFar, kFar));
}

QPoint ViewPoint(const QPoint& p, TViewZoom zoom) {
  return {ViewCentre(p.x(), zoom), ViewCentre(p.y(), zoom)};
}

void PaintBox(QPainter& painter, const QRect& box, bool handles, TViewZoom zoom) {
  const QPoint a = ViewPoint(box.topLeft(), zoom);
  const QPoint b = ViewPoint(box.bottomRight(), zoom);
  const QRect outline = QRect(a, b).normalized();
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(Qt::red, 0));
  painter.drawRect(outline);
  painter.setPen(QPen(Qt::black, 0));
  painter.drawRect(outline.adjusted(-1, -1, 1, 1));
  if (!handles) return;
  painter.setPen(QPen(Qt::white, 0));
  painter.setBrush(Qt::black);
  for (const QPoint& corner :
       {outline.topLeft(), outline.topRight(), outline.bottomLeft(), outline.bottomRight()})
    painter.drawRect(
        QRect(corner - QPoint(kMarkerHalf, kMarkerHalf), QSize(2 * kMarkerHalf, 2 * kMarkerHalf)));
}

void PaintPolyline(QPainter& painter, const std::vector<QPoint>& points, int selected,
                   TViewZoom zoom) {
  for (size_t i = 1; i < points.size(); ++i) {
    const QPoint from = ViewPoint(points[i - 1], zoom), to = ViewPoint(points[i], zoom);
    painter.setPen(QPen(Qt::red, 0));
    const bool steep = std::abs(to.y() - from.y()) > std::abs(to.x() - from.x());
    const QPoint flank = steep ? QPoint(-1, 0) : QPoint(0, -1);
    painter.drawLine(from + flank, to + flank);
    painter.setPen(QPen(Qt::black, 0));
    painter.drawLine(from, to);
  }
  painter.setPen(QPen(Qt::white, 0));
  for (size_t i = 0; i < points.size(); ++i) {
    painter.setBrush(int(i) == selected ? Qt::cyan : Qt::red);
    const QPoint centre = ViewPoint(points[i], zoom);
    painter.drawRect(
        QRect(centre - QPoint(kMarkerHalf, kMarkerHalf), QSize(2 * kMarkerHalf, 2 * kMarkerHalf)));
  }
}

}  // namespace

void PaintFigures(QPainter& painter, const TViewFigures& figures, TViewZoom zoom) {
  if (figures.Box) PaintBox(painter, *figures.Box, figures.BoxHandles, zoom);
  PaintPolyline(painter, figures.Polyline, figures.Selected, zoom);
}

}  // namespace quorvane
