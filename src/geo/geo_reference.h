#pragma once
// The georeference of one image: a north-up UTM grid with a constant pixel
// size. east = x * ScaleX + BaseX, north = BaseY - y * ScaleY.
#include <cstdint>
#include <string>

namespace quorvane {

struct TGeoReference {
  double BaseX = 0.0;   // easting of the upper-left corner of pixel (0, 0), metres
  double BaseY = 0.0;   // northing of that corner, metres
  double ScaleX = 0.0;  // metres east per pixel column
  double ScaleY = 0.0;  // metres per pixel row; northing decreases downwards
  int32_t Zone = 0;     // UTM zone, 0 when never set
  bool North = false;   // true: northern hemisphere
  bool operator==(const TGeoReference&) const = default;
};

struct TProjectedCS {
  std::string Name;
  int32_t Zone = 0;
  bool North = true;
};

// Origin 0, 0 and scale 1, 1; zone and hemisphere stay.
void ResetGeoReference(TGeoReference& reference);
TProjectedCS LookupProjectedCS(int32_t code);
// WGS 84 UTM code of a zone, or -1 (written as 65535) for a zone <= 0.
int32_t ProjectedCSCode(int32_t zone, bool north);

struct TMapPoint {
  double East = 0.0;
  double North = 0.0;
};
TMapPoint PixelToMap(const TGeoReference& reference, double x, double y);
// Moves the origin to pixel (left, top), as a crop does.
void ShiftGeoReference(TGeoReference& reference, int left, int top);
// The destination's record after resizing source_width x source_height to
// destination_width x destination_height.
TGeoReference ScaleGeoReference(const TGeoReference& source, int source_width, int source_height,
                                int destination_width, int destination_height);

}  // namespace quorvane
