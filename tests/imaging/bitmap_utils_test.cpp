#include "imaging/bitmap_utils.h"

#include <gtest/gtest.h>

#include <cstring>

#include "imaging/points.h"

namespace quorvane {
namespace {

TRasterBitmap Numbered(TPixelFormat format, int width, int height) {
  TRasterBitmap bitmap;
  bitmap.Reset(format, width, height);
  for (int r = 0; r < height; ++r) {
    for (size_t i = 0; i < bitmap.Stride(); ++i) bitmap.Scanline(r)[i] = uint8_t(r * 16 + i);
  }
  return bitmap;
}

TEST(PixelFormatName, NamesEveryFormatAndUnknown) {
  EXPECT_EQ(PixelFormatName(TPixelFormat::Device), "Device");
  EXPECT_EQ(PixelFormatName(TPixelFormat::Bit1), "1-bit");
  EXPECT_EQ(PixelFormatName(TPixelFormat::Bit15), "15-bit");
  EXPECT_EQ(PixelFormatName(TPixelFormat::Bit32), "32-bit");
  EXPECT_EQ(PixelFormatName(TPixelFormat::Custom), "Custom");
  EXPECT_EQ(PixelFormatName(static_cast<TPixelFormat>(42)), "Unknown");
}

TEST(CropBitmap, ReversedRectangleCutsTheSameArea) {
  TRasterBitmap a = Numbered(TPixelFormat::Bit24, 10, 8);
  TRasterBitmap b = a;
  ASSERT_TRUE(CropBitmap(a, {2, 1, 7, 5}));
  ASSERT_TRUE(CropBitmap(b, {7, 5, 2, 1}));
  ASSERT_EQ(a.Width(), 5);
  ASSERT_EQ(a.Height(), 4);
  for (int r = 0; r < 4; ++r) {
    EXPECT_EQ(0, std::memcmp(a.Scanline(r), b.Scanline(r), 15));
  }
  const TRasterBitmap source = Numbered(TPixelFormat::Bit24, 10, 8);
  EXPECT_EQ(a.Scanline(0)[0], source.Scanline(1)[6]);
  EXPECT_EQ(a.Scanline(3)[14], source.Scanline(4)[20]);
}

TEST(CropBitmap, ClampsToThePictureAndReportsTheCorner) {
  TRasterBitmap bitmap = Numbered(TPixelFormat::Bit8, 10, 8);
  bitmap.ColorTable()[3] = {1, 2, 3, 0};
  TRect clamped;
  ASSERT_TRUE(CropBitmap(bitmap, {-5, 6, 4, 20}, &clamped));
  EXPECT_EQ(clamped, (TRect{0, 6, 4, 8}));
  EXPECT_EQ(bitmap.Width(), 4);
  EXPECT_EQ(bitmap.Height(), 2);
  EXPECT_EQ(bitmap.PixelFormat(), TPixelFormat::Bit8);
  EXPECT_EQ(bitmap.ColorTable()[3], (TRGBQuad{1, 2, 3, 0}));
  EXPECT_EQ(bitmap.Scanline(0)[0], uint8_t(6 * 16));
}

TEST(CropBitmap, SubBytePixelsShiftIntoPlace) {
  TRasterBitmap bitmap;
  bitmap.Reset(TPixelFormat::Bit1, 16, 2);
  bitmap.Scanline(0)[0] = 0b10110010;
  bitmap.Scanline(0)[1] = 0b01000001;
  ASSERT_TRUE(CropBitmap(bitmap, {3, 0, 12, 1}));
  EXPECT_EQ(bitmap.Width(), 9);
  EXPECT_EQ(bitmap.Scanline(0)[0], 0b10010010);
  EXPECT_EQ(bitmap.Scanline(0)[1] & 0x80, 0);
  TRasterBitmap nibbles;
  nibbles.Reset(TPixelFormat::Bit4, 5, 1);
  nibbles.Scanline(0)[0] = 0x12;
  nibbles.Scanline(0)[1] = 0x34;
  nibbles.Scanline(0)[2] = 0x50;
  ASSERT_TRUE(CropBitmap(nibbles, {1, 0, 4, 1}));
  EXPECT_EQ(nibbles.Scanline(0)[0], 0x23);
  EXPECT_EQ(nibbles.Scanline(0)[1] & 0xF0, 0x40);
}

TEST(CropBitmap, EmptyOrOutsideRectangleChangesNothing) {
  TRasterBitmap bitmap = Numbered(TPixelFormat::Bit24, 10, 8);
  const TRasterBitmap before = bitmap;
  for (const TRect& rect : {TRect{3, 3, 3, 6}, TRect{1, 4, 9, 4}, TRect{12, 0, 20, 5},
                            TRect{0, -9, 5, -1}, TRect{10, 0, 14, 8}}) {
    TRect clamped{-1, -1, -1, -1};
    EXPECT_FALSE(CropBitmap(bitmap, rect, &clamped));
    EXPECT_EQ(clamped, (TRect{-1, -1, -1, -1}));
    EXPECT_EQ(bitmap.Width(), 10);
    EXPECT_EQ(bitmap.Height(), 8);
    EXPECT_EQ(0, std::memcmp(bitmap.Bits(), before.Bits(), bitmap.Stride() * 8));
  }
}

TEST(Points, ArithmeticTruncatesTowardsZero) {
  EXPECT_EQ(AddPoints({1, 2}, {3, -5}), (TPoint{4, -3}));
  EXPECT_EQ(SubtractPoints({1, 2}, {3, -5}), (TPoint{-2, 7}));
  EXPECT_EQ(RectCentre({-3, 0, 0, 5}), (TPoint{-1, 2}));
  EXPECT_EQ(MultiplyPoint({3, -3}, 0.5), (TPoint{1, -1}));
  EXPECT_EQ(DividePoint({7, -7}, 2.0), (TPoint{3, -3}));
  EXPECT_EQ(DividePoint({7, -7}, 0.0), (TPoint{2147483647, -2147483647 - 1}));
  EXPECT_EQ(DividePoint({0, 1}, 0.0).X, 0);  // 0/0 is NaN
  EXPECT_TRUE(EqualDoublePoints(SubtractDoublePoints(ToDoublePoint({3, 4}), {1.5, 4}), {1.5, 0}));
  EXPECT_EQ(MakeRect(1, 2, 3, 4), (TRect{1, 2, 3, 4}));
}

}  // namespace
}  // namespace quorvane
