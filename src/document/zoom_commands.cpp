#include "document/zoom_commands.h"

#include <algorithm>

namespace quorvane {

namespace {

bool Fits(TViewZoom zoom, const TZoomPane& pane) {
  return ViewExtent(pane.PictureWidth, zoom) <= kLargestViewSide &&
         ViewExtent(pane.PictureHeight, zoom) <= kLargestViewSide;
}

TViewZoom StepIn(TViewZoom zoom, const TZoomPane& pane) {
  const TViewZoom in = ZoomedIn(zoom);
  return Fits(in, pane) ? in : zoom;
}

TViewZoom Fitted(const TZoomPane& pane) {
  const TViewZoom fit =
      FitZoom(pane.PictureWidth, pane.PictureHeight, pane.ViewWidth, pane.ViewHeight);
  // A tiny picture is not blown up past the largest step.
  return std::min(fit, ZoomedIn(TViewZoom{1 << 20, 1}));
}

}  // namespace

TViewZoom ZoomAfter(TZoomCommand command, TViewZoom zoom, const TZoomPane& pane) {
  switch (command) {
    case TZoomCommand::ZoomIn:
      return StepIn(zoom, pane);
    case TZoomCommand::ZoomOut:
      return ZoomedOut(zoom);
    case TZoomCommand::ActualPixels:
      return kActualPixels;
    case TZoomCommand::FitInView: {
      const TViewZoom fit = Fitted(pane);
      return Fits(fit, pane) ? fit : zoom;
    }
  }
  return zoom;
}

TViewZoom WheelZoom(TViewZoom zoom, int angle_delta, int& pending, const TZoomPane& pane) {
  constexpr int kNotch = 120;
  pending += angle_delta;
  for (; pending >= kNotch; pending -= kNotch) zoom = StepIn(zoom, pane);
  for (; pending <= -kNotch; pending += kNotch) zoom = ZoomedOut(zoom);
  return zoom;
}

TViewZoom NewPictureZoom(bool fit_large, const TZoomPane& pane) {
  const bool large = pane.PictureWidth > pane.ViewWidth || pane.PictureHeight > pane.ViewHeight;
  return fit_large && large ? Fitted(pane) : kActualPixels;
}

}  // namespace quorvane
