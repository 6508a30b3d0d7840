#pragma once
// Zoom and pan of both picture panes: the View menu's zoom commands act on
// the pane the user last clicked, scrolled or zoomed (the source at
// start); Ctrl+wheel zooms the pane under the pointer around the pointer;
// dragging with the middle button pans. Each pane's status strip shows its
// zoom. What each command does to a zoom lives in document/zoom_commands.
#include <QObject>
#include <QPoint>
#include <array>
#include <optional>

#include "document/measure_page.h"
#include "imaging/view_zoom.h"

class QLabel;
class QScrollArea;

namespace quorvane {

class TImageEx;
enum class TZoomCommand : uint8_t;

struct TZoomedPane {
  TImageEx* View = nullptr;
  QScrollArea* ScrollBox = nullptr;
  QLabel* ZoomDis = nullptr;
};

class TPaneZoom : public QObject {
  Q_OBJECT
 public:
  TPaneZoom(const TZoomedPane& source, const TZoomedPane& destination, QObject* parent);

  void ZoomInMnuClick();
  void ZoomOutMnuClick();
  void ActualPixelsMnuClick();
  void FitViewMnuClick();

  // "Fit Large Pictures": a new picture larger than its pane shows fitted.
  void SetFitLarge(bool on) { fit_large_ = on; }
  TPaneChoice ActivePane() const { return active_; }

  // Zooms a pane keeping the picture point under `anchor` (a position in
  // its scroll box's viewport) where it is.
  void ZoomAround(TPaneChoice pane, TViewZoom zoom, const QPoint& anchor);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  const TZoomedPane& Pane(TPaneChoice pane) const { return panes_[size_t(pane)]; }
  std::optional<TPaneChoice> PaneOfView(QObject* object) const;
  std::optional<TPaneChoice> PaneOfViewport(QObject* object) const;
  void Command(TZoomCommand command);
  bool ViewEvent(TPaneChoice pane, QEvent* event);
  bool ViewportEvent(TPaneChoice pane, QEvent* event);
  void ShowZoom(TPaneChoice pane);

  std::array<TZoomedPane, 2> panes_;  // indexed by TPaneChoice
  // The scroll boxes' viewports, compared by address only: events reach the
  // filter while the scroll boxes are being destroyed.
  std::array<QObject*, 2> viewports_{};
  TPaneChoice active_ = TPaneChoice::Input;
  bool fit_large_ = false;
  int wheel_pending_ = 0;
  // Where the middle button was last seen while panning (global).
  std::optional<QPointF> pan_from_;
};

}  // namespace quorvane
