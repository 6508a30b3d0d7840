#include "raster/decode_limits.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

#include "raster/error.h"

namespace quorvane {
namespace {

std::string Refusal(const TDecodeLimits& limits, int64_t width, int64_t height, int bits) {
  try {
    limits.CheckPicture(width, height, bits);
  } catch (const EQuorvaneError& e) {
    return e.what();
  }
  return "";
}

TEST(DecodeLimits, TheDefaultCapIsHalfThePhysicalMemory) {
  const uint64_t physical = uint64_t(::sysconf(_SC_PHYS_PAGES)) * uint64_t(::sysconf(_SC_PAGESIZE));
  EXPECT_NEAR(double(DefaultMaxPictureBytes()), double(physical / 2),
              double(::sysconf(_SC_PAGESIZE)));
  EXPECT_EQ(TDecodeLimits{}.Cap(), DefaultMaxPictureBytes());
  EXPECT_EQ(TDecodeLimits{.MaxPictureBytes = 5}.Cap(), 5u);
}

TEST(DecodeLimits, ThePicturesBytesWithRowPaddingAreWhatCounts) {
  // 10 x 10 at 24 bits: rows of 30 bytes padded to 32.
  const TDecodeLimits limits{.MaxPictureBytes = 320};
  EXPECT_EQ(Refusal(limits, 10, 10, 24), "");
  EXPECT_EQ(Refusal(limits, 10, 11, 24),
            "Picture too large: 10 x 11 pixels at 24 bits per pixel need 352 bytes, more than "
            "the memory cap of 320 bytes");
  EXPECT_EQ(Refusal(limits, 0, 0, 24), "");
  EXPECT_EQ(Refusal(limits, 2559, 1, 1), "");
}

TEST(DecodeLimits, SidesTheBitmapCannotAddressAreRefusedWithinAnyCap) {
  const TDecodeLimits limits{.MaxPictureBytes = UINT64_MAX};
  EXPECT_EQ(Refusal(limits, 3000000000, 1, 1),
            "Picture too large: 3000000000 x 1 pixels, more than 2147483647 pixels a side");
  EXPECT_NE(Refusal(limits, 1, -1, 8), "");
}

}  // namespace
}  // namespace quorvane
