#include "imaging/tone.h"

#include <gtest/gtest.h>

#include <cstring>
#include <numeric>

namespace quorvane {
namespace {

std::array<uint8_t, 256> Table(int brightness, int contrast, int gamma) {
  return BuildToneTable(ReadToneSliders(brightness, contrast, gamma));
}

TEST(ToneTable, NeutralSlidersGiveTheIdentity) {
  std::array<uint8_t, 256> identity;
  std::iota(identity.begin(), identity.end(), 0);
  EXPECT_EQ(Table(50, 50, 50), identity);
}

TEST(ToneTable, WorkedExamples) {
  const auto bright = Table(100, 50, 50);
  EXPECT_EQ(bright[25], 250);
  for (int i = 26; i < 256; ++i) EXPECT_EQ(bright[size_t(i)], 255) << i;
  EXPECT_EQ(Table(60, 50, 50)[100], 158);  // 100 * 10^0.2 = 158.49, truncated
  const auto flat = Table(50, 0, 50);
  EXPECT_EQ(flat[0], 115);
  EXPECT_EQ(flat[128], 128);
  EXPECT_EQ(flat[255], 140);
  const auto light = Table(50, 50, 100);
  EXPECT_EQ(light[1], 147);
  EXPECT_EQ(light[128], 238);
  const auto dark = Table(50, 50, 0);
  EXPECT_EQ(dark[128], 0);
  EXPECT_EQ(dark[200], 21);
  EXPECT_EQ(dark[255], 246);
}

TEST(ToneTable, ExtremesStayInRange) {
  EXPECT_EQ(Table(0, 50, 50)[255], 25);  // brightness factor 0.1
  EXPECT_EQ(Table(50, 100, 50)[0], 0);   // contrast pushes below 0, clamped
  EXPECT_EQ(Table(50, 100, 50)[255], 255);
}

TEST(AdjustToneBitmap, MapsEveryChannelByteOfA24BitCopy) {
  TRasterBitmap base;
  base.Reset(TPixelFormat::Bit24, 37, 5);  // odd width: rows carry padding
  for (int r = 0; r < 5; ++r) {
    for (int i = 0; i < 37 * 3; ++i) base.Scanline(r)[i] = uint8_t(r * 50 + i);
  }
  TRasterBitmap destination;
  const TToneValues values = ReadToneSliders(70, 30, 60);
  AdjustToneBitmap(base, destination, values);
  const auto table = BuildToneTable(values);
  ASSERT_EQ(destination.Width(), 37);
  ASSERT_EQ(destination.Height(), 5);
  EXPECT_EQ(destination.PixelFormat(), TPixelFormat::Bit24);
  for (int r = 0; r < 5; ++r) {
    for (int i = 0; i < 37 * 3; ++i) {
      ASSERT_EQ(destination.Scanline(r)[i], table[base.Scanline(r)[i]]) << r << " " << i;
    }
  }
  // Again from the same base: adjustments do not accumulate.
  AdjustToneBitmap(base, destination, values);
  EXPECT_EQ(destination.Scanline(2)[7], table[base.Scanline(2)[7]]);
}

TEST(AdjustToneBitmap, LargePictureMatchesTheTable) {
  TRasterBitmap base;
  base.Reset(TPixelFormat::Bit24, 1001, 64);
  for (size_t i = 0; i < base.Stride() * 64; ++i) base.Bits()[i] = uint8_t(i * 31 + i / 7);
  TRasterBitmap destination;
  const TToneValues values = ReadToneSliders(45, 80, 20);
  AdjustToneBitmap(base, destination, values);
  const auto table = BuildToneTable(values);
  for (int r = 0; r < 64; ++r) {
    for (int i = 0; i < 1001 * 3; ++i)
      ASSERT_EQ(destination.Scanline(r)[i], table[base.Scanline(r)[i]]);
  }
}

TEST(AdjustToneBitmap, PaletteBaseBecomes24BitAndSoDoesTheResult) {
  TRasterBitmap base;
  base.Reset(TPixelFormat::Bit8, 3, 2);
  base.ColorTable()[7] = {10, 20, 30, 0};
  base.Scanline(1)[2] = 7;
  TRasterBitmap destination;
  AdjustToneBitmap(base, destination, {});
  EXPECT_EQ(base.PixelFormat(), TPixelFormat::Bit24);
  EXPECT_EQ(destination.PixelFormat(), TPixelFormat::Bit24);
  EXPECT_EQ(destination.Scanline(1)[6], 10);
  EXPECT_EQ(destination.Scanline(1)[8], 30);
}

TEST(AdjustToneBitmap, EmptyBaseGivesAnEmptyDestination) {
  TRasterBitmap base, destination;
  destination.Reset(TPixelFormat::Bit24, 4, 4);
  AdjustToneBitmap(base, destination, {});
  EXPECT_TRUE(destination.Empty());
}

TEST(ToneSliders, PositionsBecomeHundredthsAndTexts) {
  const TToneValues v = ReadToneSliders(37, 100, 0);
  EXPECT_DOUBLE_EQ(v.Brightness, 0.37);
  const TToneTexts texts = ToneTexts(v);
  EXPECT_EQ(texts.Brightness, "0.37");
  EXPECT_EQ(texts.Contrast, "1");
  EXPECT_EQ(texts.Gamma, "0.0");
  EXPECT_EQ(ToneTexts(ReadToneSliders(0, 50, 37)).Brightness, "0");
  EXPECT_EQ(ToneTexts(ReadToneSliders(0, 50, 37)).Gamma, "0.4");
  EXPECT_EQ(ToneTexts(ReadToneSliders(0, 50, 100)).Gamma, "1.0");
  EXPECT_EQ(ToneTexts(ReadToneSliders(50, 50, 50), ',').Gamma, "0,5");
  EXPECT_EQ(ToneTexts(ReadToneSliders(37, 50, 50), ',').Brightness, "0,37");
  // Ties of the one-decimal rounding go away from zero; near-ties follow the
  // value's 18 significant digits (0.15 is 0.1499999...).
  EXPECT_EQ(ToneTexts(ReadToneSliders(0, 0, 25)).Gamma, "0.3");
  EXPECT_EQ(ToneTexts(ReadToneSliders(0, 0, 15)).Gamma, "0.1");
  EXPECT_EQ(ToneTexts(ReadToneSliders(0, 0, 95)).Gamma, "0.9");
  EXPECT_EQ(ToneTexts(ReadToneSliders(0, 0, 4)).Gamma, "0.0");
  EXPECT_EQ(ToneTexts(ReadToneSliders(0, 0, 5)).Gamma, "0.1");
  EXPECT_EQ(ToneTexts({0, 0, 12.96}).Gamma, "13.0");
  EXPECT_EQ(ToneTexts({0, 0, 99.96}).Gamma, "100.0");
  EXPECT_EQ(CentreTrackBarPosition(0, 100), 50);
}

}  // namespace
}  // namespace quorvane
