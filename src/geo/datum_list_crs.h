#pragma once
// The datums of the Measure page's list as PROJ geographic systems: each on
// its list ellipsoid, with the datum's shift to WGS 84.
#include <optional>
#include <string>

#include "geo/datums.h"

namespace quorvane {

// A PROJ definition of the list entry `datum`.
std::string DatumListDefinition(TDatumChoice datum);

// The list entry of an EPSG datum code; nothing when the list has none.
std::optional<TDatumChoice> DatumListEntryOfEpsgDatum(int datum_code);

}  // namespace quorvane
