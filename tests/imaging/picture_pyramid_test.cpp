#include "imaging/picture_pyramid.h"

#include <gtest/gtest.h>

#include <random>

#include "raster/pixel_convert.h"

namespace quorvane {
namespace {

TRasterBitmap Noise(int width, int height, TPixelFormat format, unsigned seed) {
  TRasterBitmap picture;
  picture.Reset(format, width, height);
  std::mt19937 random(seed);
  for (int y = 0; y < height; ++y)
    for (size_t i = 0; i < picture.Stride(); ++i) picture.Scanline(y)[i] = uint8_t(random());
  return picture;
}

// Level k pixel (x, y), channel c, straight from the picture's own pixels:
// the mean of the level above's 2 x 2 block, edges averaging what is there.
using TPlane = std::vector<std::vector<int>>;  // [y][x * 3 + c]
TPlane Halved(const TPlane& above, int width, int height) {
  const int w = (width + 1) / 2, h = (height + 1) / 2;
  TPlane out(size_t(h), std::vector<int>(size_t(w) * 3));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      for (int c = 0; c < 3; ++c) {
        const int x1 = std::min(2 * x + 1, width - 1), y1 = std::min(2 * y + 1, height - 1);
        const int sum = above[2 * y][6 * x + c] + above[2 * y][3 * x1 + c] + above[y1][6 * x + c] +
                        above[y1][3 * x1 + c];
        out[y][3 * x + c] = (sum + 2) / 4;
      }
  return out;
}

void ExpectLevels(const TPicturePyramid& pyramid, const TRasterBitmap& picture) {
  int width = picture.Width(), height = picture.Height();
  TPlane plane(size_t(height), std::vector<int>(size_t(width) * 3));
  std::vector<uint8_t> row(size_t(width) * 3);
  for (int y = 0; y < height; ++y) {
    ReadRowAs24(picture, y, 0, width, row.data());
    std::copy(row.begin(), row.end(), plane[y].begin());
  }
  for (int k = 1; k <= pyramid.LevelCount(); ++k) {
    plane = Halved(plane, width, height);
    width = (width + 1) / 2, height = (height + 1) / 2;
    const TPyramidLevel& level = pyramid.Level(k);
    ASSERT_EQ(level.Width, width);
    ASSERT_EQ(level.Height, height);
    for (int y = 0; y < height; ++y)
      ASSERT_TRUE(std::equal(plane[y].begin(), plane[y].end(), level.Row(y)))
          << "level " << k << " row " << y;
  }
  EXPECT_EQ(width == 1 && height == 1, true);
}

TEST(PicturePyramid, LevelsAreMeansOfTheirTwoByTwoBlocksDownToOnePixel) {
  for (const auto& [format, width, height] : {std::tuple{TPixelFormat::Bit24, 37, 20},
                                              {TPixelFormat::Bit24, 64, 1},
                                              {TPixelFormat::Bit8, 9, 33},
                                              {TPixelFormat::Bit1, 17, 5}}) {
    SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
    const TRasterBitmap picture = Noise(width, height, format, unsigned(width * height));
    ExpectLevels(TPicturePyramid::Build(picture, 2), picture);
  }
}

TEST(PicturePyramid, RefreshAfterAChangeEqualsARebuild) {
  TRasterBitmap picture = Noise(70, 45, TPixelFormat::Bit24, 7);
  TPicturePyramid pyramid = TPicturePyramid::Build(picture);
  for (int y = 11; y < 14; ++y)
    for (int x = 31; x < 33; ++x) picture.Scanline(y)[x * 3 + 1] ^= 0xff;
  pyramid.Refresh(picture, {31, 11, 33, 14});
  ExpectLevels(pyramid, picture);
}

TEST(PicturePyramid, PicksTheSmallestLevelStillAsDetailedAsTheView) {
  const TPicturePyramid pyramid = TPicturePyramid::Build(Noise(100, 100, TPixelFormat::Bit24, 1));
  EXPECT_EQ(pyramid.LevelCount(), 7);
  EXPECT_EQ(pyramid.LevelFor(1.0), 0);
  EXPECT_EQ(pyramid.LevelFor(0.6), 0);
  EXPECT_EQ(pyramid.LevelFor(0.5), 1);
  EXPECT_EQ(pyramid.LevelFor(0.3), 1);
  EXPECT_EQ(pyramid.LevelFor(1.0 / 64), 6);
  EXPECT_EQ(pyramid.LevelFor(1.0 / 1024), 7);
}

TEST(PicturePyramid, ACancelledBuildIsEmpty) {
  const std::atomic<bool> cancel{true};
  EXPECT_TRUE(TPicturePyramid::Build(Noise(50, 50, TPixelFormat::Bit24, 3), 1, &cancel).Empty());
}

}  // namespace
}  // namespace quorvane
