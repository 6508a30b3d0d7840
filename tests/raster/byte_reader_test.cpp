#include "raster/byte_reader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace quorvane {
namespace {

TEST(ByteReader, ValuesFollowTheReadersByteOrder) {
  const std::vector<uint8_t> bytes{0x12, 0x34, 0x56, 0x78};
  TByteReader little(bytes), big(bytes, true);
  EXPECT_EQ(little.ReadWord(), 0x3412);
  EXPECT_EQ(big.ReadWord(), 0x1234);
  EXPECT_EQ(little.DWordAt(0), 0x78563412u);
  EXPECT_EQ(big.DWordAt(0), 0x12345678u);
  EXPECT_EQ(LittleWord(bytes.data()), 0x3412);
  EXPECT_EQ(LittleDWord(bytes.data()), 0x78563412u);
  EXPECT_EQ(BigDWord(bytes.data()), 0x12345678u);
  const std::vector<uint8_t> one{0x3F, 0xF0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(TByteReader(one, true).ReadDouble(), 1.0);
  EXPECT_NE(TByteReader(one, false).ReadDouble(), 1.0);
}

TEST(ByteReader, PastTheEndEverythingReadsAsZeroAndNothingOutsideIsTouched) {
  const std::vector<uint8_t> bytes{1, 2, 3};
  TByteReader r(std::span<const uint8_t>(bytes).first(2));
  EXPECT_EQ(r.ReadByte(), 1);
  EXPECT_EQ(r.ReadWord(), 2);  // the 3 lies outside the span
  EXPECT_TRUE(r.AtEnd());
  EXPECT_EQ(r.Remaining(), 0u);
  EXPECT_EQ(r.ReadDWord(), 0u);
  EXPECT_EQ(r.WordAt(1), 2);
  EXPECT_EQ(r.DWordAt(UINT64_MAX - 1), 0u);
  uint8_t out[4] = {9, 9, 9, 9};
  r.Seek(1);
  EXPECT_EQ(r.Read(out, 4), 1u);
  EXPECT_EQ(out[0], 2);
  EXPECT_EQ(out[3], 0);
  EXPECT_EQ(r.ReadChars(3), std::string(3, '\0'));
  EXPECT_TRUE(r.SpanAt(5, 10).empty());
  EXPECT_EQ(r.SpanAt(1, 10).size(), 1u);
  // A position at the top of the range does not wrap round to the start.
  r.Seek(SIZE_MAX - 1);
  r.Skip(10);
  EXPECT_EQ(r.Position(), SIZE_MAX);
  EXPECT_EQ(r.ReadByte(), 0);
  EXPECT_EQ(r.Position(), SIZE_MAX);
}

TEST(ByteReader, AnEmptyReaderReadsZeros) {
  TByteReader r;
  EXPECT_EQ(r.ReadDWord(), 0u);
  EXPECT_EQ(r.ReadDouble(), 0.0);
  EXPECT_TRUE(r.AtEnd());
}

}  // namespace
}  // namespace quorvane
