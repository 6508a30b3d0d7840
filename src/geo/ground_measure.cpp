#include "geo/ground_measure.h"

#include <geodesic.h>

#include <cmath>

#include "geo/coordinate_system.h"
#include "geo/proj_library.h"

namespace quorvane {

namespace {

const TCoordinateSystem* Geographic(const TGeoReference& reference) {
  const TCoordinateSystem* system = reference.System.get();
  if (system && system->Usable() && system->Kind() == TCrsKind::Geographic &&
      system->SemiMajor() > 0)
    return system;
  return nullptr;
}

// Metres per grid unit where measuring needs more than the grid's
// numbers, else nothing.
std::optional<double> GridUnit(const TGeoReference& reference) {
  const TCoordinateSystem* system = reference.System.get();
  const bool usable =
      system && system->Usable() && !system->IsTableUtm() && system->Kind() == TCrsKind::Projected;
  const double unit = usable ? system->MetresPerUnit() : 1.0;
  if (unit != 1.0 || reference.Matrix) return unit;
  return std::nullopt;
}

geod_geodesic EllipsoidOf(const TCoordinateSystem& system) {
  geod_geodesic geodesic;
  QUORVANE_PROJ(geod_init)(&geodesic, system.SemiMajor(), system.Flattening());
  return geodesic;
}

// Longitudes and latitudes of the points; false when one has none.
bool Geographics(const TGeoReference& reference, const TCoordinateSystem& system,
                 const std::vector<TPixelPoint>& points, std::vector<double>& longitudes,
                 std::vector<double>& latitudes) {
  for (const TPixelPoint& p : points) {
    const std::optional<TGeographic> g = system.ToOwnGeographic(PixelToMap(reference, p.X, p.Y));
    if (!g) return false;
    longitudes.push_back(g->Longitude);
    latitudes.push_back(g->Latitude);
  }
  return true;
}

}  // namespace

std::optional<double> GroundPathLength(const TGeoReference& reference,
                                       const std::vector<TPixelPoint>& points) {
  if (const TCoordinateSystem* system = Geographic(reference)) {
    std::vector<double> longitudes, latitudes;
    if (!Geographics(reference, *system, points, longitudes, latitudes)) return std::nullopt;
    const geod_geodesic geodesic = EllipsoidOf(*system);
    double length = 0.0;
    for (size_t i = 1; i < points.size(); ++i) {
      double distance = 0;
      QUORVANE_PROJ(geod_inverse)
      (&geodesic, latitudes[i - 1], longitudes[i - 1], latitudes[i], longitudes[i], &distance,
       nullptr, nullptr);
      length += distance;
    }
    return length;
  }
  const std::optional<double> unit = GridUnit(reference);
  if (!unit) return std::nullopt;
  double length = 0.0;
  for (size_t i = 1; i < points.size(); ++i) {
    const TMapPoint a = PixelToMap(reference, points[i - 1].X, points[i - 1].Y);
    const TMapPoint b = PixelToMap(reference, points[i].X, points[i].Y);
    length += std::hypot(b.East - a.East, b.North - a.North);
  }
  return length * *unit;
}

std::optional<double> GroundArea(const TGeoReference& reference,
                                 const std::vector<TPixelPoint>& points) {
  if (points.size() < 3) return std::nullopt;
  if (const TCoordinateSystem* system = Geographic(reference)) {
    std::vector<double> longitudes, latitudes;
    if (!Geographics(reference, *system, points, longitudes, latitudes)) return std::nullopt;
    const geod_geodesic geodesic = EllipsoidOf(*system);
    double area = 0, perimeter = 0;
    QUORVANE_PROJ(geod_polygonarea)
    (&geodesic, latitudes.data(), longitudes.data(), int(points.size()), &area, &perimeter);
    return std::fabs(area);
  }
  const std::optional<double> unit = GridUnit(reference);
  if (!unit) return std::nullopt;
  double twice = 0.0;
  for (size_t i = 0; i < points.size(); ++i) {
    const TPixelPoint& p = points[i];
    const TPixelPoint& q = points[i + 1 < points.size() ? i + 1 : 0];
    const TMapPoint a = PixelToMap(reference, p.X, p.Y);
    const TMapPoint b = PixelToMap(reference, q.X, q.Y);
    twice += a.East * b.North - b.East * a.North;
  }
  return std::fabs(twice / 2) * *unit * *unit;
}

std::optional<double> GroundAzimuth(const TGeoReference& reference, const TPixelPoint& from,
                                    const TPixelPoint& to) {
  const TCoordinateSystem* system = Geographic(reference);
  if (!system) return std::nullopt;
  std::vector<double> longitudes, latitudes;
  if (!Geographics(reference, *system, {from, to}, longitudes, latitudes)) return std::nullopt;
  const geod_geodesic geodesic = EllipsoidOf(*system);
  double distance = 0, azimuth = 0, end_azimuth = 0;
  QUORVANE_PROJ(geod_inverse)
  (&geodesic, latitudes[0], longitudes[0], latitudes[1], longitudes[1], &distance, &azimuth,
   &end_azimuth);
  if (distance == 0) return 0.0;
  return azimuth < 0 ? azimuth + 360 : azimuth;
}

}  // namespace quorvane
