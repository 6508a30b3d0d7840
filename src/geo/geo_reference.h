#pragma once
// The georeference of one image: a north-up grid with a constant pixel
// size, east = x * ScaleX + BaseX, north = BaseY - y * ScaleY, on a UTM zone;
// and, when it came from a GeoTIFF file, what that file said beyond it: its
// coordinate system, a raster-to-model matrix, ground control points and the
// raster type. Crops and resizes carry all of it along and a save writes it
// back.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "raster/geotiff_tags.h"

namespace quorvane {

class TCoordinateSystem;

// east = A * x + B * y + C; north = D * x + E * y + F, for raster
// positions x, y as the file counts them.
struct TAffine {
  double A = 1, B = 0, C = 0, D = 0, E = 1, F = 0;
  bool operator==(const TAffine&) const = default;
};

struct TGeoReference {
  double BaseX = 0.0;   // easting of the upper-left corner of pixel (0, 0), metres
  double BaseY = 0.0;   // northing of that corner, metres
  double ScaleX = 0.0;  // metres east per pixel column
  double ScaleY = 0.0;  // metres per pixel row; northing decreases downwards
  int32_t Zone = 0;     // UTM zone, 0 when never set
  bool North = false;   // true: northern hemisphere
  // The file's coordinate system; null for a georeference of no file's (a
  // new pane, a picture without GeoTIFF tags, a zone set by hand), which a
  // save writes as a WGS 84 UTM zone.
  std::shared_ptr<const TCoordinateSystem> System;
  // The file's ModelTransformation, when it gave one instead of a tie point
  // and pixel scale; the readouts then map through it.
  std::optional<TAffine> Matrix;
  // The raster position the file tied BaseX, BaseY to; the readouts take it
  // as 0, 0 whatever it is, a save writes it back.
  double BaseI = 0.0, BaseJ = 0.0;
  // Ground control points of a file without a pixel scale or matrix.
  std::vector<TTiePoint> ControlPoints;
  // Raster positions name pixel centres (PixelIsPoint) rather than corners.
  bool PixelIsPoint = false;
  bool operator==(const TGeoReference&) const = default;
};

struct TProjectedCS {
  std::string Name;
  int32_t Zone = 0;
  bool North = true;
};

// Origin 0, 0 and scale 1, 1, and nothing of a file's; zone and hemisphere
// stay.
void ResetGeoReference(TGeoReference& reference);
// Keeps the grid, zone and hemisphere but nothing of a file's: its system,
// matrix, control points, raster type and tie point position.
void ForgetFileGeoreference(TGeoReference& reference);
TProjectedCS LookupProjectedCS(int32_t code);
// Whether a code is a UTM zone of the projected systems table (not one of
// its Gauss-Krueger, state plane or BLM grids).
bool IsUtmProjectedCS(int32_t code);
// WGS 84 UTM code of a zone, or -1 (written as 65535) for a zone <= 0.
int32_t ProjectedCSCode(int32_t zone, bool north);

struct TMapPoint {
  double East = 0.0;
  double North = 0.0;
};
// Through the matrix when the georeference has one.
TMapPoint PixelToMap(const TGeoReference& reference, double x, double y);
// Moves the origin to pixel (left, top), as a crop does; a matrix and
// ground control points move with it.
void ShiftGeoReference(TGeoReference& reference, int left, int top);
// The destination's record after resizing source_width x source_height to
// destination_width x destination_height; a matrix, ground control points
// and a pixel-is-point origin are scaled exactly as the picture is.
TGeoReference ScaleGeoReference(const TGeoReference& source, int source_width, int source_height,
                                int destination_width, int destination_height);

}  // namespace quorvane
