#pragma once
// The selection box on the source pane: the box drawn into the source
// picture's pixels, the view that shows that picture, the scroll area it
// sits in and the BoxDis readout. Every operation repaints only the
// rectangles the box changed, sets the pointer shape the box asks for and
// scrolls to keep a dragged corner in view.
#include <functional>

#include "document/document.h"
#include "imaging/selection_box.h"

class QLabel;
class QScrollArea;

namespace quorvane {

class TImageEx;

class TSourceBox {
 public:
  TSourceBox(TImageEx* view, QScrollArea* scroll_box, QLabel* box_dis);
  // The hooks handed to the document point at this object.
  TSourceBox(const TSourceBox&) = delete;
  TSourceBox& operator=(const TSourceBox&) = delete;

  // The box draws into `picture`, the one the view shows; it must outlive
  // the box's use of it.
  void SetPicture(TRasterBitmap* picture);
  // What the document asks of the box before it reads or replaces the
  // source picture.
  TSelectionHooks Hooks();

  // Pixels the box puts back when hidden are those it saved when last
  // drawn; a measuring polyline drawn or erased over it since then can come
  // back with them, so whoever keeps the picture's clean state is told
  // where they went (the window notes them as overlay pixels of the pane).
  std::function<void(const TRect&)> OnErased;

  void ShowBox();
  void HideBox();
  void SetBox(const TRect& box);

  // Pointer events in picture pixels.
  void BoxMouseDown(int x, int y);
  void BoxMouseMove(int x, int y);
  void BoxMouseUp();

  // BoxDis: "X1: 10 Y1: 20  X2: 50 Y2: 60  W: 40 H: 40".
  void ShowBoxReadout();

  const TSelectionBox& Box() const { return box_; }

 private:
  void Repaint(const TChangedRects& changed);
  void Follow(const TBoxEvent& event);

  TImageEx* view_;
  QScrollArea* scroll_box_;
  QLabel* box_dis_;
  TSelectionBox box_;
  TDrawingSurface surface_;
};

}  // namespace quorvane
