#include "geo/coordinate_system.h"

#include <cmath>
#include <utility>

#include "geo/datum_list_crs.h"
#include "geo/geo_reference.h"
#include "geo/geokey_crs.h"
#include "geo/proj_handle.h"

namespace quorvane {

struct TCoordinateSystem::TState {
  TProjContext Context = NewProjContext();
  TProjObject Crs;
  TCrsKind Kind = TCrsKind::None;
  int Code = 0;
  std::string Name, ShortName, UnitName = "metre";
  double MetresPerUnit = 1.0;
  std::optional<TDatumChoice> ListDatum;
  double SemiMajor = 0, Flattening = 0;
  // Made on first use and kept: a mouse move then costs one proj_trans.
  TProjObject ToOwn;
  bool OwnTried = false;
  std::array<TProjObject, kDatumCount> ToDatum;
  std::array<bool, kDatumCount> DatumTried{};
};

namespace {

TCrsKind KindOf(const PJ* crs) {
  switch (QUORVANE_PROJ(proj_get_type)(crs)) {
    case PJ_TYPE_PROJECTED_CRS:
      return TCrsKind::Projected;
    case PJ_TYPE_GEOGRAPHIC_2D_CRS:
    case PJ_TYPE_GEOGRAPHIC_3D_CRS:
      return TCrsKind::Geographic;
    default:
      return TCrsKind::Other;
  }
}

int DatumCode(PJ_CONTEXT* context, const PJ* crs) {
  TProjObject ensemble(QUORVANE_PROJ(proj_crs_get_datum_ensemble)(context, crs));
  if (int code = ProjEpsgCode(ensemble.get())) return code;
  TProjObject datum(QUORVANE_PROJ(proj_crs_get_datum_forced)(context, crs));
  return ProjEpsgCode(datum.get());
}

std::string MethodName(PJ_CONTEXT* context, const PJ* crs) {
  TProjObject conversion(QUORVANE_PROJ(proj_crs_get_coordoperation)(context, crs));
  const char* method = nullptr;
  if (conversion &&
      QUORVANE_PROJ(proj_coordoperation_get_method_info)(context, conversion.get(), &method,
                                                         nullptr, nullptr) &&
      method)
    return method;
  return "Geographic";
}

// A transform taking x east-ish, y north-ish as files store them, to
// longitude then latitude in degrees.
TProjObject Transform(PJ_CONTEXT* context, const PJ* from, const PJ* to) {
  if (!from || !to) return {};
  TProjObject raw(
      QUORVANE_PROJ(proj_create_crs_to_crs_from_pj)(context, from, to, nullptr, nullptr));
  if (!raw) return {};
  return TProjObject(QUORVANE_PROJ(proj_normalize_for_visualization)(context, raw.get()));
}

std::optional<TGeographic> Apply(const TProjObject& transform, const TMapPoint& map) {
  if (!transform) return std::nullopt;
  const PJ_COORD out = QUORVANE_PROJ(proj_trans)(
      transform.get(), PJ_FWD, QUORVANE_PROJ(proj_coord)(map.East, map.North, 0, 0));
  if (!std::isfinite(out.xy.x) || !std::isfinite(out.xy.y) || out.xy.x == HUGE_VAL)
    return std::nullopt;
  return TGeographic{out.lp.lam, out.lp.phi};
}

}  // namespace

TCoordinateSystem::TCoordinateSystem(TGeoKeySet keys)
    : keys_(std::move(keys)), state_(std::make_unique<TState>()) {
  TState& s = *state_;
  PJ_CONTEXT* context = s.Context.get();
  if (!context) return;
  s.Crs = CrsFromGeoKeys(context, keys_);
  if (!s.Crs) return;
  // A system bound to WGS 84 by shift terms is described by its base.
  TProjObject base(QUORVANE_PROJ(proj_get_type)(s.Crs.get()) == PJ_TYPE_BOUND_CRS
                       ? QUORVANE_PROJ(proj_get_source_crs)(context, s.Crs.get())
                       : QUORVANE_PROJ(proj_clone)(context, s.Crs.get()));
  s.Kind = KindOf(base.get());
  s.Code = ProjEpsgCode(base.get());
  if (const char* name = QUORVANE_PROJ(proj_get_name)(base.get())) s.Name = name;
  s.ShortName = s.Code ? "EPSG:" + std::to_string(s.Code)
                       : "User defined: " + MethodName(context, base.get());
  TProjObject axes(QUORVANE_PROJ(proj_crs_get_coordinate_system)(context, base.get()));
  const char* unit = nullptr;
  double factor = 0;
  if (axes &&
      QUORVANE_PROJ(proj_cs_get_axis_info)(context, axes.get(), 0, nullptr, nullptr, nullptr,
                                           &factor, &unit, nullptr, nullptr) &&
      factor > 0) {
    if (unit) s.UnitName = unit;
    if (s.Kind == TCrsKind::Projected) s.MetresPerUnit = factor;
  }
  s.ListDatum = DatumListEntryOfEpsgDatum(DatumCode(context, base.get()));
  TProjObject ellipsoid(QUORVANE_PROJ(proj_get_ellipsoid)(context, base.get()));
  double b = 0, inverse = 0;
  int computed = 0;
  if (ellipsoid && QUORVANE_PROJ(proj_ellipsoid_get_parameters)(
                       context, ellipsoid.get(), &s.SemiMajor, &b, &computed, &inverse))
    s.Flattening = inverse > 0 ? 1.0 / inverse : 0.0;
}

TCoordinateSystem::~TCoordinateSystem() = default;

int32_t TCoordinateSystem::ProjectedCode() const {
  return keys_.Short(kProjectedCSTypeGeoKey).value_or(0);
}
bool TCoordinateSystem::IsTableUtm() const {
  return IsUtmProjectedCS(ProjectedCode());
}
bool TCoordinateSystem::Usable() const {
  return bool(state_->Crs);
}
TCrsKind TCoordinateSystem::Kind() const {
  return state_->Kind;
}
int TCoordinateSystem::Code() const {
  return state_->Code;
}
std::string TCoordinateSystem::Name() const {
  return state_->Name;
}
std::string TCoordinateSystem::ShortName() const {
  return state_->ShortName;
}
std::string TCoordinateSystem::UnitName() const {
  return state_->UnitName;
}
double TCoordinateSystem::MetresPerUnit() const {
  return state_->MetresPerUnit;
}
std::optional<TDatumChoice> TCoordinateSystem::ListDatum() const {
  return state_->ListDatum;
}
double TCoordinateSystem::SemiMajor() const {
  return state_->SemiMajor;
}
double TCoordinateSystem::Flattening() const {
  return state_->Flattening;
}

std::optional<TGeographic> TCoordinateSystem::ToOwnGeographic(const TMapPoint& map) const {
  TState& s = *state_;
  if (!s.OwnTried) {
    s.OwnTried = true;
    PJ_CONTEXT* context = s.Context.get();
    TProjObject geodetic(s.Crs ? QUORVANE_PROJ(proj_crs_get_geodetic_crs)(context, s.Crs.get())
                               : nullptr);
    s.ToOwn = Transform(context, s.Crs.get(), geodetic.get());
  }
  return Apply(s.ToOwn, map);
}

std::optional<TGeographic> TCoordinateSystem::ToDatum(const TMapPoint& map,
                                                      TDatumChoice datum) const {
  const size_t row = DatumRow(datum);
  if (state_->ListDatum && DatumRow(*state_->ListDatum) == row) return ToOwnGeographic(map);
  TState& s = *state_;
  if (!s.DatumTried[row]) {
    s.DatumTried[row] = true;
    PJ_CONTEXT* context = s.Context.get();
    TProjObject target(QUORVANE_PROJ(proj_create)(context, DatumListDefinition(datum).c_str()));
    s.ToDatum[row] = Transform(context, s.Crs.get(), target.get());
  }
  return Apply(s.ToDatum[row], map);
}

std::shared_ptr<const TCoordinateSystem> CoordinateSystemOf(const TGeoTiffTags& tags) {
  const bool any_tag = tags.KeyEntryCount > 0 || tags.TiePointCount > 0 ||
                       tags.TransformationCount > 0 || tags.PixelScale != std::array<double, 3>{};
  if (!any_tag) return nullptr;
  return std::make_shared<const TCoordinateSystem>(GeoKeysOf(tags));
}

}  // namespace quorvane
