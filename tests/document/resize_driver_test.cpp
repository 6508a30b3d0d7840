#include "document/resize_driver.h"
#include "geo/geotiff_georef.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "imaging/resample_filters.h"
#include "raster/error.h"

namespace quorvane {
namespace {

TEST(ResizeOutputImage, ScalesPictureAndGeoreferenceAndKeepsToneBase) {
  TRasterBitmap source;
  source.Reset(TPixelFormat::Bit24, 150, 76);
  for (int r = 0; r < 76; ++r) {
    for (int i = 0; i < 450; ++i) source.Scanline(r)[i] = uint8_t(r + i);
  }
  const TGeoReference geo{500000, 4649776, 30, 30, 18, true};
  std::vector<int> seen;
  const TResizeResult result =
      ResizeOutputImage(source, geo, {165, 84, SharpnessFilter(TSharpness::Sharp), false, true},
                        [&](int p) { seen.push_back(p); });
  EXPECT_EQ(result.Destination.Width(), 165);
  EXPECT_EQ(result.Destination.Height(), 84);
  EXPECT_EQ(result.ToneBase.Width(), 165);
  EXPECT_EQ(0, std::memcmp(result.ToneBase.Bits(), result.Destination.Bits(),
                           result.Destination.Stride() * 84));
  EXPECT_DOUBLE_EQ(result.GeoReference.ScaleX, 30 / (165.0 / 150.0));
  EXPECT_DOUBLE_EQ(result.GeoReference.ScaleY, 30 / (84.0 / 76.0));
  EXPECT_EQ(result.GeoReference.BaseX, 500000);
  EXPECT_EQ(result.GeoReference.Zone, 18);
  EXPECT_FALSE(seen.empty());
  TRasterBitmap direct = source;
  ResampleBitmap(direct, 165, 84, TResampleFilter::Lanczos3);
  EXPECT_EQ(0, std::memcmp(direct.Bits(), result.Destination.Bits(), direct.Stride() * 84));
}

TEST(ResizeOutputImage, NegativeAndZeroSizesWarnBeforeAnyWork) {
  EXPECT_EQ(ResizeSizeWarning(-1, 5), "Negative Image Size");
  EXPECT_EQ(ResizeSizeWarning(5, -75), "Negative Image Size");
  EXPECT_EQ(ResizeSizeWarning(0, 0), "Zero Image Size");
  EXPECT_FALSE(ResizeSizeWarning(1, 1).has_value());
  TRasterBitmap source;
  source.Reset(TPixelFormat::Bit24, 4, 4);
  bool progressed = false;
  try {
    ResizeOutputImage(source, {}, {-1, 3, TResampleFilter::Lanczos3, false},
                      [&](int) { progressed = true; });
    FAIL();
  } catch (const EQuorvaneError& e) {
    EXPECT_STREQ(e.what(), "Negative Image Size");
  }
  EXPECT_FALSE(progressed);
}

TEST(ResizeOutputImage, PaletteSourceKeepsItsFormatUnlessForcedTo24Bit) {
  TRasterBitmap source;
  source.Reset(TPixelFormat::Bit8, 30, 20);
  for (int i = 0; i < 256; ++i) source.ColorTable()[size_t(i)] = {uint8_t(i), uint8_t(i / 2), 9, 0};
  for (int r = 0; r < 20; ++r) {
    for (int x = 0; x < 30; ++x) source.Scanline(r)[x] = uint8_t(x * 8 + r);
  }
  const TResizeResult kept =
      ResizeOutputImage(source, {}, {45, 30, TResampleFilter::Mitchell, false});
  EXPECT_EQ(kept.Destination.PixelFormat(), TPixelFormat::Bit8);
  EXPECT_EQ(kept.ToneBase.PixelFormat(), TPixelFormat::Bit8);
  EXPECT_TRUE(std::equal(source.ColorTable().begin(), source.ColorTable().end(),
                         kept.Destination.ColorTable().begin()));
  const TResizeResult forced =
      ResizeOutputImage(source, {}, {45, 30, TResampleFilter::Mitchell, true});
  EXPECT_EQ(forced.Destination.PixelFormat(), TPixelFormat::Bit24);
  // The forced result is the 24-bit resampling of the palette colours.
  TRasterBitmap expected = source;
  expected.SetPixelFormat(TPixelFormat::Bit24);
  ResampleBitmap(expected, 45, 30, TResampleFilter::Mitchell);
  EXPECT_EQ(0, std::memcmp(expected.Bits(), forced.Destination.Bits(), expected.Stride() * 30));
}

TEST(ResizeOutputImage, SharpnessPicksBSplineMitchellLanczos) {
  EXPECT_EQ(SharpnessFilter(TSharpness::Soft), TResampleFilter::BSpline);
  EXPECT_EQ(SharpnessFilter(TSharpness::Medium), TResampleFilter::Mitchell);
  EXPECT_EQ(SharpnessFilter(TSharpness::Sharp), TResampleFilter::Lanczos3);
}

}  // namespace
}  // namespace quorvane
