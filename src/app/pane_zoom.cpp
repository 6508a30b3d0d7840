#include "app/pane_zoom.h"

#include <QLabel>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

#include "app/image_view.h"
#include "app/qt_text.h"
#include "document/zoom_commands.h"

namespace quorvane {

namespace {

TZoomPane ZoomPaneOf(const TZoomedPane& pane) {
  const TRasterBitmap* picture = pane.View->Picture();
  const QSize room = pane.ScrollBox->maximumViewportSize();
  return {.PictureWidth = picture ? picture->Width() : 0,
          .PictureHeight = picture ? picture->Height() : 0,
          .ViewWidth = room.width(),
          .ViewHeight = room.height()};
}

void SetScroll(QScrollBar* bar, int64_t value) {
  bar->setValue(int(std::clamp<int64_t>(value, bar->minimum(), bar->maximum())));
}

QPoint Centre(const QScrollArea* box) {
  return {box->viewport()->width() / 2, box->viewport()->height() / 2};
}

}  // namespace

TPaneZoom::TPaneZoom(const TZoomedPane& source, const TZoomedPane& destination, QObject* parent)
    : QObject(parent), panes_{source, destination} {
  for (TPaneChoice pane : {TPaneChoice::Input, TPaneChoice::Output}) {
    const TZoomedPane& parts = Pane(pane);
    parts.View->installEventFilter(this);
    viewports_[size_t(pane)] = parts.ScrollBox->viewport();
    viewports_[size_t(pane)]->installEventFilter(this);
    connect(parts.View, &TImageEx::ZoomChanged, this, [this, pane] { ShowZoom(pane); });
    for (QScrollBar* bar :
         {parts.ScrollBox->horizontalScrollBar(), parts.ScrollBox->verticalScrollBar()})
      connect(bar, &QScrollBar::actionTriggered, this, [this, pane] { active_ = pane; });
    parts.View->SetNewPictureZoom(
        [this, pane] { return NewPictureZoom(fit_large_, ZoomPaneOf(Pane(pane))); });
    ShowZoom(pane);
  }
}

void TPaneZoom::ShowZoom(TPaneChoice pane) {
  const TZoomedPane& parts = Pane(pane);
  parts.ZoomDis->setText(FromStd(ZoomPercentText(parts.View->Zoom())));
}

void TPaneZoom::ZoomAround(TPaneChoice pane, TViewZoom zoom, const QPoint& anchor) {
  active_ = pane;
  const TZoomedPane& parts = Pane(pane);
  const TViewZoom from = parts.View->Zoom();
  if (zoom == from) return;
  QScrollBar* across = parts.ScrollBox->horizontalScrollBar();
  QScrollBar* down = parts.ScrollBox->verticalScrollBar();
  const int64_t x = ScrollKeepingAnchor(across->value(), anchor.x(), from, zoom);
  const int64_t y = ScrollKeepingAnchor(down->value(), anchor.y(), from, zoom);
  parts.View->SetZoom(zoom);
  SetScroll(across, x);
  SetScroll(down, y);
}

void TPaneZoom::Command(TZoomCommand command) {
  const TZoomedPane& parts = Pane(active_);
  const TViewZoom zoom = ZoomAfter(command, parts.View->Zoom(), ZoomPaneOf(parts));
  ZoomAround(active_, zoom, Centre(parts.ScrollBox));
  if (command == TZoomCommand::FitInView) {
    SetScroll(parts.ScrollBox->horizontalScrollBar(), 0);
    SetScroll(parts.ScrollBox->verticalScrollBar(), 0);
  }
}

void TPaneZoom::ZoomInMnuClick() {
  Command(TZoomCommand::ZoomIn);
}

void TPaneZoom::ZoomOutMnuClick() {
  Command(TZoomCommand::ZoomOut);
}

void TPaneZoom::ActualPixelsMnuClick() {
  Command(TZoomCommand::ActualPixels);
}

void TPaneZoom::FitViewMnuClick() {
  Command(TZoomCommand::FitInView);
}

std::optional<TPaneChoice> TPaneZoom::PaneOfView(QObject* object) const {
  for (TPaneChoice pane : {TPaneChoice::Input, TPaneChoice::Output})
    if (object == Pane(pane).View) return pane;
  return std::nullopt;
}

std::optional<TPaneChoice> TPaneZoom::PaneOfViewport(QObject* object) const {
  for (TPaneChoice pane : {TPaneChoice::Input, TPaneChoice::Output})
    if (object == viewports_[size_t(pane)]) return pane;
  return std::nullopt;
}

bool TPaneZoom::eventFilter(QObject* watched, QEvent* event) {
  if (const auto pane = PaneOfView(watched)) return ViewEvent(*pane, event);
  if (const auto pane = PaneOfViewport(watched)) return ViewportEvent(*pane, event);
  return QObject::eventFilter(watched, event);
}

// A click makes the pane the one the commands act on. In a zoomed pane the
// middle button pans and goes no further; at 1:1 it reaches the pages as it
// always did (the selection box follows any button there).
bool TPaneZoom::ViewEvent(TPaneChoice pane, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove &&
      type != QEvent::MouseButtonRelease)
    return false;
  const auto* mouse = static_cast<QMouseEvent*>(event);
  if (type == QEvent::MouseButtonPress) active_ = pane;
  const bool middle =
      mouse->button() == Qt::MiddleButton ||
      (type == QEvent::MouseMove && pan_from_ && mouse->buttons().testFlag(Qt::MiddleButton));
  if (!middle) return false;
  if (type == QEvent::MouseButtonPress) {
    if (Pane(pane).View->Zoom() == kActualPixels) return false;
    pan_from_ = mouse->globalPosition();
  } else if (!pan_from_) {
    return false;
  } else if (type == QEvent::MouseButtonRelease) {
    pan_from_.reset();
  } else {
    const QPointF delta = mouse->globalPosition() - *pan_from_;
    const QPoint step = delta.toPoint();
    QScrollArea* box = Pane(pane).ScrollBox;
    SetScroll(box->horizontalScrollBar(), box->horizontalScrollBar()->value() - step.x());
    SetScroll(box->verticalScrollBar(), box->verticalScrollBar()->value() - step.y());
    *pan_from_ += QPointF(step);
  }
  return true;
}

// Ctrl+wheel zooms around the pointer; a plain wheel scrolls as ever. Both,
// and a click beside the picture, make the pane the active one.
bool TPaneZoom::ViewportEvent(TPaneChoice pane, QEvent* event) {
  if (event->type() == QEvent::MouseButtonPress) active_ = pane;
  if (event->type() != QEvent::Wheel) return false;
  active_ = pane;
  const auto* wheel = static_cast<QWheelEvent*>(event);
  if (!wheel->modifiers().testFlag(Qt::ControlModifier)) return false;
  const TZoomedPane& parts = Pane(pane);
  const TViewZoom zoom =
      WheelZoom(parts.View->Zoom(), wheel->angleDelta().y(), wheel_pending_, ZoomPaneOf(parts));
  ZoomAround(pane, zoom, wheel->position().toPoint());
  return true;
}

}  // namespace quorvane
