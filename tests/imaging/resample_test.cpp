#include "imaging/resample.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "imaging/contributors.h"
#include "imaging/resample_filters.h"
#include "imaging/resample_reference.h"
#include "raster/error.h"
#include "raster/pixel_convert.h"

namespace quorvane {
namespace {

TRasterBitmap RandomBitmap(int width, int height, uint32_t seed,
                           TPixelFormat format = TPixelFormat::Bit24) {
  TRasterBitmap bitmap;
  bitmap.Reset(format, width, height);
  std::mt19937 random(seed);
  for (int r = 0; r < height; ++r) {
    uint8_t* row = bitmap.Scanline(r);
    const int bytes = format == TPixelFormat::Bit24 ? width * 3 : width;
    for (int i = 0; i < bytes; ++i) {
      // Mostly smooth with hard edges, so that sharp filters overshoot.
      const int value = ((i / 7 + r / 5) % 3 == 0) ? 255 : int(random() % 256);
      row[i] = uint8_t(format == TPixelFormat::Bit24 ? value : value % 16);
    }
  }
  return bitmap;
}

TRasterBitmap RowBitmap(const std::vector<uint8_t>& grey) {
  TRasterBitmap bitmap;
  bitmap.Reset(TPixelFormat::Bit24, int(grey.size()), 1);
  for (size_t i = 0; i < grey.size(); ++i) std::memset(bitmap.Scanline(0) + 3 * i, grey[i], 3);
  return bitmap;
}

std::vector<uint8_t> Pixels(const TRasterBitmap& bitmap) {
  std::vector<uint8_t> out;
  const int bytes = (bitmap.Width() * bitmap.BitsPerPixel() + 7) / 8;
  for (int r = 0; r < bitmap.Height(); ++r) {
    const uint8_t* row = bitmap.Scanline(r);
    out.insert(out.end(), row, row + bytes);
  }
  return out;
}

std::vector<uint8_t> Colours(const TRasterBitmap& bitmap) {
  std::vector<uint8_t> out(size_t(bitmap.Width()) * 3 * size_t(bitmap.Height()));
  for (int r = 0; r < bitmap.Height(); ++r) {
    ReadRowAs24(bitmap, r, 0, bitmap.Width(), out.data() + size_t(r) * size_t(bitmap.Width()) * 3);
  }
  return out;
}

std::vector<uint8_t> Greys(const TRasterBitmap& bitmap) {
  std::vector<uint8_t> out;
  for (int x = 0; x < bitmap.Width(); ++x) out.push_back(bitmap.Scanline(0)[3 * x]);
  return out;
}

TEST(ResampleFilters, MatchPublishedKernelValues) {
  const auto f = [](TResampleFilter filter, float x) {
    return ResampleFilters[size_t(filter)].Filter(x);
  };
  EXPECT_EQ(f(TResampleFilter::Box, -0.5f), 0.0f);  // open at -0.5
  EXPECT_EQ(f(TResampleFilter::Box, 0.5f), 1.0f);   // closed at +0.5
  EXPECT_FLOAT_EQ(f(TResampleFilter::Triangle, -0.25f), 0.75f);
  EXPECT_FLOAT_EQ(f(TResampleFilter::Hermite, 0.5f), 0.5f);
  EXPECT_FLOAT_EQ(f(TResampleFilter::Bell, 0.0f), 0.75f);
  EXPECT_FLOAT_EQ(f(TResampleFilter::Bell, 1.0f), 0.125f);
  EXPECT_FLOAT_EQ(f(TResampleFilter::BSpline, 0.0f), 2.0f / 3.0f);
  EXPECT_FLOAT_EQ(f(TResampleFilter::BSpline, 1.0f), 1.0f / 6.0f);
  // Mitchell-Netravali with B = C = 1/3: 8/9 at 0, 1/18 at 1, 0 from 2.
  EXPECT_FLOAT_EQ(f(TResampleFilter::Mitchell, 0.0f), 8.0f / 9.0f);
  EXPECT_FLOAT_EQ(f(TResampleFilter::Mitchell, -1.0f), 1.0f / 18.0f);
  EXPECT_EQ(f(TResampleFilter::Mitchell, 2.0f), 0.0f);
  EXPECT_EQ(f(TResampleFilter::Lanczos3, 0.0f), 1.0f);
  // sinc(0.5) sinc(1/6) = (2/pi) * (6/pi) * sin(pi/6)
  EXPECT_NEAR(f(TResampleFilter::Lanczos3, 0.5f), 0.6079271, 1e-6);
  EXPECT_NEAR(f(TResampleFilter::Lanczos3, 1.0f), 0.0, 1e-7);
  EXPECT_EQ(f(TResampleFilter::Lanczos3, 3.0f), 0.0f);
  const float supports[] = {0.5f, 1.0f, 1.0f, 1.5f, 2.0f, 2.0f, 3.0f};
  const char* names[] = {"Box", "Triangle", "Hermite", "Bell", "B-Spline", "Mitchell", "Lanczos3"};
  for (int i = 0; i < kResampleFilterCount; ++i) {
    EXPECT_EQ(ResampleFilters[size_t(i)].Support, supports[i]);
    EXPECT_STREQ(ResampleFilters[size_t(i)].Name, names[i]);
  }
}

TEST(ResampleContributors, ReflectionMirrorsLeftWithoutAndRightWithRepeat) {
  EXPECT_EQ(ReflectIndex(-1, 10), 1);
  EXPECT_EQ(ReflectIndex(-2, 10), 2);
  EXPECT_EQ(ReflectIndex(10, 10), 9);
  EXPECT_EQ(ReflectIndex(11, 10), 8);
  // Far outside: reflected again until inside.
  for (int count = 1; count < 6; ++count) {
    for (int j = -40; j < 40; ++j) {
      long long k = j;
      while (k < 0 || k >= count) k = k < 0 ? -k : 2LL * count - 1 - k;
      EXPECT_EQ(ReflectIndex(j, count), k) << j << " in " << count;
    }
  }
}

TEST(ResampleContributors, SameSizeBSplineIsTwoThirdsAndTwoSixths) {
  TProgressProc none;
  TPercentProgress progress(none, 1);
  const auto table =
      TContributorTable::Build(5, 5, ResampleFilters[size_t(TResampleFilter::BSpline)], progress);
  const auto list = table.List(0);
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0].Index, 1);  // position -1 reflected
  EXPECT_EQ(list[1].Index, 0);
  EXPECT_EQ(list[2].Index, 1);
  EXPECT_EQ(list[0].Weight, float(1.0 / 6.0));
  EXPECT_EQ(list[1].Weight, float(2.0 / 3.0));
}

TEST(ResampleBitmap, SameSizeTriangleAndBoxKeepTheSource) {
  for (TResampleFilter filter : {TResampleFilter::Box, TResampleFilter::Triangle}) {
    TRasterBitmap bitmap = RandomBitmap(37, 23, 7);
    const auto before = Pixels(bitmap);
    ResampleBitmap(bitmap, 37, 23, filter);
    EXPECT_EQ(Pixels(bitmap), before) << ResampleFilters[size_t(filter)].Name;
  }
}

TEST(ResampleBitmap, SameSizeBSplineBlendsNeighboursWithReflectedEdges) {
  TRasterBitmap bitmap = RowBitmap({0, 60, 120, 255});
  ResampleBitmap(bitmap, 4, 1, TResampleFilter::BSpline);
  // 0: 60/6 + 0 + 60/6; 1: 0/6 + 40 + 20; 2: 10 + 80 + 42.5; 3: 20 + 170 + 42.5
  EXPECT_EQ(Greys(bitmap), (std::vector<uint8_t>{20, 60, 132, 232}));
}

TEST(ResampleBitmap, OnePixelWideSourceSamplesAtIOverN) {
  // XScale = 4: column i samples position i/4 of the single pixel, whose
  // neighbours are all the pixel itself, so Triangle returns 1 - i/4 of it.
  TRasterBitmap bitmap = RowBitmap({200});
  ResampleBitmap(bitmap, 4, 1, TResampleFilter::Triangle);
  // i/4 = 0, .25, .5, .75: weights (1), (.75, .25), (.5, .5), (.25, .75).
  EXPECT_EQ(Greys(bitmap), (std::vector<uint8_t>{200, 200, 200, 200}));
  TRasterBitmap box = RowBitmap({200});
  ResampleBitmap(box, 3, 1, TResampleFilter::Box);
  EXPECT_EQ(Greys(box), (std::vector<uint8_t>{200, 200, 200}));
}

TEST(ResampleBitmap, BoxHalfwayTakesTheLowerIndex) {
  // 3 -> 5 pixels: scale 2, destination 1 samples source position 0.5.
  TRasterBitmap bitmap = RowBitmap({10, 100, 250});
  ResampleBitmap(bitmap, 5, 1, TResampleFilter::Box);
  EXPECT_EQ(Greys(bitmap), (std::vector<uint8_t>{10, 10, 100, 100, 250}));
}

TEST(ResampleBitmap, SharpFiltersClampOvershootAtEdges) {
  std::vector<uint8_t> step(20, 0);
  for (int i = 10; i < 20; ++i) step[size_t(i)] = 255;
  for (TResampleFilter filter : {TResampleFilter::Mitchell, TResampleFilter::Lanczos3}) {
    TRasterBitmap bitmap = RowBitmap(step);
    ResampleBitmap(bitmap, 47, 1, filter);
    const auto out = Greys(bitmap);
    EXPECT_EQ(out.front(), 0);
    EXPECT_EQ(out.back(), 255);
    test_support::ReferenceResample(bitmap = RowBitmap(step), 47, 1, filter);
    EXPECT_EQ(Greys(bitmap), out);
  }
}

TEST(ResampleBitmap, ProgressTakesOneStepPerLineAndEndsNearHundred) {
  TRasterBitmap bitmap = RandomBitmap(300, 200, 3);
  std::vector<int> seen;
  ResampleBitmap(bitmap, 450, 310, TResampleFilter::Lanczos3, [&](int p) { seen.push_back(p); },
                 {.Threads = 2});
  ASSERT_EQ(seen.size(), size_t(450 + 200 + 310 + 450));
  for (size_t i = 1; i < seen.size(); ++i) ASSERT_LE(seen[i - 1], seen[i]);
  EXPECT_GE(seen.back(), 99);
  EXPECT_LE(seen.back(), 100);
}

TEST(ResampleBitmap, IntoANewPictureLeavesTheSourceAndGivesTheSameResult) {
  const TRasterBitmap source = RandomBitmap(37, 23, 5);
  const auto before = Pixels(source);
  const TRasterBitmap result = ResampledBitmap(source, 20, 31, TResampleFilter::Lanczos3);
  EXPECT_EQ(Pixels(source), before);
  TRasterBitmap in_place = source;
  ResampleBitmap(in_place, 20, 31, TResampleFilter::Lanczos3);
  EXPECT_EQ(Pixels(result), Pixels(in_place));
}

TEST(ResampleBitmap, RefusesEmptySourceAndZeroSizeWithoutChanges) {
  TRasterBitmap empty;
  try {
    ResampleBitmap(empty, 10, 10, TResampleFilter::Box);
    FAIL();
  } catch (const EQuorvaneError& e) {
    EXPECT_STREQ(e.what(), "Source bitmap too small");
  }
  TRasterBitmap bitmap = RandomBitmap(5, 4, 1);
  const auto before = Pixels(bitmap);
  for (auto [w, h] : {std::pair{0, 4}, {5, 0}, {-1, 3}}) {
    try {
      ResampleBitmap(bitmap, w, h, TResampleFilter::Lanczos3);
      FAIL();
    } catch (const EQuorvaneError& e) {
      EXPECT_STREQ(e.what(), "Zero Image Size");
    }
    EXPECT_EQ(bitmap.Width(), 5);
    EXPECT_EQ(Pixels(bitmap), before);
  }
}

TEST(ResampleBitmap, OnePixelFromLongerSourceIsCentredAverage) {
  // Box over the whole row: the mean, 100.
  TRasterBitmap bitmap = RowBitmap({40, 80, 120, 160});
  ResampleBitmap(bitmap, 1, 1, TResampleFilter::Box);
  EXPECT_EQ(Greys(bitmap), (std::vector<uint8_t>{100}));
  // Uniform content stays uniform for every filter within a grey level.
  for (int row = 0; row < kResampleFilterCount; ++row) {
    const auto filter = TResampleFilter(row);
    TRasterBitmap flat = RowBitmap(std::vector<uint8_t>(57, 90));
    ResampleBitmap(flat, 1, 1, filter);
    EXPECT_NEAR(Greys(flat)[0], 90, 2) << ResampleFilters[size_t(filter)].Name;
  }
}

struct Case {
  int SrcWidth, SrcHeight, NewWidth, NewHeight;
};

// Sizes chosen to cross the vector widths, the 16-row blocks, one-pixel axes
// and footprints wider than the source.
const Case kCases[] = {{1, 1, 1, 1},      {1, 1, 7, 3},      {2, 3, 1, 1},     {3, 2, 17, 33},
                       {100, 2, 2, 1},    {100, 3, 2, 40},   {33, 17, 65, 9},  {64, 48, 32, 24},
                       {70, 35, 105, 53}, {129, 31, 43, 10}, {19, 40, 19, 40}, {5, 300, 3, 7}};

TEST(ResampleBitmap, FastMatchesReferenceBitForBitOnEveryFilterKernelAndThreadCount) {
  const TKernelLevel levels[] = {TKernelLevel::Scalar, TKernelLevel::Avx2, TKernelLevel::Avx512};
  uint32_t seed = 11;
  for (const Case& c : kCases) {
    const TRasterBitmap source = RandomBitmap(c.SrcWidth, c.SrcHeight, seed++);
    for (int row = 0; row < kResampleFilterCount; ++row) {
      const auto filter = TResampleFilter(row);
      TRasterBitmap expected = source;
      test_support::ReferenceResample(expected, c.NewWidth, c.NewHeight, filter);
      const auto want = Pixels(expected);
      for (TKernelLevel level : levels) {
        for (int threads : {1, 2}) {
          TRasterBitmap actual = source;
          ResampleBitmap(actual, c.NewWidth, c.NewHeight, filter, {},
                         {.Threads = threads, .Kernel = level});
          ASSERT_EQ(actual.Width(), c.NewWidth);
          ASSERT_EQ(actual.Height(), c.NewHeight);
          ASSERT_EQ(Pixels(actual), want)
              << c.SrcWidth << "x" << c.SrcHeight << " -> " << c.NewWidth << "x" << c.NewHeight
              << " " << ResampleFilters[size_t(filter)].Name << " level " << int(level)
              << " threads " << threads;
        }
      }
    }
  }
}

TEST(ResampleBitmap, LargePictureMatchesReferenceOnTwoThreads) {
  // Big enough for the parallel paths and several strips of both passes.
  const TRasterBitmap source = RandomBitmap(700, 500, 99);
  for (auto [w, h] : {std::pair{350, 250}, {1050, 751}}) {
    for (TResampleFilter filter :
         {TResampleFilter::BSpline, TResampleFilter::Mitchell, TResampleFilter::Lanczos3}) {
      TRasterBitmap expected = source;
      test_support::ReferenceResample(expected, w, h, filter);
      TRasterBitmap actual = source;
      ResampleBitmap(actual, w, h, filter, {}, {.Threads = 2});
      ASSERT_EQ(Pixels(actual), Pixels(expected)) << w << "x" << h << " filter " << int(filter);
    }
  }
}

TEST(ResampleBitmap, EveryPixelFormatMatchesReference) {
  for (TPixelFormat format : {TPixelFormat::Bit1, TPixelFormat::Bit4, TPixelFormat::Bit8,
                              TPixelFormat::Bit15, TPixelFormat::Bit16, TPixelFormat::Bit32}) {
    TRasterBitmap source;
    source.Reset(format, 23, 17);
    std::mt19937 random(static_cast<uint32_t>(format));
    for (int r = 0; r < 17; ++r) {
      for (size_t i = 0; i < source.Stride(); ++i) source.Scanline(r)[i] = uint8_t(random());
    }
    TRasterBitmap expected = source;
    test_support::ReferenceResample(expected, 31, 12, TResampleFilter::Lanczos3);
    TRasterBitmap actual = source;
    ResampleBitmap(actual, 31, 12, TResampleFilter::Lanczos3);
    EXPECT_EQ(actual.PixelFormat(), format);
    // Colours only: the fourth byte of 32-bit and the top bit of 15-bit
    // pixels carry no meaning.
    EXPECT_EQ(Colours(actual), Colours(expected)) << int(format);
  }
}

TEST(ResampleBitmap, PalettePictureKeepsItsFormatAndPalette) {
  TRasterBitmap bitmap = RandomBitmap(40, 30, 5, TPixelFormat::Bit8);
  for (int i = 0; i < 256; ++i)
    bitmap.ColorTable()[size_t(i)] = {uint8_t(i * 16), uint8_t(255 - i), uint8_t(i), 0};
  const std::vector<TRGBQuad> palette(bitmap.ColorTable().begin(), bitmap.ColorTable().end());
  // Small enough for one thread, then large enough for two.
  for (auto [w, h] : {std::pair{61, 45}, {330, 250}}) {
    TRasterBitmap source = bitmap;
    if (w > 100) {
      source = RandomBitmap(400, 200, 6, TPixelFormat::Bit8);
      std::copy(palette.begin(), palette.end(), source.ColorTable().begin());
    }
    TRasterBitmap expected = source;
    test_support::ReferenceResample(expected, w, h, TResampleFilter::Mitchell);
    ResampleBitmap(source, w, h, TResampleFilter::Mitchell, {}, {.Threads = 2});
    EXPECT_EQ(source.PixelFormat(), TPixelFormat::Bit8);
    EXPECT_TRUE(std::equal(palette.begin(), palette.end(), source.ColorTable().begin()));
    EXPECT_EQ(Pixels(source), Pixels(expected)) << w << "x" << h;
  }
}

}  // namespace
}  // namespace quorvane
