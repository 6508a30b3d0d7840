#include "document/measure_drawing.h"

#include <algorithm>
#include <optional>

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

// Whether the box around `a` and `b`, grown by `margin`, meets `clip`.
bool Reaches(const TPixelPoint& a, const TPixelPoint& b, int64_t margin, const TRect& clip) {
  return std::min<int64_t>(a.X, b.X) - margin < clip.Right &&
         std::max<int64_t>(a.X, b.X) + margin >= clip.Left &&
         std::min<int64_t>(a.Y, b.Y) - margin < clip.Bottom &&
         std::max<int64_t>(a.Y, b.Y) + margin >= clip.Top;
}

TRect DrawFigures(const TMeasureTool& tool, TRasterBitmap& picture,
                  const std::optional<TRect>& clip) {
  if (tool.Points.empty() || picture.Empty()) return {};
  TCanvas canvas(picture);
  if (clip) canvas.SetClipRect(*clip);
  canvas.Pen.Width = 1;
  canvas.Pen.Mode = TPenMode::Copy;
  // A flank lies one pixel beside its segment; a marker reaches its radius.
  const auto wanted = [&](const TPixelPoint& a, const TPixelPoint& b, int64_t margin) {
    return !clip || Reaches(a, b, margin, *clip);
  };
  const auto marker = [&](size_t i) {
    const TPixelPoint& p = tool.Points[i];
    if (!wanted(p, p, kMarkerRadius)) return;
    const TColor fill = int64_t(i) == tool.Selected ? kColorCyan : kColorRed;
    DrawPointMarker(canvas, AsPoint(p), fill, kMarkerRadius);
  };
  marker(0);
  for (size_t i = 0; i + 1 < tool.Points.size(); ++i) {
    const TPixelPoint& from = tool.Points[i];
    const TPixelPoint& to = tool.Points[i + 1];
    if (wanted(from, to, 1)) DrawMarkerLine(canvas, AsPoint(from), AsPoint(to), kSegmentStyle);
    marker(i + 1);
  }
  return canvas.ChangedRect();
}

}  // namespace

TRect Draw(const TMeasureTool& tool, TRasterBitmap& picture) {
  return DrawFigures(tool, picture, std::nullopt);
}

TRect DrawWithin(const TMeasureTool& tool, TRasterBitmap& picture, const TRect& clip) {
  return DrawFigures(tool, picture, clip);
}

}  // namespace quorvane
