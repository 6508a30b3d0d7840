// A test of the raster layer that reaches up into the geo layer: its
// program must not build (tests/CMakeLists.txt).
#include <gtest/gtest.h>

#include "geo/geo_reference.h"

TEST(UpwardInclude, NeverBuilds) {
  quorvane::TGeoReference reference;
  EXPECT_EQ(reference.Zone, reference.Zone);
}
