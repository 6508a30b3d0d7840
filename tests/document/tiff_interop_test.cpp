// Our TIFF files as other readers see them: libtiff's tiffinfo and GDAL must
// open them without errors and read the same pixels and georeference.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstring>

#include "geo/geotiff_georef.h"
#include "support/test_pictures.h"
#include "tiff/tiff_writer.h"

namespace quorvane {
namespace {

using test_support::TTempDir;

struct TToolRun {
  int Status = -1;
  std::string Output;  // stdout and stderr together
};

TToolRun RunTool(const std::string& command) {
  TToolRun run;
  FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return run;
  char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.Output.append(buffer, n);
  const int raw = ::pclose(pipe);
  run.Status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return run;
}

std::string Save(const TTempDir& dir, const std::string& name, const TRasterBitmap& bitmap,
                 const TGeoTiffTags* tags, bool packbits) {
  const std::string path = (dir / name).string();
  SaveTiffFile(path, bitmap, {.PackBits = packbits, .GeoTiff = tags});
  return path;
}

TGeoTiffTags Utm(double base_x, double base_y, double scale_x, double scale_y, int zone,
                 bool north) {
  TGeoReference reference;
  reference.BaseX = base_x;
  reference.BaseY = base_y;
  reference.ScaleX = scale_x;
  reference.ScaleY = scale_y;
  reference.Zone = zone;
  reference.North = north;
  TGeoTiffTags tags;
  GeoReferenceToGeoTiff(reference, tags);
  return tags;
}

TEST(TiffInterop, TiffinfoReadsEveryLayoutWithoutErrors) {
  QUORVANE_TOOL_OR_SKIP("tiffinfo");
  TTempDir dir;
  TRasterBitmap palette;
  palette.Reset(TPixelFormat::Bit8, 7, 5);
  TRasterBitmap bilevel;
  bilevel.Reset(TPixelFormat::Bit1, 9, 3);
  TRasterBitmap nibbles;
  nibbles.Reset(TPixelFormat::Bit4, 5, 3);
  const TGeoTiffTags geo = Utm(500000, 4649776, 30, 30, 18, true);
  struct TCase {
    std::string Name;
    const TRasterBitmap* Bitmap;
    const char* Photometric;
    const char* Size;
  };
  const TRasterBitmap rgb = test_support::Gradient24(31, 17);
  const TCase cases[] = {{"rgb.tif", &rgb, "RGB color", "Image Width: 31 Image Length: 17"},
                         {"pal.tif", &palette, "palette color", "Image Width: 7 Image Length: 5"},
                         {"one.tif", &bilevel, "min-is-black", "Image Width: 9 Image Length: 3"},
                         {"four.tif", &nibbles, "palette color", "Image Width: 5 Image Length: 3"}};
  for (const auto& c : cases) {
    for (bool packbits : {false, true}) {
      SCOPED_TRACE(c.Name + (packbits ? " packbits" : " plain"));
      const std::string path =
          Save(dir, (packbits ? "p" : "u") + c.Name, *c.Bitmap, &geo, packbits);
      const TToolRun run = RunTool("tiffinfo -D " + path);
      EXPECT_EQ(run.Status, 0) << run.Output;
      EXPECT_EQ(run.Output.find("Error"), std::string::npos) << run.Output;
      EXPECT_EQ(run.Output.find("Incompatible type"), std::string::npos) << run.Output;
      EXPECT_NE(run.Output.find(c.Size), std::string::npos) << run.Output;
      EXPECT_NE(run.Output.find(c.Photometric), std::string::npos) << run.Output;
      EXPECT_NE(run.Output.find(packbits ? "PackBits" : "Compression Scheme: None"),
                std::string::npos);
    }
  }
}

TEST(TiffInterop, GdalReadsOurGeoreferenceAndPixels) {
  QUORVANE_TOOL_OR_SKIP("gdalinfo");
  QUORVANE_TOOL_OR_SKIP("gdallocationinfo");
  TTempDir dir;
  const TRasterBitmap picture = test_support::Gradient24(40, 20);
  struct TCase {
    int Zone;
    bool North;
    const char* Epsg;
  };
  for (const TCase& c : {TCase{33, true, "32633"}, TCase{18, false, "32718"}}) {
    SCOPED_TRACE(c.Epsg);
    const TGeoTiffTags geo = Utm(612345.5, 5432100.25, 2.5, 1.25, c.Zone, c.North);
    const std::string path = Save(dir, std::string("geo") + c.Epsg + ".tif", picture, &geo, true);
    const TToolRun info = RunTool("gdalinfo " + path);
    ASSERT_EQ(info.Status, 0) << info.Output;
    EXPECT_EQ(info.Output.find("ERROR"), std::string::npos) << info.Output;
    EXPECT_NE(info.Output.find("Origin = (612345.500000000000000,5432100.250000000000000)"),
              std::string::npos)
        << info.Output;
    EXPECT_NE(info.Output.find("Pixel Size = (2.500000000000000,-1.250000000000000)"),
              std::string::npos)
        << info.Output;
    EXPECT_NE(info.Output.find(std::string("ID[\"EPSG\",") + c.Epsg + "]"), std::string::npos)
        << info.Output;
    // Lower right corner: 40 pixels east, 20 south of the origin.
    EXPECT_NE(info.Output.find("Lower Right (  612445.500, 5432075.250)"), std::string::npos)
        << info.Output;

    // Pixel (13, 7) as red, green, blue bands.
    const TToolRun value = RunTool("gdallocationinfo -valonly " + path + " 13 7");
    ASSERT_EQ(value.Status, 0) << value.Output;
    const uint8_t* p = picture.Scanline(7) + 3 * 13;
    EXPECT_EQ(value.Output, std::to_string(p[2]) + "\n" + std::to_string(p[1]) + "\n" +
                                std::to_string(p[0]) + "\n");
  }
}

}  // namespace
}  // namespace quorvane
