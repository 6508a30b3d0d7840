// A picture converted into each format by quorvane-cli reads back here as
// the same picture: exactly for the lossless formats, closely for JPEG and
// the palette formats.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>

#include "formats/png_codec.h"
#include "geo/geotiff_georef.h"
#include "io/format_registry.h"
#include "support/test_pictures.h"

namespace quorvane {
namespace {

using test_support::ColorAt;

int Convert(const std::filesystem::path& in, const std::filesystem::path& out) {
  const std::string command = std::string("'") + QUORVANE_CLI_PATH + "' convert '" + in.string() +
                              "' '" + out.string() + "' 2>/dev/null";
  const int raw = std::system(command.c_str());
  return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

// Mean and largest difference of the colours of two pictures of one size.
test_support::TPixelDifference CompareColours(const TRasterBitmap& a, const TRasterBitmap& b) {
  test_support::TPixelDifference d;
  EXPECT_EQ(a.Width(), b.Width());
  EXPECT_EQ(a.Height(), b.Height());
  if (a.Width() != b.Width() || a.Height() != b.Height()) return {255, 255};
  double sum = 0;
  for (int y = 0; y < a.Height(); ++y)
    for (int x = 0; x < a.Width(); ++x) {
      const auto p = ColorAt(a, x, y), q = ColorAt(b, x, y);
      for (int diff :
           {std::abs(p.Blue - q.Blue), std::abs(p.Green - q.Green), std::abs(p.Red - q.Red)}) {
        d.Max = std::max(d.Max, diff);
        sum += diff;
      }
    }
  d.Mean = sum / (3.0 * a.Width() * a.Height());
  return d;
}

TEST(ConvertRoundTrip, EveryWrittenFormatReadsBack) {
  test_support::TTempDir dir;
  const TRasterBitmap original = test_support::Gradient24(50, 30);
  test_support::WriteFileBytes(dir / "in.png", EncodePng(original));
  struct TCase {
    const char* Name;
    double MeanTolerance;  // 0: exact
    TPixelFormat Format;
  };
  const TCase cases[] = {
      {"out.tif", 0, TPixelFormat::Bit24},
      {"out.TIFF", 0, TPixelFormat::Bit24},
      {"out.png", 0, TPixelFormat::Bit24},
      {"out.bmp", 0, TPixelFormat::Bit24},
      {"out.pcx", 0, TPixelFormat::Bit24},
      {"out.tga", 0, TPixelFormat::Bit24},
      // JPEG loses a little; GIF and the 8-bit PBM reduce the colours to 256.
      {"out.jpg", 3.0, TPixelFormat::Bit24},
      {"out.gif", 6.0, TPixelFormat::Bit8},
      {"out.lbm", 6.0, TPixelFormat::Bit24},
      {"out.iff", 6.0, TPixelFormat::Bit24},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    ASSERT_EQ(Convert(dir / "in.png", dir / c.Name), 0);
    TGeoTiffTags tags;
    const auto back = LoadPicture((dir / c.Name).string(), tags);
    const auto d = CompareColours(original, *back);
    if (c.MeanTolerance == 0) {
      EXPECT_EQ(d.Max, 0);
    } else {
      EXPECT_LT(d.Mean, c.MeanTolerance);
    }
  }
}

TEST(ConvertRoundTrip, AGeoTiffKeepsItsGeoreferenceThroughConvert) {
  const auto source = test_support::CorpusPath("geotiff");
  if (!std::filesystem::exists(source)) QUORVANE_CORPUS_ABSENT(source);
  test_support::TTempDir dir;
  int checked = 0;
  for (const auto& entry : std::filesystem::directory_iterator(source)) {
    if (entry.path().extension() != ".tif" || checked >= 5) continue;
    TGeoTiffTags in_tags;
    std::unique_ptr<TRasterBitmap> picture;
    try {
      picture = LoadPicture(entry.path().string(), in_tags);
    } catch (const std::exception&) {
      continue;
    }
    if (in_tags.TiePointCount == 0) continue;
    SCOPED_TRACE(entry.path().filename().string());
    ASSERT_EQ(Convert(entry.path(), dir / "out.tif"), 0);
    TGeoTiffTags out_tags;
    LoadPicture((dir / "out.tif").string(), out_tags);
    TGeoReference in, out;
    ResetGeoReference(in);
    ResetGeoReference(out);
    GeoTiffToGeoReference(in_tags, in);
    GeoTiffToGeoReference(out_tags, out);
    EXPECT_EQ(out.BaseX, in.BaseX);
    EXPECT_EQ(out.BaseY, in.BaseY);
    EXPECT_EQ(out.ScaleX, in.ScaleX);
    EXPECT_EQ(out.ScaleY, in.ScaleY);
    ++checked;
  }
  EXPECT_GT(checked, 0);
}

}  // namespace
}  // namespace quorvane
