#include "imaging/startup_picture.h"

#include <gtest/gtest.h>

#include <set>

namespace quorvane {
namespace {

TEST(StartupPicture, EightBitPaletteOfTheFixedSize) {
  const TRasterBitmap b = MakeStartupPicture();
  EXPECT_EQ(b.Width(), 150);
  EXPECT_EQ(b.Height(), 76);
  EXPECT_EQ(b.PixelFormat(), TPixelFormat::Bit8);
}

TEST(StartupPicture, CarriesLetteringOverAVariedBackground) {
  const TRasterBitmap b = MakeStartupPicture();
  std::set<uint8_t> used;
  int ink = 0;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) {
      used.insert(b.Scanline(y)[x]);
      const TRGBQuad c = b.ColorTable()[b.Scanline(y)[x]];
      if (c == TRGBQuad{128, 0, 0, 0}) ++ink;  // navy
    }
  EXPECT_GT(ink, 300);  // the title, three pixels per font pixel
  EXPECT_GT(used.size(), 50u);
  // The same picture every time.
  const TRasterBitmap again = MakeStartupPicture();
  for (int y = 0; y < b.Height(); ++y)
    EXPECT_TRUE(std::equal(b.Scanline(y), b.Scanline(y) + b.Width(), again.Scanline(y)));
}

}  // namespace
}  // namespace quorvane
