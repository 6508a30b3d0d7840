#pragma once
// The datums of the Measure page's list as PROJ geographic systems: each on
// its list ellipsoid, with the datum's shift to WGS 84.
#include <string>

namespace quorvane {

// A PROJ definition of list entry `datum_index` (an index outside the list
// means "North American 1927", as everywhere).
std::string DatumListDefinition(int datum_index);

// The list entry of an EPSG datum code, or -1 when the list has none.
int DatumListIndexOfEpsgDatum(int datum_code);

}  // namespace quorvane
