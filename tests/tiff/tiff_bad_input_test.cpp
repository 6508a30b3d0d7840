// Damaged and hostile files: every one ends in a picture or a message, never
// in a crash, a hang or an absurd allocation.
#include <gtest/gtest.h>

#include <random>

#include "support/tiff_test_builder.h"
#include "tiff/tiff_reader.h"
#include "tiff_test_support.h"

namespace quorvane {
namespace {

using test_support::LoadMessage;
using test_support::LoadTiffBytes;
using test_support::MakeTiff;
using test_support::Pixels;
using test_support::TTestImage;
using test_support::TTiffBuilder;

TEST(TiffBadInput, AHeaderBeyondTheMemoryCapIsRefusedBeforeAllocating) {
  for (uint16_t compression : {1, 5, 32773}) {
    for (bool big : {false, true}) {
      TTiffBuilder f(big);
      const uint32_t strip = f.AddData({0x80, 0, 0x20, 0x10});
      f.Long(256, {65535}).Long(257, {65535}).Short(258, {8}).Short(277, {4});
      f.Short(259, {compression}).Short(262, {2}).Long(273, {strip});
      EXPECT_EQ(LoadMessage(f.Build()),
                "Picture too large: 65535 x 65535 pixels at 32 bits per pixel need 17179344900 "
                "bytes, more than the memory cap of 268435456 bytes");
    }
  }
}

TEST(TiffBadInput, OneAbsurdlyWideRowBeyondTheCapIsRefused) {
  // Found by fuzzing: a single row 1.8 billion pixels wide.
  for (uint16_t compression : {1, 5, 32773}) {
    TTiffBuilder f(false);
    const uint32_t strip = f.AddData({1, 2, 3, 4});
    f.Long(256, {1818320740}).Long(257, {1}).Short(258, {8}).Short(259, {compression});
    f.Long(273, {strip});
    EXPECT_EQ(LoadMessage(f.Build()),
              "Picture too large: 1818320740 x 1 pixels at 8 bits per pixel need 1818320740 "
              "bytes, more than the memory cap of 268435456 bytes");
  }
}

TEST(TiffBadInput, ManyStripsPointingAtTheSameTinyDataAreStillBounded) {
  TTiffBuilder f(false);
  const uint32_t strip = f.AddData({1, 2, 3, 4});
  f.Long(256, {65535}).Long(257, {65535}).Short(258, {8}).Short(277, {4}).Short(262, {2});
  f.Long(273, std::vector<uint32_t>(2000, strip)).Long(278, {1});
  EXPECT_EQ(LoadMessage(f.Build()),
            "Picture too large: 65535 x 65535 pixels at 32 bits per pixel need 17179344900 "
            "bytes, more than the memory cap of 268435456 bytes");
}

// Within the cap a few bytes may claim a large picture: it is allocated
// zeroed, and the rows past the data cost no work.
TEST(TiffBadInput, AHeaderWithinTheCapOverTinyDataLoadsZeroed) {
  for (uint16_t compression : {1, 5, 32773}) {
    SCOPED_TRACE(compression);
    // The directory first, so the four bytes of data end the file.
    TTiffBuilder f(false, 7);
    const uint32_t strip = f.AddData({0x80, 0, 0, 0});
    f.Long(256, {8000}).Long(257, {8000}).Short(258, {8}).Short(277, {4});
    f.Short(259, {compression}).Short(262, {2}).Long(273, {strip});
    TRasterBitmap b;
    ASSERT_EQ(LoadMessage(f.Build(), b), "");
    EXPECT_EQ(b.Width(), 8000);
    EXPECT_EQ(b.Scanline(7999)[31999], 0);
  }
}

TEST(TiffBadInput, WidthBeyondSixteenBitsIsKept) {
  TTestImage s;
  s.width = 70000;
  s.height = 2;
  s.compression = 5;
  s.rows.assign(140000, 0);
  for (size_t i = 0; i < s.rows.size(); i += 1000) s.rows[i] = uint8_t(i / 1000);
  TRasterBitmap b;
  LoadTiffBytes(MakeTiff(s), b);
  EXPECT_EQ(b.Width(), 70000);
  EXPECT_EQ(Pixels(b), s.rows);
}

TEST(TiffBadInput, StripCountsAndOffsetsBeyondTheFile) {
  TRasterBitmap b;
  // A billion strips whose offset array lies past the end: nothing to read.
  TTiffBuilder many(false);
  many.Short(256, {4}).Short(257, {4}).Short(258, {8}).Short(278, {1});
  many.RawEntry(273, 4, 1000000000, 0x7FFFFFF0);
  EXPECT_EQ(LoadMessage(many.Build(), b), "");
  EXPECT_EQ(Pixels(b), std::vector<uint8_t>(16, 0));
  // Strips that start past the end: raw ends the image, LZW and PackBits
  // read nothing.
  for (uint16_t compression : {1, 5, 32773}) {
    TTiffBuilder f(true);
    f.Short(256, {4}).Short(257, {4}).Short(258, {8}).Short(259, {compression});
    f.Long(273, {0xFFFFFF00u, 0xFFFFFFF0u}).Short(278, {2});
    EXPECT_EQ(LoadMessage(f.Build(), b), "");
    EXPECT_EQ(b.Height(), 4);
  }
  // RowsPerStrip 0 with many strips decodes no rows and ends.
  TTiffBuilder zero(false);
  const uint32_t data = zero.AddData(std::vector<uint8_t>(16, 3));
  zero.Short(256, {4}).Short(257, {4}).Short(258, {8}).Long(273, std::vector<uint32_t>(3000, data));
  EXPECT_EQ(LoadMessage(zero.Build(), b), "");
}

TEST(TiffBadInput, DirectoryPastTheEnd) {
  std::vector<uint8_t> file = {'I', 'I', 42, 0, 0xF0, 0xFF, 0xFF, 0x7F};
  EXPECT_EQ(LoadMessage(file), "Width or Height is Zero");
  std::vector<uint8_t> cut =
      MakeTiff(TTestImage{false, 3, 3, 8, 1, 1, 1, 0, 0, std::vector<uint8_t>(9, 1), {}});
  // The directory loses StripByteCounts and half of SamplesPerPixel, whose
  // missing bytes read as zero samples.
  cut.erase(cut.end() - 20, cut.end());
  EXPECT_EQ(LoadMessage(cut), "Unsupported Format: Could not create Bitmap.");
}

// Every prefix of valid files in every compression loads or fails with a
// message.
TEST(TiffBadInput, EveryTruncationEndsCleanly) {
  for (uint16_t compression : {1, 5, 32773}) {
    for (bool big : {false, true}) {
      TTiffBuilder f(big, 8);
      std::vector<uint8_t> rows(3 * 20 * 12);
      for (size_t i = 0; i < rows.size(); ++i) rows[i] = uint8_t(i * 13 / 7);
      TTestImage s{big, 20, 12, 8, 3, 2, compression, 2, 5, rows, {}};
      std::vector<uint32_t> offsets;
      for (uint32_t r = 0; r < 12; r += 5) {
        std::vector<uint8_t> strip = test_support::EncodeStrip(s, r, std::min(5u, 12 - r));
        offsets.push_back(f.AddData(strip));
      }
      f.Short(256, {20}).Short(257, {12}).Short(258, {8}).Short(259, {compression});
      f.Short(262, {2}).Short(277, {3}).Short(278, {5}).Long(273, offsets);
      const std::vector<uint8_t> file = f.Build();
      for (size_t n = 0; n < file.size(); ++n) {
        TRasterBitmap b;
        try {
          LoadTiffBytes(std::vector<uint8_t>(file.begin(), file.begin() + n), b);
        } catch (const EQuorvaneError&) {
        }
      }
    }
  }
}

// Random damage to valid files: byte flips, including in the directory.
TEST(TiffBadInput, RandomDamageNeverCrashes) {
  std::mt19937 random(1234);
  std::vector<std::vector<uint8_t>> seeds;
  for (uint16_t compression : {1, 5, 32773}) {
    for (uint16_t samples : {1, 3, 4}) {
      TTestImage s;
      s.big_endian = compression == 5;
      s.width = 17;
      s.height = 9;
      s.samples_per_pixel = samples;
      s.photometric = samples == 1 ? 3 : 2;
      s.compression = compression;
      s.rows_per_strip = 4;
      s.predictor = compression == 5 ? 2 : 0;
      s.rows.resize(17 * 9 * samples);
      for (auto& v : s.rows) v = uint8_t(random() % 6);
      if (samples == 1)
        for (int i = 0; i < 768; ++i) s.color_map.push_back(uint16_t(i * 85));
      seeds.push_back(MakeTiff(s));
    }
  }
  int loaded = 0;
  for (int round = 0; round < 3000; ++round) {
    std::vector<uint8_t> file = seeds[round % seeds.size()];
    const int flips = 1 + random() % 6;
    for (int k = 0; k < flips; ++k) file[random() % file.size()] = uint8_t(random());
    TRasterBitmap b;
    try {
      LoadTiffBytes(file, b);
      ++loaded;
    } catch (const EQuorvaneError&) {
    }
  }
  EXPECT_GT(loaded, 0);
}

// Random bytes as LZW data: every outcome is a picture or the LZW message.
TEST(TiffBadInput, LzwGarbage) {
  std::mt19937 random(99);
  for (int round = 0; round < 400; ++round) {
    std::vector<uint8_t> garbage(1 + random() % 3000);
    for (auto& v : garbage) v = uint8_t(random());
    if (round % 2 == 0) garbage[0] = 0x80;  // a Clear first
    TTiffBuilder f(false);
    const uint32_t strip = f.AddData(garbage);
    f.Short(256, {64}).Short(257, {64}).Short(258, {8}).Short(259, {5}).Long(273, {strip});
    const std::string message = LoadMessage(f.Build());
    EXPECT_TRUE(message.empty() || message.rfind("Invalid LZW Code: ", 0) == 0 ||
                message.rfind("Unsupported LZW Bit Order", 0) == 0)
        << message;
  }
}

}  // namespace
}  // namespace quorvane
