#pragma once
// The image control of both panes: shows a raster bitmap at one screen pixel
// per picture pixel, sizes itself to it (a scroll area around it does the
// scrolling), and reports the mouse in picture pixels. It shows a picture
// that lives elsewhere and paints only what is exposed, converting those
// rows at paint time; whoever changes the picture calls UpdateRect with the
// rectangle that changed, or PictureChanged after a new picture or size.
#include <QWidget>

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

  QSize sizeHint() const override;

 signals:
  void MouseDown(const quorvane::TImageMouse& mouse);
  void MouseMove(const quorvane::TImageMouse& mouse);
  void MouseUp(const quorvane::TImageMouse& mouse);
  void MouseEnter();
  void MouseLeave();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  QSize PictureSize() const;

  const TRasterBitmap* picture_ = nullptr;
};

// The picture-pixel position and state of a Qt mouse event.
TImageMouse ToImageMouse(const QMouseEvent& event);

}  // namespace quorvane

// Lets signal spies and queued connections carry the mouse events.
Q_DECLARE_METATYPE(quorvane::TImageMouse)
