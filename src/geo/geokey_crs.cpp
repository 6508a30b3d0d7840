// Builds the PROJ coordinate reference system a file's GeoKeys describe.
#include "geo/geokey_crs.h"

#include <numbers>

namespace quorvane {

namespace {

constexpr double kRadiansPerDegree = std::numbers::pi / 180;
constexpr const char kEsriWktMark[] = "ESRI PE String = ";

// A unit's size from PROJ's database: metres for lengths, radians for
// angles; `fallback` for a code it does not know.
double UnitSize(PJ_CONTEXT* context, std::optional<uint16_t> code, double fallback) {
  if (!code) return fallback;
  const std::string text = std::to_string(*code);
  double factor = 0;
  if (!QUORVANE_PROJ(proj_uom_get_info_from_database)(context, "EPSG", text.c_str(), nullptr,
                                                      &factor, nullptr) ||
      factor <= 0)
    return fallback;
  return factor;
}

double AngleUnit(PJ_CONTEXT* context, const TGeoKeySet& keys) {
  return UnitSize(context, keys.Code(kGeogAngularUnitsGeoKey), kRadiansPerDegree);
}

double LinearUnit(PJ_CONTEXT* context, const TGeoKeySet& keys) {
  if (keys.Short(kProjLinearUnitsGeoKey) == kUserDefined) {
    const double size = keys.Double(kProjLinearUnitSizeGeoKey).value_or(1.0);
    return size > 0 ? size : 1.0;
  }
  return UnitSize(context, keys.Code(kProjLinearUnitsGeoKey), 1.0);
}

struct TEllipsoidShape {
  double SemiMajor = 6378137.0;  // WGS 84 when the keys say nothing
  double InverseFlattening = 298.257223563;
};

TEllipsoidShape EllipsoidOf(PJ_CONTEXT* context, const TGeoKeySet& keys) {
  TEllipsoidShape shape;
  if (auto code = keys.Code(kGeogEllipsoidGeoKey)) {
    TProjObject ellipsoid = ProjFromDatabase(context, *code, PJ_CATEGORY_ELLIPSOID);
    double a = 0, b = 0, inverse = 0;
    int computed = 0;
    if (ellipsoid && QUORVANE_PROJ(proj_ellipsoid_get_parameters)(context, ellipsoid.get(), &a, &b,
                                                                  &computed, &inverse))
      return {a, inverse};
  }
  if (auto a = keys.Double(kGeogSemiMajorAxisGeoKey)) {
    shape.SemiMajor = *a;
    if (auto inverse = keys.Double(kGeogInvFlatteningGeoKey)) {
      shape.InverseFlattening = *inverse;
    } else if (auto b = keys.Double(kGeogSemiMinorAxisGeoKey)) {
      shape.InverseFlattening = *b == *a ? 0.0 : *a / (*a - *b);
    }
  }
  return shape;
}

// Degrees east of Greenwich.
double PrimeMeridianOf(PJ_CONTEXT* context, const TGeoKeySet& keys) {
  if (auto code = keys.Code(kGeogPrimeMeridianGeoKey)) {
    TProjObject meridian = ProjFromDatabase(context, *code, PJ_CATEGORY_PRIME_MERIDIAN);
    double longitude = 0, factor = 0;
    if (meridian && QUORVANE_PROJ(proj_prime_meridian_get_parameters)(context, meridian.get(),
                                                                      &longitude, &factor, nullptr))
      return longitude * factor / kRadiansPerDegree;
  }
  return keys.Double(kGeogPrimeMeridianLongGeoKey).value_or(0.0) * AngleUnit(context, keys) /
         kRadiansPerDegree;
}

TProjObject GeodeticFromKeys(PJ_CONTEXT* context, const TGeoKeySet& keys) {
  if (auto code = keys.Code(kGeographicTypeGeoKey)) {
    if (TProjObject crs = ProjFromDatabase(context, *code, PJ_CATEGORY_CRS)) return crs;
  }
  // A known datum has the geographic system numbered 2000 below it.
  if (auto datum = keys.Code(kGeogGeodeticDatumGeoKey); datum && *datum >= 6000 && *datum < 7000) {
    if (TProjObject crs = ProjFromDatabase(context, *datum - 2000, PJ_CATEGORY_CRS)) return crs;
  }
  const TEllipsoidShape shape = EllipsoidOf(context, keys);
  const std::string name = keys.Text(kGeogCitationGeoKey).value_or("User defined");
  TProjObject axes(QUORVANE_PROJ(proj_create_ellipsoidal_2D_cs)(
      context, PJ_ELLPS2D_LONGITUDE_LATITUDE, "degree", kRadiansPerDegree));
  return TProjObject(QUORVANE_PROJ(proj_create_geographic_crs)(
      context, name.c_str(), "User defined", "User defined", shape.SemiMajor,
      shape.InverseFlattening, "Reference meridian", PrimeMeridianOf(context, keys), "degree",
      kRadiansPerDegree, axes.get()));
}

TProjObject ProjectedFromKeys(PJ_CONTEXT* context, const TGeoKeySet& keys, const PJ* geodetic) {
  const double metres = LinearUnit(context, keys);
  const std::string name =
      keys.Text(kPCSCitationGeoKey).value_or(keys.Text(kGTCitationGeoKey).value_or("User defined"));
  // A projection of the database (a UTM zone, a state plane zone...).
  if (auto code = keys.Code(kProjectionGeoKey)) {
    TProjObject conversion = ProjFromDatabase(context, *code, PJ_CATEGORY_COORDINATE_OPERATION);
    TProjObject axes(QUORVANE_PROJ(proj_create_cartesian_2D_cs)(
        context, PJ_CART2D_EASTING_NORTHING, metres == 1.0 ? "metre" : "unit", metres));
    if (conversion)
      return TProjObject(QUORVANE_PROJ(proj_create_projected_crs)(context, name.c_str(), geodetic,
                                                                  conversion.get(), axes.get()));
  }
  const std::string definition = ProjectionDefinition(keys, AngleUnit(context, keys), metres);
  if (definition.empty()) return {};
  TProjObject projected(QUORVANE_PROJ(proj_create)(context, definition.c_str()));
  if (!projected) return {};
  TProjObject altered(
      QUORVANE_PROJ(proj_crs_alter_geodetic_crs)(context, projected.get(), geodetic));
  if (!altered) return {};
  return TProjObject(QUORVANE_PROJ(proj_alter_name)(context, altered.get(), name.c_str()));
}

// Some writers keep the whole system as WKT in a citation.
TProjObject FromEsriCitation(PJ_CONTEXT* context, const TGeoKeySet& keys) {
  for (uint16_t id : {kPCSCitationGeoKey, kGTCitationGeoKey, kGeogCitationGeoKey}) {
    const std::optional<std::string> text = keys.Text(id);
    if (!text) continue;
    const size_t mark = text->find(kEsriWktMark);
    if (mark == std::string::npos) continue;
    const std::string wkt = text->substr(mark + sizeof kEsriWktMark - 1);
    if (TProjObject crs{QUORVANE_PROJ(proj_create)(context, wkt.c_str())}) return crs;
  }
  return {};
}

}  // namespace

TProjObject CrsFromGeoKeys(PJ_CONTEXT* context, const TGeoKeySet& keys) {
  const std::optional<uint16_t> model = keys.Short(kGTModelTypeGeoKey);
  if (model != kModelTypeGeographic) {
    if (auto code = keys.Code(kProjectedCSTypeGeoKey)) {
      if (TProjObject crs = ProjFromDatabase(context, *code, PJ_CATEGORY_CRS)) return crs;
    }
  }
  if (TProjObject crs = FromEsriCitation(context, keys)) return crs;
  const bool projected = model == kModelTypeProjected || keys.Short(kProjectedCSTypeGeoKey) ||
                         keys.Short(kProjectionGeoKey) || keys.Short(kProjCoordTransGeoKey);
  const bool geographic = model == kModelTypeGeographic || keys.Short(kGeographicTypeGeoKey) ||
                          keys.Short(kGeogGeodeticDatumGeoKey) || keys.Find(kGeogEllipsoidGeoKey);
  if (!projected && !geographic) return {};
  TProjObject geodetic = GeodeticFromKeys(context, keys);
  if (!geodetic || model == kModelTypeGeographic || !projected) return geodetic;
  return ProjectedFromKeys(context, keys, geodetic.get());
}

}  // namespace quorvane
