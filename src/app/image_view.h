#pragma once
// The image control of both panes: shows a raster bitmap at a zoom (one
// screen pixel per picture pixel unless zoomed), sizes itself to it (a
// scroll area around it does the scrolling), and reports the mouse in
// picture pixels. It shows a picture that lives elsewhere and paints only
// what is exposed, converting those rows at paint time; whoever changes the
// picture calls UpdateRect with the rectangle that changed, PictureChanged
// after its pixels or size changed, or PictureReplaced for a new picture.
//
// Zoomed out, the view paints from reduced copies of the picture without
// its overlays (built when first needed, dropped when the picture changes)
// and draws the overlays' figures over them, so a one-pixel line stays
// visible; zoomed in, picture pixels become squares with overlays and all.
#include <QWidget>
#include <functional>
#include <optional>

#include "app/view_figures.h"
#include "imaging/picture_pyramid.h"
#include "imaging/view_zoom.h"
#include "raster/bitmap.h"
#include "raster/progress.h"  // TRect
#include "raster/shift_state.h"

namespace quorvane {

// A mouse event in picture pixels. Shift holds the buttons down after the
// event (for a press, the pressed one included) and the modifier keys;
// Button is the button that was pressed or released (none for a move).
struct TImageMouse {
  int X = 0;
  int Y = 0;
  TShiftState Shift;
  Qt::MouseButton Button = Qt::NoButton;
};

class TImageEx : public QWidget {
  Q_OBJECT
 public:
  explicit TImageEx(QWidget* parent = nullptr);

  // Shows `picture` (not owned; may be null); it must stay alive until
  // another picture is set or the view is destroyed.
  void SetPicture(const TRasterBitmap* picture);
  const TRasterBitmap* Picture() const { return picture_; }
  // Takes the picture's current size and repaints everything.
  void PictureChanged();
  // Repaints one rectangle of the picture; empty rectangles do nothing.
  void UpdateRect(const TRect& rect);
  // A new picture (open, paste, crop, stretch): shown at the zoom the
  // new-picture hook gives (1:1 without one).
  void PictureReplaced();

  TViewZoom Zoom() const { return zoom_; }
  // Resizes the view to the picture at `zoom` and repaints it.
  void SetZoom(TViewZoom zoom);
  // The picture pixel under a position of the view.
  QPoint PicturePoint(const QPointF& position) const;

  // The picture without overlays, which zoomed-out painting reads (the
  // shown picture without a hook), and the overlays' figures drawn over it.
  void SetCleanPicture(std::function<const TRasterBitmap*()> clean) { clean_ = std::move(clean); }
  void SetFigures(std::function<TViewFigures()> figures) { figures_ = std::move(figures); }
  void SetNewPictureZoom(std::function<TViewZoom()> zoom) { new_zoom_ = std::move(zoom); }
  // Builds the reduced copies now rather than at the first zoomed-out
  // paint.
  void PreparePyramid();

  QSize sizeHint() const override;

 signals:
  void MouseDown(const quorvane::TImageMouse& mouse);
  void MouseMove(const quorvane::TImageMouse& mouse);
  void MouseUp(const quorvane::TImageMouse& mouse);
  void MouseEnter();
  void MouseLeave();
  void ZoomChanged();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  QSize PictureSize() const;
  QSize ViewSize() const;
  const TRasterBitmap& ZoomedOutSource() const;
  void PaintZoomed(QPainter& painter, const QRegion& region);

  const TRasterBitmap* picture_ = nullptr;
  TViewZoom zoom_ = kActualPixels;
  std::optional<TPicturePyramid> pyramid_;
  std::function<const TRasterBitmap*()> clean_;
  std::function<TViewFigures()> figures_;
  std::function<TViewZoom()> new_zoom_;
};

// The picture-pixel position and state of a Qt mouse event on a view at
// `zoom`.
TImageMouse ToImageMouse(const QMouseEvent& event, TViewZoom zoom = kActualPixels);

}  // namespace quorvane

// Lets signal spies and queued connections carry the mouse events.
Q_DECLARE_METATYPE(quorvane::TImageMouse)
