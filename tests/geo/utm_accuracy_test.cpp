// Compares the UTM conversion with PROJ's inverse transverse Mercator
// (`proj -I`), an independent implementation (Poder/Engsager series, accurate
// to far below a millimetre across and beyond a zone). Skipped when PROJ's
// command-line tool is not installed.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "geo/datums.h"
#include "support/outside_tools.h"

namespace quorvane {
namespace {

struct TGridPoint {
  double East, North;
};

struct TLonLat {
  double Longitude, Latitude;
};

// Runs `proj -I` with `definition` over `points`; the longitudes are not
// wrapped (+over), like ours.
std::vector<TLonLat> ProjInverse(const std::string& definition,
                                 const std::vector<TGridPoint>& points) {
  const std::string base = ::testing::TempDir() + "quorvane_utm_" + std::to_string(::getpid());
  {
    std::ofstream in(base + ".in");
    in.precision(17);
    for (const TGridPoint& p : points) in << p.East << ' ' << p.North << '\n';
  }
  const std::string command =
      "proj -I -f %.12f " + definition + " +over < " + base + ".in > " + base + ".out 2>/dev/null";
  EXPECT_EQ(std::system(command.c_str()), 0) << command;
  std::vector<TLonLat> result;
  std::ifstream out(base + ".out");
  TLonLat value;
  while (out >> value.Longitude >> value.Latitude) result.push_back(value);
  std::remove((base + ".in").c_str());
  std::remove((base + ".out").c_str());
  return result;
}

std::string ProjDefinition(const TEllipsoid& ellipsoid, int zone, bool south) {
  std::ostringstream text;
  text.precision(17);
  if (ellipsoid.A == ellipsoid.B) {
    // PROJ's utm refuses a sphere; the same grid spelled out as tmerc.
    text << "+proj=tmerc +lat_0=0 +lon_0=" << zone * 6 - 183
         << " +k_0=0.9996 +x_0=500000 +y_0=" << (south ? 10000000 : 0);
  } else {
    text << "+proj=utm +zone=" << zone << (south ? " +south" : "");
  }
  text << " +a=" << ellipsoid.A << " +b=" << ellipsoid.B;
  return text.str();
}

// Ground distance between two geographic positions, metres, good enough to
// state a difference of a few millimetres or metres.
double GroundDifference(const TEllipsoid& ellipsoid, const TLonLat& a, const TLonLat& b) {
  const double metres_per_degree = ellipsoid.A * M_PI / 180;
  const double north = (a.Latitude - b.Latitude) * metres_per_degree;
  const double east =
      (a.Longitude - b.Longitude) * metres_per_degree * std::cos(b.Latitude * M_PI / 180);
  return std::hypot(north, east);
}

struct TWorst {
  double Metres = 0;
  std::string Where;
  void Add(double metres, const std::string& where) {
    if (!(metres <= Metres)) {
      Metres = metres;
      Where = where;
    }
  }
};

// The tolerances follow the series: it is cut after the D^5 term in
// longitude and the D^8 term in latitude, so its error grows steeply with the
// distance from the central meridian and is negligible near it. Measured
// maxima over this grid (22 ellipsoids, both hemispheres): 0.05 mm within 1
// degree of the meridian, 0.35 mm out to the zone edge at 3 degrees, 4.6 cm at
// 6 degrees; each bound below is about twice that. Far beyond the zone near a
// pole the series diverges; there only finiteness is asked for.
TEST(UtmAccuracy, AgreesWithProjOnEveryEllipsoidAcrossTheGrid) {
  QUORVANE_TOOL_OR_SKIP("proj");
  std::vector<TGridPoint> grid;
  for (double east = 160000; east <= 840000; east += 20000) {
    for (double north = 0; north <= 9300000; north += 150000) grid.push_back({east, north});
  }
  TWorst near_meridian, to_zone_edge, to_double_width, everywhere;
  for (int e = 0; e < kEllipsoidCount; ++e) {
    const TEllipsoid& ellipsoid = EllipsoidTable()[e];
    const TEllipsoidConstants constants = EllipsoidConstants(e);
    for (int zone : {1, 33, 60}) {
      for (bool south : {false, true}) {
        const std::vector<TLonLat> expected =
            ProjInverse(ProjDefinition(ellipsoid, zone, south), grid);
        ASSERT_EQ(expected.size(), grid.size());
        for (size_t i = 0; i < grid.size(); ++i) {
          const TGeographic ours =
              UtmToGeographic(constants, zone, !south, grid[i].East, grid[i].North);
          ASSERT_TRUE(std::isfinite(ours.Longitude) && std::isfinite(ours.Latitude));
          const double metres =
              GroundDifference(ellipsoid, {ours.Longitude, ours.Latitude}, expected[i]);
          std::ostringstream where;
          where << ellipsoid.Name << ", zone " << zone << (south ? " south" : " north") << ", E "
                << grid[i].East << ", N " << grid[i].North << " (latitude " << expected[i].Latitude
                << ")";
          everywhere.Add(metres, where.str());
          const double off_meridian = std::fabs(expected[i].Longitude - (zone * 6 - 183));
          if (std::fabs(expected[i].Latitude) > 84) continue;
          if (off_meridian <= 1) near_meridian.Add(metres, where.str());
          if (off_meridian <= 3) to_zone_edge.Add(metres, where.str());
          if (off_meridian <= 6) to_double_width.Add(metres, where.str());
        }
      }
    }
  }
  std::printf(
      "largest difference from PROJ, |latitude| <= 84:\n"
      "  within 1 degree of the central meridian: %.3g m at %s\n"
      "  within 3 degrees (zone edge): %.3g m at %s\n"
      "  within 6 degrees: %.3g m at %s\n"
      "  whole grid: %.3g m at %s\n",
      near_meridian.Metres, near_meridian.Where.c_str(), to_zone_edge.Metres,
      to_zone_edge.Where.c_str(), to_double_width.Metres, to_double_width.Where.c_str(),
      everywhere.Metres, everywhere.Where.c_str());
  EXPECT_LT(near_meridian.Metres, 0.0001) << near_meridian.Where;
  EXPECT_LT(to_zone_edge.Metres, 0.001) << to_zone_edge.Where;
  EXPECT_LT(to_double_width.Metres, 0.1) << to_double_width.Where;
}

}  // namespace
}  // namespace quorvane
