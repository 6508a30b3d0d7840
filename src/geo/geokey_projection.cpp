// From GeoTIFF's coordinate transformation codes and their parameter keys
// to PROJ's projection definitions.
#include <cmath>
#include <cstdio>
#include <initializer_list>
#include <numbers>

#include "geo/geokey_crs.h"

namespace quorvane {

namespace {

// Reads parameters by the first key present of a list, in the units PROJ
// strings take.
class TParameters {
 public:
  TParameters(const TGeoKeySet& keys, double radians_per_angle, double metres_per_unit)
      : keys_(keys),
        degrees_per_angle_(radians_per_angle * 180 / std::numbers::pi),
        metres_per_unit_(metres_per_unit) {}

  std::optional<double> First(std::initializer_list<uint16_t> ids) const {
    for (uint16_t id : ids) {
      if (auto value = keys_.Double(id)) return value;
    }
    return std::nullopt;
  }
  double Angle(std::initializer_list<uint16_t> ids) const {
    return First(ids).value_or(0.0) * degrees_per_angle_;
  }
  double Distance(std::initializer_list<uint16_t> ids) const {
    return First(ids).value_or(0.0) * metres_per_unit_;
  }
  double Scale(std::initializer_list<uint16_t> ids) const { return First(ids).value_or(1.0); }

 private:
  const TGeoKeySet& keys_;
  double degrees_per_angle_;
  double metres_per_unit_;
};

std::string Term(const char* name, double value) {
  char text[64];
  std::snprintf(text, sizeof text, " +%s=%.17g", name, value);
  return text;
}

// The false easting and northing, by whichever keys the method's variant
// uses.
std::string FalseOrigin(const TParameters& p) {
  return Term("x_0", p.Distance({kProjFalseEastingGeoKey, kProjFalseOriginEastingGeoKey,
                                 kProjCenterEastingGeoKey})) +
         Term("y_0", p.Distance({kProjFalseNorthingGeoKey, kProjFalseOriginNorthingGeoKey,
                                 kProjCenterNorthingGeoKey}));
}

std::string NaturalOrigin(const TParameters& p) {
  return Term("lat_0",
              p.Angle({kProjNatOriginLatGeoKey, kProjFalseOriginLatGeoKey, kProjCenterLatGeoKey})) +
         Term("lon_0", p.Angle({kProjNatOriginLongGeoKey, kProjFalseOriginLongGeoKey,
                                kProjCenterLongGeoKey}));
}

std::string CenterOrigin(const TParameters& p) {
  return Term("lat_0",
              p.Angle({kProjCenterLatGeoKey, kProjNatOriginLatGeoKey, kProjFalseOriginLatGeoKey})) +
         Term("lon_0", p.Angle({kProjCenterLongGeoKey, kProjNatOriginLongGeoKey,
                                kProjFalseOriginLongGeoKey}));
}

std::string TwoParallels(const TParameters& p) {
  return Term("lat_1", p.Angle({kProjStdParallel1GeoKey})) +
         Term("lat_2", p.Angle({kProjStdParallel2GeoKey}));
}

std::string Mercator(const TParameters& p) {
  const std::string centre =
      Term("lon_0", p.Angle({kProjNatOriginLongGeoKey, kProjCenterLongGeoKey}));
  // Variant B names its standard parallel; variant A its scale.
  if (p.First({kProjStdParallel1GeoKey}))
    return "merc" + centre + Term("lat_ts", p.Angle({kProjStdParallel1GeoKey}));
  return "merc" + centre +
         Term("k_0", p.Scale({kProjScaleAtNatOriginGeoKey, kProjScaleAtCenterGeoKey}));
}

std::string PolarStereographic(const TParameters& p) {
  const double latitude = p.Angle({kProjNatOriginLatGeoKey, kProjCenterLatGeoKey});
  const std::string pole =
      Term("lat_0", latitude < 0 ? -90.0 : 90.0) +
      Term("lon_0", p.Angle({kProjStraightVertPoleLongGeoKey, kProjNatOriginLongGeoKey}));
  // At the pole itself the origin's scale applies (variant A), elsewhere the
  // latitude is the one of true scale (variant B).
  if (std::fabs(std::fabs(latitude) - 90.0) < 1e-9)
    return "stere" + pole + Term("k_0", p.Scale({kProjScaleAtNatOriginGeoKey}));
  return "stere" + pole + Term("lat_ts", latitude);
}

std::string ObliqueMercator(const TParameters& p) {
  const double azimuth = p.Angle({kProjAzimuthAngleGeoKey});
  return "omerc" + Term("lat_0", p.Angle({kProjCenterLatGeoKey, kProjNatOriginLatGeoKey})) +
         Term("lonc", p.Angle({kProjCenterLongGeoKey, kProjNatOriginLongGeoKey})) +
         Term("alpha", azimuth) +
         Term("gamma", p.First({kProjRectifiedGridAngleGeoKey})
                           ? p.Angle({kProjRectifiedGridAngleGeoKey})
                           : azimuth) +
         Term("k_0", p.Scale({kProjScaleAtCenterGeoKey, kProjScaleAtNatOriginGeoKey}));
}

// The method and its parameters without the false origin; empty when
// unknown.
std::string Method(uint16_t transformation, const TParameters& p) {
  const std::string central =
      Term("lon_0", p.Angle({kProjNatOriginLongGeoKey, kProjCenterLongGeoKey}));
  switch (transformation) {
    case 1:  // transverse Mercator
      return "tmerc" + NaturalOrigin(p) + Term("k_0", p.Scale({kProjScaleAtNatOriginGeoKey}));
    case 27:  // transverse Mercator, south oriented
      return "tmerc" + NaturalOrigin(p) + Term("k_0", p.Scale({kProjScaleAtNatOriginGeoKey})) +
             " +axis=wsu";
    case 3:
      return ObliqueMercator(p);
    case 7:
      return Mercator(p);
    case 8:  // Lambert conformal conic, two standard parallels
      return "lcc" + TwoParallels(p) +
             Term("lat_0", p.Angle({kProjFalseOriginLatGeoKey, kProjNatOriginLatGeoKey})) +
             Term("lon_0", p.Angle({kProjFalseOriginLongGeoKey, kProjNatOriginLongGeoKey}));
    case 9: {  // Lambert conformal conic, one standard parallel
      const double latitude = p.Angle({kProjNatOriginLatGeoKey, kProjFalseOriginLatGeoKey});
      return "lcc" + Term("lat_1", latitude) + Term("lat_0", latitude) +
             Term("lon_0", p.Angle({kProjNatOriginLongGeoKey, kProjFalseOriginLongGeoKey})) +
             Term("k_0", p.Scale({kProjScaleAtNatOriginGeoKey}));
    }
    case 10:
      return "laea" + CenterOrigin(p);
    case 11:
      return "aea" + TwoParallels(p) + NaturalOrigin(p);
    case 12:
      return "aeqd" + CenterOrigin(p);
    case 13:
      return "eqdc" + TwoParallels(p) + NaturalOrigin(p);
    case 14:
      return "stere" + CenterOrigin(p) +
             Term("k_0", p.Scale({kProjScaleAtNatOriginGeoKey, kProjScaleAtCenterGeoKey}));
    case 15:
      return PolarStereographic(p);
    case 16:
      return "sterea" + NaturalOrigin(p) + Term("k_0", p.Scale({kProjScaleAtNatOriginGeoKey}));
    case 17:
      return "eqc" +
             Term("lat_ts", p.Angle({kProjStdParallel1GeoKey, kProjNatOriginLatGeoKey,
                                     kProjCenterLatGeoKey})) +
             central;
    case 18:
      return "cass" + NaturalOrigin(p);
    case 19:
      return "gnom" + CenterOrigin(p);
    case 20:
      return "mill" + central;
    case 21:
      return "ortho" + CenterOrigin(p);
    case 22:
      return "poly" + NaturalOrigin(p);
    case 23:
      return "robin" + central;
    case 24:
      return "sinu" + central;
    case 25:
      return "vandg" + central;
    case 26:
      return "nzmg" + NaturalOrigin(p);
    case 28:
      return "cea" + Term("lat_ts", p.Angle({kProjStdParallel1GeoKey})) + central;
    default:
      return {};
  }
}

}  // namespace

std::string ProjectionDefinition(const TGeoKeySet& keys, double radians_per_angle_unit,
                                 double metres_per_linear_unit) {
  const std::optional<uint16_t> transformation = keys.Short(kProjCoordTransGeoKey);
  if (!transformation) return {};
  const TParameters parameters(keys, radians_per_angle_unit, metres_per_linear_unit);
  const std::string method = Method(*transformation, parameters);
  if (method.empty()) return {};
  return "+proj=" + method + FalseOrigin(parameters) + Term("to_meter", metres_per_linear_unit) +
         // A stand-in ellipsoid; the caller puts the system's own datum in.
         " +ellps=WGS84 +no_defs +type=crs";
}

}  // namespace quorvane
