#include "imaging/selection_figure.h"

#include "imaging/selection_geometry.h"

namespace quorvane {

namespace {

// The closed line through the four corners, given in 64 bits and
// clamped, so a box at the edge of the integer range inflates safely.
void Outline(TCanvas& canvas, int64_t left, int64_t top, int64_t right, int64_t bottom) {
  canvas.MoveTo(ClampToInt(left), ClampToInt(top));
  canvas.LineTo(ClampToInt(right), ClampToInt(top));
  canvas.LineTo(ClampToInt(right), ClampToInt(bottom));
  canvas.LineTo(ClampToInt(left), ClampToInt(bottom));
  canvas.LineTo(ClampToInt(left), ClampToInt(top));
}

void Handle(TCanvas& canvas, int64_t x, int64_t y) {
  canvas.Rectangle({ClampToInt(x - kHandleReach), ClampToInt(y - kHandleReach),
                    ClampToInt(x + kHandleReach), ClampToInt(y + kHandleReach)});
}

}  // namespace

void DrawBoxFigure(TCanvas& canvas, const TRect& box, const TBoxFigureOptions& options) {
  const TCanvasSaver saved(canvas);
  const int pen_width = canvas.Pen.Width;
  const int64_t l = box.Left, t = box.Top, r = box.Right, b = box.Bottom;

  canvas.Pen = {kColorRed, TPenStyle::Solid, 1, TPenMode::Copy};
  Outline(canvas, l, t, r, b);
  canvas.Pen.Color = kColorBlack;
  Outline(canvas, l - 1, t - 1, r + 1, b + 1);

  if (options.Handles && !(box == TRect{})) {
    canvas.Pen.Color = kColorWhite;
    canvas.Brush = {kColorBlack, TBrushStyle::Solid};
    Handle(canvas, l, t);
    Handle(canvas, r, b);
    Handle(canvas, r, t);
    Handle(canvas, l, b);
  }
  saved.Restore(canvas);
  canvas.Pen.Width = pen_width;
}

}  // namespace quorvane
