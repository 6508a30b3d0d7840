#pragma once
// Lengths, areas and azimuths on the ground for georeferences whose grid is
// not plain metres: geodesics on the ellipsoid of a geographic system, the
// grid's own unit of a projected one, a matrix's skewed pixels. Each gives
// nothing where the Parts' grid measure applies as it is.
#include <optional>
#include <vector>

#include "geo/geo_reference.h"
#include "geo/measure_tool.h"

namespace quorvane {

// Metres.
std::optional<double> GroundPathLength(const TGeoReference& reference,
                                       const std::vector<TPixelPoint>& points);
// Square metres of the polygon closed from the last point to the first.
std::optional<double> GroundArea(const TGeoReference& reference,
                                 const std::vector<TPixelPoint>& points);
// Degrees clockwise from north at `from`, in [0, 360): the geodesic's on a
// geographic system.
std::optional<double> GroundAzimuth(const TGeoReference& reference, const TPixelPoint& from,
                                    const TPixelPoint& to);

}  // namespace quorvane
