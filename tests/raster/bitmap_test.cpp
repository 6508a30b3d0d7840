#include "raster/bitmap.h"
#include "raster/error.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

TEST(Bitmap, StrideIsTheRowPaddedToFourBytes) {
  TRasterBitmap b;
  b.Reset(TPixelFormat::Bit24, 1, 1);
  EXPECT_EQ(b.Stride(), 4u);
  b.Reset(TPixelFormat::Bit8, 3, 1);
  EXPECT_EQ(b.Stride(), 4u);
  b.Reset(TPixelFormat::Bit1, 33, 1);
  EXPECT_EQ(b.Stride(), 8u);
}

TEST(Bitmap, RowsAreStoredBottomUp) {
  TRasterBitmap b;
  b.Reset(TPixelFormat::Bit24, 5, 3);
  EXPECT_EQ(b.Scanline(1), b.Scanline(0) - b.Stride());
  EXPECT_EQ(b.Scanline(2), b.Scanline(0) - 2 * b.Stride());
  EXPECT_EQ(b.Scanline(2), b.Bits());
}

TEST(Bitmap, AdoptedSixteenBitMemoryIsFifteenBit) {
  TBitmapInfoHeader header;
  header.Width = 2;
  header.Height = 2;
  header.BitCount = 16;
  TRasterBitmap b;
  b.AdoptSection(header, {}, TPixelBuffer(PixelMemorySize(2, 2, 16)));
  EXPECT_EQ(b.PixelFormat(), TPixelFormat::Bit15);
  EXPECT_EQ(b.Width(), 2);
}

TEST(Bitmap, ResizingKeepsTheTopLeftContent) {
  TRasterBitmap b;
  b.Reset(TPixelFormat::Bit8, 4, 4);
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c) b.Scanline(r)[c] = uint8_t(r * 4 + c);
  b.SetSize(2, 3);
  EXPECT_EQ(b.Scanline(0)[0], 0);
  EXPECT_EQ(b.Scanline(2)[1], 9);
  b.SetSize(3, 4);
  EXPECT_EQ(b.Scanline(1)[1], 5);
  EXPECT_EQ(b.Scanline(3)[2], 0);
}

TEST(Bitmap, CopyIsDeep) {
  TRasterBitmap a;
  a.Reset(TPixelFormat::Bit8, 2, 2);
  a.Scanline(0)[0] = 7;
  a.ColorTable()[7] = {1, 2, 3, 0};
  TRasterBitmap b = a;
  a.Scanline(0)[0] = 9;
  EXPECT_EQ(b.Scanline(0)[0], 7);
  EXPECT_EQ(b.QueryPalette(256)[7], (TPaletteColor{3, 2, 1, 0}));
}

}  // namespace
TEST(Bitmap, ScanlineOutsideThePictureIsRefused) {
  TRasterBitmap b;
  b.Reset(TPixelFormat::Bit24, 3, 2);
  const TRasterBitmap& constant = b;
  for (int row : {-1, 2, 1000000}) {
    SCOPED_TRACE(row);
    try {
      b.Scanline(row);
      ADD_FAILURE() << "no exception";
    } catch (const EQuorvaneError& e) {
      EXPECT_STREQ(e.what(), "Scan line index out of range");
    }
    EXPECT_THROW(constant.Scanline(row), EQuorvaneError);
  }
  EXPECT_THROW(TRasterBitmap().Scanline(0), EQuorvaneError);
  EXPECT_NO_THROW(b.Scanline(1));
}

}  // namespace quorvane
