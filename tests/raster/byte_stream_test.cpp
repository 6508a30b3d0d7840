#include "raster/byte_stream.h"

#include <gtest/gtest.h>

#include <cstring>

namespace quorvane {
namespace {

TEST(ByteStream, WordFollowsTheStreamByteOrder) {
  TByteStream stream(std::vector<uint8_t>{0x12, 0x34, 0x12, 0x34});
  EXPECT_EQ(stream.ReadWord(), 0x3412);
  stream.SetBigEndian(true);
  EXPECT_EQ(stream.ReadWord(), 0x1234);

  TByteStream little, big;
  big.SetBigEndian(true);
  little.WriteWord(0x1234);
  big.WriteWord(0x1234);
  EXPECT_EQ(little.Bytes(), (std::vector<uint8_t>{0x34, 0x12}));
  EXPECT_EQ(big.Bytes(), (std::vector<uint8_t>{0x12, 0x34}));
}

TEST(ByteStream, BigEndianDoubleReadsOnlyWithTheSwitchSet) {
  const std::vector<uint8_t> one{0x3F, 0xF0, 0, 0, 0, 0, 0, 0};
  TByteStream little(one), big(one);
  big.SetBigEndian(true);
  EXPECT_NE(little.ReadDouble(), 1.0);
  EXPECT_EQ(big.ReadDouble(), 1.0);
}

TEST(ByteStream, DWordAndDoubleRoundTripInBothOrders) {
  for (bool big_endian : {false, true}) {
    TByteStream stream;
    stream.SetBigEndian(big_endian);
    stream.WriteDWord(0xDEADBEEF);
    stream.WriteDouble(-2.5);
    stream.Seek(0);
    EXPECT_EQ(stream.ReadDWord(), 0xDEADBEEFu);
    EXPECT_EQ(stream.ReadDouble(), -2.5);
  }
}

TEST(ByteStream, ReadsPastTheEndGiveZerosAndCountWhatArrived) {
  TByteStream stream(std::vector<uint8_t>{0xAB});
  uint8_t buffer[4];
  std::memset(buffer, 0xFF, sizeof buffer);
  EXPECT_EQ(stream.Read(buffer, 4), 1u);
  EXPECT_EQ(buffer[0], 0xAB);
  EXPECT_EQ(buffer[1], 0);
  EXPECT_EQ(buffer[3], 0);
  EXPECT_EQ(stream.ReadDWord(), 0u);
  stream.Seek(1000000);
  EXPECT_EQ(stream.ReadWord(), 0);
  EXPECT_EQ(stream.Read(buffer, 4), 0u);
}

TEST(ByteStream, WritesAtAnyPositionExtendTheData) {
  TByteStream stream;
  stream.WriteChars("II");
  EXPECT_EQ(stream.Size(), 2u);
  stream.Seek(6);
  stream.WriteByte(7);
  EXPECT_EQ(stream.Bytes(), (std::vector<uint8_t>{'I', 'I', 0, 0, 0, 0, 7}));
  EXPECT_EQ(stream.ReadChars(0), "");
  stream.Seek(0);
  EXPECT_EQ(stream.ReadChars(2), "II");
}

TEST(ByteStream, Helpers) {
  EXPECT_EQ(SignedByte(128), -128);
  EXPECT_EQ(SignedByte(127), 127);
  EXPECT_EQ(SignedByte(255), -1);
  EXPECT_EQ(RowStride(10, 24, 32), 32);
  EXPECT_EQ(RowStride(9, 1, 32), 4);
  EXPECT_EQ(RowStride(33, 1, 32), 8);
  uint8_t bytes[4] = {1, 2, 3, 4};
  SwapBytes(bytes, 4);
  EXPECT_EQ(bytes[0], 4);
  EXPECT_EQ(bytes[3], 1);
}

}  // namespace
}  // namespace quorvane
