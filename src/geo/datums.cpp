// Inverse transverse Mercator by the power series in D = x / N1 about the
// footpoint latitude (the form of Snyder, "Map Projections: A Working
// Manual", section 8, here carried to D^8 in latitude). The footpoint comes
// from second-order Newton steps on the meridian-arc series
// A0 phi + A2 sin 2phi + A4 sin 4phi + A6 sin 6phi (terms to e^8).
// Powers are formed by repeated multiplication, left to right.
//
// The constants of every datum are computed once, at compile time, from the
// same formulas as at run time: a conversion only looks them up.
#include "geo/datums.h"

#include <cmath>
#include <cstdlib>

namespace quorvane {

namespace {

constexpr std::array<TEllipsoid, kEllipsoidCount> kEllipsoidTable = {{
    {"Clarke 1866", 6378206.4, 6356583.8},
    {"Clarke 1880", 6378249.145, 6356514.86955},
    {"Bessel", 6377397.155, 6356078.96284},
    {"International 1967", 6378157.5, 6356772.2},
    {"International 1909", 6378388.0, 6356911.94613},
    {"WGS 72", 6378135.0, 6356750.519915},
    {"Everest", 6377276.3452, 6356075.4133},
    {"WGS 66", 6378145.0, 6356759.769356},
    {"GRS 1980", 6378137.0, 6356752.31414},
    {"WGS 84", 6378137.0, 6356752.31414},
    {"Airy", 6377563.396, 6356256.91},
    {"Modified Everest", 6377304.063, 6356103.039},
    {"Modified Airy", 6377340.189, 6356034.448},
    {"Walbeck", 6378137.0, 6356752.314245},
    {"Southeast Asia", 6378155.0, 6356773.3205},
    {"Australian National", 6378160.0, 6356774.719},
    {"Krassovsky", 6378245.0, 6356863.0188},
    {"Hough", 6378270.0, 6356794.343479},
    {"Mercury 1960", 6378166.0, 6356784.283666},
    {"Modified Mercury 1968", 6378150.0, 6356768.337303},
    {"South American 1969", 6378160.0, 6356774.7192},
    {"Sphere of Radius 6370997m", 6370997.0, 6370997.0},
}};

constexpr std::array<TGeoParams, kDatumCount> kDatumTable = {{
    {1, "Adindan"},
    {1, "Arc 1950"},
    {1, "Arc 1960"},
    {15, "Australian 1966"},
    {15, "Australian 1984"},
    {3, "Camp Area Astro"},
    {1, "Cape"},
    {4, "European 1950"},
    {3, "European 1979"},
    {3, "Geodetic 1949"},
    {3, "Hong Kong 1963"},
    {3, "Hu Tzu Shan"},
    {6, "Indian"},
    {0, "North American 1927"},
    {8, "North American 1983"},
    {1, "Oman"},
    {10, "Ordnance Survey 1936"},
    {16, "Pulkovo 1942"},
    {3, "South American 1956"},
    {20, "South American 1969"},
    {2, "Tokyo"},
    {5, "WGS 1972"},
    {9, "WGS 1984"},
}};

constexpr double kUtmScaleFactor = 0.9996;
constexpr double kFalseEasting = 500000.0;
constexpr double kSouthernFalseNorthing = 10000000.0;
constexpr double kRadiansPerDegree = 0.017453292519943295;
constexpr double kDegreesPerRadian = 57.29577951308232;
constexpr double kHalfPi = 1.5707963267948966;
// The footpoint search stops when the arc repeats exactly; this bounds it on
// inputs where it never does (NaN, or rounding that cycles).
constexpr int kFootpointRefinements = 10;

constexpr TEllipsoidConstants ComputeConstants(const TEllipsoid& ellipsoid) {
  TEllipsoidConstants k;
  const double a = ellipsoid.A;
  const double b = ellipsoid.B;
  k.A = a;
  k.B = b;
  k.K0 = kUtmScaleFactor;
  k.E2 = (a * a - b * b) / (a * a);
  k.EPrime2 = (a * a - b * b) / (b * b);
  const double e2 = k.E2;
  const double e4 = e2 * e2;
  const double e6 = e4 * e2;
  const double e8 = e6 * e2;
  const double m0 = a * (1 - e2);
  k.A0 = m0 * (1 + 3.0 / 4.0 * e2 + 45.0 / 64.0 * e4 + 175.0 / 256.0 * e6 + 11025.0 / 16384.0 * e8);
  k.A2 =
      -(m0 / 2) * (3.0 / 4.0 * e2 + 15.0 / 16.0 * e4 + 525.0 / 512.0 * e6 + 2205.0 / 2048.0 * e8);
  k.A4 = (m0 / 4) * (15.0 / 64.0 * e4 + 105.0 / 256.0 * e6 + 2205.0 / 4096.0 * e8);
  k.A6 = -(m0 / 6) * (35.0 / 512.0 * e6 + 315.0 / 2048.0 * e8);
  return k;
}

constexpr std::array<TEllipsoidConstants, kEllipsoidCount> ComputeEllipsoidConstants() {
  std::array<TEllipsoidConstants, kEllipsoidCount> table{};
  for (int e = 0; e < kEllipsoidCount; ++e) table[e] = ComputeConstants(kEllipsoidTable[e]);
  return table;
}

constexpr std::array<TEllipsoidConstants, kEllipsoidCount> kEllipsoidConstants =
    ComputeEllipsoidConstants();

constexpr std::array<TEllipsoidConstants, kDatumCount> ComputeDatumConstants() {
  std::array<TEllipsoidConstants, kDatumCount> table{};
  for (int d = 0; d < kDatumCount; ++d) {
    table[d] = kEllipsoidConstants[kDatumTable[d].Ellipsoid];
  }
  return table;
}

constexpr std::array<TEllipsoidConstants, kDatumCount> kDatumConstants = ComputeDatumConstants();

struct TFootpointStep {
  double Latitude;  // the improved estimate
  double Arc;       // meridian arc of the estimate the step started from
};

// One second-order Newton step from `phi` towards the latitude whose meridian
// arc is `target`.
inline TFootpointStep FootpointStep(const TEllipsoidConstants& k, double phi, double target) {
  const double arc = MeridianArc(k, phi);
  const double dm = target - arc;
  const double t = k.A * (1 - k.E2);
  const double s = std::sin(phi);
  const double w2 = 1 - k.E2 * (s * s);
  const double next = phi + dm * std::pow(w2, 1.5) / t +
                      dm * dm * std::cos(phi) * (-3 * k.E2) * (w2 * w2) / (t * t);
  return {next, arc};
}

// The first step, from the equator, where the arc is 0 and sin, cos and the
// powers of W^2 are exactly 0 and 1: the same arithmetic as FootpointStep
// without six transcendental calls.
inline double FootpointStepFromEquator(const TEllipsoidConstants& k, double target) {
  const double dm = target;
  const double t = k.A * (1 - k.E2);
  return 0.0 + dm / t + dm * dm * (-3 * k.E2) / (t * t);
}

}  // namespace

const std::array<TEllipsoid, kEllipsoidCount>& EllipsoidTable() {
  return kEllipsoidTable;
}
const std::array<TGeoParams, kDatumCount>& DatumTable() {
  return kDatumTable;
}

TDatumList DatumListEntries() {
  TDatumList list;
  list.Names.reserve(kDatumCount);
  for (const TGeoParams& datum : kDatumTable) list.Names.emplace_back(datum.Name);
  return list;
}

TEllipsoidConstants SelectEllipsoid(TDatumChoice datum) {
  return kDatumConstants[DatumRow(datum)];
}

TEllipsoidConstants EllipsoidConstants(int ellipsoid_index) {
  if (ellipsoid_index < 0 || ellipsoid_index >= kEllipsoidCount) {
    return kDatumConstants[DatumRow(kDefaultDatum)];
  }
  return kEllipsoidConstants[ellipsoid_index];
}

double MeridianArc(const TEllipsoidConstants& k, double phi) {
  return k.A0 * phi + k.A2 * std::sin(2 * phi) + k.A4 * std::sin(4 * phi) +
         k.A6 * std::sin(6 * phi);
}

TGeographic UtmToGeographic(int32_t zone, bool north, double easting, double northing,
                            TDatumChoice datum) {
  return UtmToGeographic(kDatumConstants[DatumRow(datum)], zone, north, easting, northing);
}

TGeographic UtmToGeographic(const TEllipsoidConstants& k, int32_t zone, bool north, double easting,
                            double northing) {
  // 64-bit so that no zone value can overflow; zone 0 gives -183 degrees.
  const int64_t zone_number = std::llabs(int64_t{zone});
  const double central_meridian = double(zone_number * 6 - 183) * kRadiansPerDegree;
  const double false_northing = north ? 0.0 : kSouthernFalseNorthing;
  const double x = (easting - kFalseEasting) / k.K0;
  const double y = (northing - false_northing) / k.K0;

  // Footpoint latitude: stop as soon as a step starts from the same arc as
  // the step before it (the first step's reference is y itself).
  double phi = FootpointStepFromEquator(k, y);
  double previous_arc = y;
  for (int round = 0; round < kFootpointRefinements; ++round) {
    const TFootpointStep step = FootpointStep(k, phi, y);
    phi = step.Latitude;
    if (step.Arc == previous_arc) break;
    previous_arc = step.Arc;
  }
  // Beyond a pole the series is evaluated at the pole itself.
  if (phi > kHalfPi) phi = kHalfPi;
  if (phi < -kHalfPi) phi = -kHalfPi;

  const double s = std::sin(phi);
  const double c = std::cos(phi);
  const double t = std::tan(phi);
  const double T = t * t;
  const double C = k.EPrime2 * (c * c);
  const double n1 = k.A / std::sqrt(1 - k.E2 * (s * s));
  const double D = x / n1;

  const double D2 = D * D;
  const double D3 = D2 * D;
  const double D4 = D3 * D;
  const double D5 = D4 * D;
  const double D6 = D5 * D;
  const double D8 = D6 * D2;
  const double T2 = T * T;
  const double T3 = T2 * T;
  const double C2 = C * C;
  const double C3 = C2 * C;
  const double C4 = C3 * C;

  const double longitude =
      central_meridian +
      (D - D3 * (1 + 2 * T + C) / 6 + D5 * (5 + 28 * T + 24 * T2 + 6 * C + 8 * T * C) / 120) / c;

  const double G = t * (1 + C);
  const double latitude =
      phi - G * D2 / 2 + G * D4 * (5 + 3 * T + C - 4 * C2 - 9 * T * C) / 24 -
      G * D6 *
          (61 + 90 * T + 46 * C + 45 * T2 - 252 * T * C - 3 * C2 + 100 * C3 - 66 * T * C2 -
           90 * T2 * C + 88 * C4 + 225 * T2 * C2 + 84 * T * C3 - 192 * T * C4) /
          720 +
      G * D8 * (1385 + 3633 * T + 4095 * T2 + 1575 * T3) / 40320;

  return {longitude * kDegreesPerRadian, latitude * kDegreesPerRadian};
}

}  // namespace quorvane
