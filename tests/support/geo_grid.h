#pragma once
// The grid part of a georeference (origin, scale, zone, hemisphere), for
// comparing a loaded or saved one with a record written in a test: what the
// file said beyond it (its coordinate system, matrix, ...) is compared
// where a test is about that.
#include "geo/geo_reference.h"

namespace quorvane::test_support {

inline TGeoReference GridPart(const TGeoReference& r) {
  return {r.BaseX, r.BaseY, r.ScaleX, r.ScaleY, r.Zone, r.North};
}

}  // namespace quorvane::test_support
