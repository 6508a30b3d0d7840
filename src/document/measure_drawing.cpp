#include "document/measure_drawing.h"

#include "imaging/canvas.h"
#include "imaging/markers.h"

namespace quorvane {

namespace {

// The second flank has the clear style: it draws nothing, so a segment shows
// as a black line with one red line beside it.
constexpr TMarkerLineStyle kSegmentStyle{
    {kColorRed, TPenStyle::Solid}, {kColorBlack, TPenStyle::Solid}, {kColorBlue, TPenStyle::Clear}};

TPoint AsPoint(const TPixelPoint& p) {
  return {p.X, p.Y};
}

}  // namespace

TRect Draw(const TMeasureTool& tool, TRasterBitmap& picture) {
  if (tool.Points.empty() || picture.Empty()) return {};
  TCanvas canvas(picture);
  canvas.Pen.Width = 1;
  canvas.Pen.Mode = TPenMode::Copy;
  const auto marker = [&](size_t i) {
    const TColor fill = int64_t(i) == tool.Selected ? kColorCyan : kColorRed;
    DrawPointMarker(canvas, AsPoint(tool.Points[i]), fill, kMarkerRadius);
  };
  marker(0);
  for (size_t i = 0; i + 1 < tool.Points.size(); ++i) {
    DrawMarkerLine(canvas, AsPoint(tool.Points[i]), AsPoint(tool.Points[i + 1]), kSegmentStyle);
    marker(i + 1);
  }
  return canvas.ChangedRect();
}

}  // namespace quorvane
