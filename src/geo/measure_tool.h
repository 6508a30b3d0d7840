#pragma once
// The measuring polyline clicked onto one image: its points and the point
// being dragged. The image's georeference belongs to whoever holds the
// picture and is handed to the measurements that need it. The tool never paints: each mouse
// handler returns what the pane must repaint, so the logic runs without a
// window.
#include <cstdint>
#include <vector>

#include "geo/geo_reference.h"
#include "raster/rect.h"
#include "raster/shift_state.h"

namespace quorvane {

struct TPixelPoint {
  int32_t X = 0;
  int32_t Y = 0;
  bool operator==(const TPixelPoint&) const = default;
};

// What the pane does after a mouse event, in this order: copy `Rect` of its
// clean snapshot back (when `RestoreRect` and the rectangle is not empty), or
// the whole snapshot (when `RestoreAll`); then let the tool draw itself again
// (when `Redraw`).
struct TRepaintRequest {
  bool RestoreRect = false;
  TRect Rect;
  bool RestoreAll = false;
  bool Redraw = false;
  bool operator==(const TRepaintRequest&) const = default;
};

// Half the side of a point marker; also the reach of the hit test and the
// margin of the rectangle erased before a redraw.
constexpr int kMarkerRadius = 4;

class TMeasureTool {
 public:
  std::vector<TPixelPoint> Points;
  int32_t Selected = -1;  // index of the point being dragged, -1 when none

  TRepaintRequest MouseDown(int32_t x, int32_t y, const TShiftState& shift);
  TRepaintRequest MouseMove(int32_t x, int32_t y, const TShiftState& shift);
  TRepaintRequest MouseUp();
  void Clear();

  // Index of the first point whose marker covers (x, y), or -1.
  int32_t HitTest(int32_t x, int32_t y) const;
  // Bounding box of the points grown by the marker radius (right and bottom
  // exclusive); empty, all zero, without points.
  TRect Extent() const;
  // In pixels.
  double PathLength() const;
  double EnclosedArea() const;
  // On the ground, in metres: through the georeference's coordinate system
  // where it has one, else taking its scale as metres per pixel.
  double PathLength(const TGeoReference& reference) const;
  double EnclosedArea(const TGeoReference& reference) const;
  // Degrees clockwise from straight up the image, in [0, 360), from pixel
  // differences; 0 for an index outside the list.
  double SegmentAzimuth(int32_t from, int32_t to) const;
  // Of the last segment: from pixels, or on the ground where the
  // georeference allows it.
  double LastAzimuth() const;
  double LastAzimuth(const TGeoReference& reference) const;

 private:
  // With each axis multiplied by its scale.
  double ScaledLength(double scale_x, double scale_y) const;
  double ScaledArea(double scale_x, double scale_y) const;
};

// The figures Draw paints: a marker per point and a segment per pair.
struct TMarkerShape {
  TRect Square;  // right and bottom exclusive, 8 x 8 pixels
  bool Selected = false;
};
struct TSegmentShape {
  TPixelPoint Start, End;
  // The red flank is drawn at Start - Offset to End - Offset: one pixel above
  // a flat segment, one pixel left of a steep one.
  TPixelPoint FlankOffset;
};
struct TMeasureShapes {
  std::vector<TMarkerShape> Markers;
  std::vector<TSegmentShape> Segments;
};
TMeasureShapes MeasureShapes(const TMeasureTool& tool);

}  // namespace quorvane
