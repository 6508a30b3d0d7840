#pragma once
// The PROJ coordinate reference system that a file's GeoKeys describe: by
// its EPSG code where it has one, else from the user-defined keys
// (projection method and parameters, datum, ellipsoid, prime meridian,
// units).
#include <string>

#include "geo/geokey_set.h"
#include "geo/proj_handle.h"

namespace quorvane {

// Empty when the keys describe no system PROJ can build.
TProjObject CrsFromGeoKeys(PJ_CONTEXT* context, const TGeoKeySet& keys);

// The PROJ string of a user-defined projection (ProjCoordTransGeoKey and its
// parameters), angles in degrees and distances in metres; empty for a
// method this program does not know.
std::string ProjectionDefinition(const TGeoKeySet& keys, double radians_per_angle_unit,
                                 double metres_per_linear_unit);

}  // namespace quorvane
