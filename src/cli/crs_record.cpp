#include "cli/crs_record.h"

#include "geo/coordinate_system.h"

namespace quorvane::cli {

namespace {
const char* KindName(TCrsKind kind) {
  switch (kind) {
    case TCrsKind::Projected:
      return "projected";
    case TCrsKind::Geographic:
      return "geographic";
    default:
      return "other";
  }
}
}  // namespace

TRecord CrsRecord(const TGeoReference& reference) {
  const TCoordinateSystem* system = reference.System.get();
  if (!system || !system->Usable()) return nullptr;
  TRecord record = {{"code", system->Code()},
                    {"name", system->Name()},
                    {"short_name", system->ShortName()},
                    {"kind", KindName(system->Kind())}};
  if (system->Kind() == TCrsKind::Projected) {
    record["linear_unit"] = system->UnitName();
    record["metres_per_unit"] = system->MetresPerUnit();
  } else {
    record["angular_unit"] = system->UnitName();
  }
  return record;
}

}  // namespace quorvane::cli
