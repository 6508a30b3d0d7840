#include "app/resize_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <cmath>

namespace quorvane {

namespace {

constexpr int kIconSize = 20;

QPixmap Blank() {
  QPixmap pixmap(kIconSize, kIconSize);
  pixmap.fill(Qt::transparent);
  return pixmap;
}

// An arrow from `from` to `to` with a small filled head at `to`.
void Arrow(QPainter& painter, QPointF from, QPointF to) {
  painter.drawLine(from, to);
  const QPointF along = (to - from) / std::hypot(to.x() - from.x(), to.y() - from.y());
  const QPointF across(-along.y(), along.x());
  QPainterPath head;
  head.moveTo(to + along);
  head.lineTo(to - 3 * along + 2.5 * across);
  head.lineTo(to - 3 * along - 2.5 * across);
  head.closeSubpath();
  painter.fillPath(head, painter.pen().color());
}

}  // namespace

QIcon StretchIcon() {
  QPixmap pixmap = Blank();
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(0, 0, 128), 1.5));
  painter.drawRect(QRectF(7, 7, 6, 6));
  const QPointF corners[] = {{2, 2}, {18, 2}, {2, 18}, {18, 18}};
  for (const QPointF& corner : corners) {
    const QPointF inner(corner.x() < 10 ? 6 : 14, corner.y() < 10 ? 6 : 14);
    Arrow(painter, inner, corner * 0.85 + QPointF(1.5, 1.5));
  }
  return QIcon(pixmap);
}

QIcon CropIcon() {
  QPixmap pixmap = Blank();
  QPainter painter(&pixmap);
  painter.setPen(QPen(QColor(128, 0, 0), 2, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
  painter.drawPolyline(QPolygonF({{5, 1}, {5, 15}, {19, 15}}));
  painter.drawPolyline(QPolygonF({{1, 5}, {15, 5}, {15, 19}}));
  painter.setPen(QPen(QColor(0, 0, 128), 1, Qt::DashLine));
  painter.drawRect(QRectF(6.5, 6.5, 7, 7));
  return QIcon(pixmap);
}

}  // namespace quorvane
