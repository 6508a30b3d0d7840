// What our readers make of the GeoTIFF tags of real files: the tags of the
// TIFF layer read by the georeference of the geo layer.
#include <gtest/gtest.h>

#include <filesystem>

#include "geo/geotiff_georef.h"
#include "support/test_pictures.h"
#include "tiff/tiff_reader.h"

namespace quorvane {
namespace {

namespace fs = std::filesystem;
using test_support::CorpusPath;

struct TGeoExpectation {
  const char* file;
  double base_x, base_y, scale_x, scale_y;
  int zone;
  bool north;
};

// Values from the corpus description: tie point, pixel scale and the zone
// the projected-system code gives (codes outside the table fall back to the
// code modulo 100). A system other than a UTM zone of the table puts the
// origin where the file's tie point says: the austrian file ties pixel
// (431, 134).
const TGeoExpectation kGeoFiles[] = {
    {"geotiff/byte.tif", 440720, 3751320, 60, 60, 11, true},
    {"geotiff/derived/byte_mm.tif", 440720, 3751320, 60, 60, 11, true},
    {"geotiff/RGB.byte.tif", 101985, 2826915, 300.0379267, 300.0417827, 18, true},
    {"geotiff/labels.tif", 703986.5024, 4254601.867, 29.90640459, 29.88312024, 17, true},
    {"geotiff/m_3607824_se_17_1_20160620_sub.tif", 768269, 4057292, 1, 1, 17, true},
    {"geotiff/epsg_27563_allgeokeys.tif", 827294.1414, 523985.6444, 0.500637, 0.500637, 3, true},
    {"geotiff/derived/austrian_capitals_tiepoint_scale_area_mm.tif", 4733000 - 431 * 1000,
     2677000 + 134 * 1000, 1000, 1000, 35, true},
    {"geotiff/zh_dem_25.tif", 677562.5, 253012.5, 25, 25, 0, false},
};

TEST(TiffCorpus, GeoTiffFilesGiveTheirGeoreference) {
  if (!fs::is_directory(CorpusPath("geotiff"))) QUORVANE_CORPUS_ABSENT(CorpusPath("geotiff"));
  for (const TGeoExpectation& e : kGeoFiles) {
    TRasterBitmap b;
    TGeoTiffTags tags;
    LoadTiffFile(CorpusPath(e.file).string(), b, tags);
    TGeoReference ref{};
    GeoTiffToGeoReference(tags, ref);
    // Tolerances: the description rounds to about ten significant digits.
    EXPECT_NEAR(ref.BaseX, e.base_x, 1e-3) << e.file;
    EXPECT_NEAR(ref.BaseY, e.base_y, 1e-3) << e.file;
    EXPECT_NEAR(ref.ScaleX, e.scale_x, 1e-6) << e.file;
    EXPECT_NEAR(ref.ScaleY, e.scale_y, 1e-6) << e.file;
    EXPECT_EQ(ref.Zone, e.zone) << e.file;
    EXPECT_EQ(ref.North, e.north) << e.file;
  }
}

}  // namespace
}  // namespace quorvane
