#pragma once
// The coordinate system of a georeference as the commands print it.
#include "cli/record.h"
#include "geo/geo_reference.h"

namespace quorvane::cli {

// Code (0 for a user-defined system), name, short name, kind
// ("projected", "geographic", "other"), and the linear unit with its size in
// metres (projected) or the angular unit (others); null for a georeference
// without a system PROJ could build.
TRecord CrsRecord(const TGeoReference& reference);

}  // namespace quorvane::cli
