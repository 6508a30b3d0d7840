#include "raster/packbits.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

std::vector<uint8_t> Encode(const std::vector<uint8_t>& row) {
  std::vector<uint8_t> out;
  const size_t n = PackBitsEncodeRow(row.data(), row.size(), out);
  EXPECT_EQ(n, out.size());
  EXPECT_EQ(n % 2, 0u) << "encoded rows have an even length";
  return out;
}

TEST(PackBitsEncoder, WorkedExamples) {
  EXPECT_EQ(Encode({0xAA, 0xAA, 0xAA, 0xAA, 0xBB}), (std::vector<uint8_t>{0xFD, 0xAA, 0x00, 0xBB}));
  EXPECT_EQ(Encode({3, 2, 1, 6, 5, 4}), (std::vector<uint8_t>{5, 3, 2, 1, 6, 5, 4, 0x80}));
  EXPECT_EQ(Encode(std::vector<uint8_t>(200, 7)), (std::vector<uint8_t>{0x81, 7, 0xB9, 7}));
  EXPECT_EQ(Encode({}), (std::vector<uint8_t>{}));
}

TEST(PackBitsEncoder, TwoEqualBytesStayLiteralUnlessAFullBufferIsFlushed) {
  EXPECT_EQ(Encode({9, 9, 1, 2}), (std::vector<uint8_t>{3, 9, 9, 1, 2, 0x80}));
}

TEST(PackBitsEncoder, LiteralGroupsHoldAtMost127Bytes) {
  std::vector<uint8_t> row(300);
  for (size_t i = 0; i < row.size(); ++i) row[i] = uint8_t(i);
  const auto out = Encode(row);
  ASSERT_GE(out.size(), 128u);
  EXPECT_EQ(out[0], 126);
  EXPECT_EQ(out[128], 126);
  EXPECT_EQ(out[256], 300 - 254 - 1);
}

}  // namespace
}  // namespace quorvane
