#include "geo/measure_tool.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "geo/ground_measure.h"

namespace quorvane {

namespace {

constexpr double kDegreesPerRadian = 57.29577951308232;

// Pixel positions come from the mouse, but a dragged polyline or a point
// given on the command line may sit anywhere: coordinates saturate rather
// than wrap.
int32_t Saturate(int64_t value) {
  return int32_t(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                     std::numeric_limits<int32_t>::max()));
}

}  // namespace

int32_t TMeasureTool::HitTest(int32_t x, int32_t y) const {
  for (size_t i = 0; i < Points.size(); ++i) {
    const int64_t px = Points[i].X, py = Points[i].Y;
    if (px - kMarkerRadius <= x && x < px + kMarkerRadius && py - kMarkerRadius <= y &&
        y < py + kMarkerRadius) {
      return int32_t(i);
    }
  }
  return -1;
}

TRect TMeasureTool::Extent() const {
  if (Points.empty()) return {};
  int64_t left = Points[0].X, right = Points[0].X, top = Points[0].Y, bottom = Points[0].Y;
  for (const TPixelPoint& p : Points) {
    left = std::min<int64_t>(left, p.X);
    right = std::max<int64_t>(right, p.X);
    top = std::min<int64_t>(top, p.Y);
    bottom = std::max<int64_t>(bottom, p.Y);
  }
  return {Saturate(left - kMarkerRadius), Saturate(top - kMarkerRadius),
          Saturate(right + kMarkerRadius), Saturate(bottom + kMarkerRadius)};
}

TRepaintRequest TMeasureTool::MouseDown(int32_t x, int32_t y, const TShiftState& shift) {
  if (!shift.Left && !shift.Right) return {};
  TRepaintRequest repaint;
  repaint.Rect = Extent();
  repaint.RestoreRect = !Points.empty();
  repaint.Redraw = true;
  if (shift.Left) {
    Selected = HitTest(x, y);
    if (Selected < 0) {
      // The new point follows the mouse while the button stays down.
      Points.push_back({x, y});
      Selected = int32_t(Points.size() - 1);
    }
  } else if (!Points.empty()) {
    Points.pop_back();
    // A right press during a drag may remove the dragged point itself.
    if (Selected >= int32_t(Points.size())) Selected = -1;
  }
  return repaint;
}

TRepaintRequest TMeasureTool::MouseMove(int32_t x, int32_t y, const TShiftState& shift) {
  if (Selected < 0 || Selected >= int32_t(Points.size())) return {};
  TRepaintRequest repaint;
  repaint.Rect = Extent();
  repaint.RestoreRect = true;
  repaint.Redraw = true;
  if (shift.Ctrl) {
    // The whole polyline follows the dragged point.
    const int64_t dx = int64_t{x} - Points[Selected].X;
    const int64_t dy = int64_t{y} - Points[Selected].Y;
    for (TPixelPoint& p : Points) p = {Saturate(p.X + dx), Saturate(p.Y + dy)};
  } else {
    Points[Selected] = {x, y};
  }
  return repaint;
}

TRepaintRequest TMeasureTool::MouseUp() {
  if (Selected < 0) return {};
  Selected = -1;
  TRepaintRequest repaint;
  repaint.RestoreAll = true;
  repaint.Redraw = true;
  return repaint;
}

void TMeasureTool::Clear() {
  Selected = -1;
  Points.clear();
}

double TMeasureTool::ScaledLength(double scale_x, double scale_y) const {
  double length = 0.0;
  for (size_t i = 1; i < Points.size(); ++i) {
    const double dx = double(int64_t{Points[i].X} - Points[i - 1].X) * scale_x;
    const double dy = double(int64_t{Points[i].Y} - Points[i - 1].Y) * scale_y;
    length += std::sqrt(dx * dx + dy * dy);
  }
  return length;
}

double TMeasureTool::ScaledArea(double scale_x, double scale_y) const {
  if (Points.size() < 3) return 0.0;
  double s1 = 0.0, s2 = 0.0;
  for (size_t i = 0; i < Points.size(); ++i) {
    const TPixelPoint& a = Points[i];
    const TPixelPoint& b = Points[i + 1 < Points.size() ? i + 1 : 0];
    s1 += (a.X * scale_x) * (b.Y * scale_y);
    s2 += (b.X * scale_x) * (a.Y * scale_y);
  }
  return std::fabs((s1 - s2) / 2);
}

double TMeasureTool::PathLength() const {
  return ScaledLength(1.0, 1.0);
}

double TMeasureTool::EnclosedArea() const {
  return ScaledArea(1.0, 1.0);
}

double TMeasureTool::PathLength(const TGeoReference& reference) const {
  if (std::optional<double> ground = GroundPathLength(reference, Points)) return *ground;
  return ScaledLength(reference.ScaleX, reference.ScaleY);
}

double TMeasureTool::EnclosedArea(const TGeoReference& reference) const {
  if (Points.size() < 3) return 0.0;
  if (std::optional<double> ground = GroundArea(reference, Points)) return *ground;
  return ScaledArea(reference.ScaleX, reference.ScaleY);
}

double TMeasureTool::SegmentAzimuth(int32_t from, int32_t to) const {
  const int32_t count = int32_t(Points.size());
  if (from < 0 || to < 0 || from >= count || to >= count) return 0.0;
  const int64_t dx = int64_t{Points[to].X} - Points[from].X;
  // Negated as an integer, so a zero difference is +0 and a repeated point
  // reads 0 degrees rather than 180.
  const int64_t up = -(int64_t{Points[to].Y} - Points[from].Y);
  double azimuth = std::atan2(double(dx), double(up)) * kDegreesPerRadian;
  if (azimuth < 0) azimuth += 360;
  return azimuth;
}

double TMeasureTool::LastAzimuth() const {
  const int32_t count = int32_t(Points.size());
  return SegmentAzimuth(count - 2, count - 1);
}

double TMeasureTool::LastAzimuth(const TGeoReference& reference) const {
  const size_t count = Points.size();
  if (count >= 2) {
    if (std::optional<double> ground =
            GroundAzimuth(reference, Points[count - 2], Points[count - 1]))
      return *ground;
  }
  return LastAzimuth();
}

TMeasureShapes MeasureShapes(const TMeasureTool& tool) {
  TMeasureShapes shapes;
  const auto marker = [&](size_t i) {
    const TPixelPoint& p = tool.Points[i];
    return TMarkerShape{
        {Saturate(int64_t{p.X} - kMarkerRadius), Saturate(int64_t{p.Y} - kMarkerRadius),
         Saturate(int64_t{p.X} + kMarkerRadius), Saturate(int64_t{p.Y} + kMarkerRadius)},
        int32_t(i) == tool.Selected};
  };
  for (size_t i = 0; i < tool.Points.size(); ++i) {
    shapes.Markers.push_back(marker(i));
    if (i == 0) continue;
    const TPixelPoint start = tool.Points[i - 1], end = tool.Points[i];
    const int64_t dx = int64_t{end.X} - start.X;
    const int64_t dy = int64_t{end.Y} - start.Y;
    // |dy/dx| > 1, with a vertical segment counted as steep.
    const bool steep = dx == 0 ? dy != 0 : std::llabs(dy) > std::llabs(dx);
    shapes.Segments.push_back({start, end, steep ? TPixelPoint{1, 0} : TPixelPoint{0, 1}});
  }
  return shapes;
}

}  // namespace quorvane
