#include "tiff/tiff_reader.h"
#include "raster/byte_stream.h"

#include <gtest/gtest.h>

#include "support/tiff_test_builder.h"
#include "tiff_test_support.h"

namespace quorvane {
namespace {

using test_support::LoadMessage;
using test_support::LoadTiffBytes;
using test_support::MakeTiff;
using test_support::Pixels;
using test_support::TTestImage;
using test_support::TTiffBuilder;

TTestImage Grey8(bool big_endian, uint32_t width, uint32_t height) {
  TTestImage s;
  s.big_endian = big_endian;
  s.width = width;
  s.height = height;
  for (uint32_t i = 0; i < width * height; ++i) s.rows.push_back(uint8_t(i * 7));
  return s;
}

TEST(TiffHeader, WrongMarkOrMagicIsInvalid) {
  std::vector<uint8_t> file = MakeTiff(Grey8(false, 4, 4));
  file[2] = 43;
  EXPECT_EQ(LoadMessage(file), "Invalid TIF File");
  file = MakeTiff(Grey8(false, 4, 4));
  file[0] = 'X';
  file[1] = 'Y';
  EXPECT_EQ(LoadMessage(file), "Invalid TIF File");
  EXPECT_EQ(LoadMessage({'I', 'I'}), "Invalid TIF File");
  EXPECT_EQ(LoadMessage({}), "Invalid TIF File");
}

TEST(TiffHeader, FirstDirectoryAtZeroLoadsNothingAndKeepsThePicture) {
  TRasterBitmap bitmap;
  bitmap.Reset(TPixelFormat::Bit24, 3, 2);
  bitmap.Scanline(0)[0] = 99;
  for (bool big : {false, true}) {
    std::vector<uint8_t> file = MakeTiff(Grey8(big, 4, 4));
    std::fill(file.begin() + 4, file.begin() + 8, 0);
    EXPECT_EQ(LoadMessage(file, bitmap), "");
    EXPECT_EQ(bitmap.Width(), 3);
    EXPECT_EQ(bitmap.PixelFormat(), TPixelFormat::Bit24);
    EXPECT_EQ(bitmap.Scanline(0)[0], 99);
  }
}

TEST(TiffHeader, BothByteOrdersGiveTheSameBitmap) {
  TRasterBitmap little, big;
  LoadTiffBytes(MakeTiff(Grey8(false, 13, 5)), little);
  LoadTiffBytes(MakeTiff(Grey8(true, 13, 5)), big);
  EXPECT_EQ(little.PixelFormat(), TPixelFormat::Bit8);
  EXPECT_EQ(Pixels(little), Pixels(big));
  EXPECT_EQ(Pixels(little)[14], uint8_t(14 * 7));
}

TEST(TiffDirectory, UnknownTagsAndTagsOutOfOrderDoNotDisturbTheWalk) {
  TTestImage s = Grey8(true, 6, 3);
  TTiffBuilder b = test_support::BuilderFor(s);
  b.Ascii(305, "some software").Long(65000, {1, 2, 3}).Short(254, {0});
  b.Ascii(270, "a description that is ignored");
  TRasterBitmap bitmap;
  LoadTiffBytes(b.Build(), bitmap);
  EXPECT_EQ(Pixels(bitmap), s.rows);
}

TEST(TiffDirectory, OnlyTheFirstOfTwoDirectoriesIsRead) {
  TTestImage first = Grey8(false, 4, 2);
  std::vector<uint8_t> file = MakeTiff(first);
  // Point the first directory's next-directory field at a copy of itself
  // with another width: the reader must not follow it.
  const uint32_t ifd = file[4] | file[5] << 8 | file[6] << 16 | uint32_t(file[7]) << 24;
  const uint16_t entries = file[ifd] | file[ifd + 1] << 8;
  const size_t next_field = ifd + 2 + 12 * entries;
  std::vector<uint8_t> second(file.begin() + ifd, file.end());
  second[2 + 8] = 9;  // ImageWidth 9
  const uint32_t second_at = uint32_t(file.size());
  file.insert(file.end(), second.begin(), second.end());
  for (int i = 0; i < 4; ++i) file[next_field + i] = uint8_t(second_at >> (8 * i));
  TRasterBitmap bitmap;
  LoadTiffBytes(file, bitmap);
  EXPECT_EQ(bitmap.Width(), 4);
}

TEST(TiffDirectory, BitsPerSampleAtAnOffsetTimesSamplesIsTheDepth) {
  TTestImage s;
  s.width = 2;
  s.height = 1;
  s.samples_per_pixel = 3;
  s.photometric = 2;
  s.rows = {10, 20, 30, 40, 50, 60};
  for (bool big : {false, true}) {
    s.big_endian = big;
    TRasterBitmap bitmap;
    LoadTiffBytes(MakeTiff(s), bitmap);
    EXPECT_EQ(bitmap.PixelFormat(), TPixelFormat::Bit24);
    EXPECT_EQ(Pixels(bitmap), (std::vector<uint8_t>{30, 20, 10, 60, 50, 40}));
  }
  s.bits_per_sample = 16;
  s.rows.resize(12);
  EXPECT_EQ(LoadMessage(MakeTiff(s)), "Unsupported Bits/Pixel: 48");
}

// Two SHORTs fit inside the entry; a reader that took the field for an
// offset would read garbage. Grey with alpha is one 16-bit sample.
TEST(TiffDirectory, TwoInlineBitsPerSampleValuesAreReadInPlace) {
  for (bool big : {false, true}) {
    TTestImage s;
    s.big_endian = big;
    s.width = 2;
    s.height = 1;
    s.samples_per_pixel = 2;
    s.rows = {0xFF, 0xFF, 0x08, 0x00};
    TRasterBitmap bitmap;
    LoadTiffBytes(MakeTiff(s), bitmap);
    EXPECT_EQ(bitmap.PixelFormat(), TPixelFormat::Bit15);
    const uint16_t expected_second = big ? 0x0421 : 0x0000;  // 0x0800 or 0x0008
    const uint8_t* row = bitmap.Scanline(0);
    EXPECT_EQ(row[0] | row[1] << 8, 0x7FFF);
    EXPECT_EQ(row[2] | row[3] << 8, expected_second);
  }
}

// StripOffsets may be SHORTs, and two of them sit in the entry itself.
TEST(TiffDirectory, ShortStripOffsetsInlineAndAtAnOffset) {
  for (bool big : {false, true}) {
    for (int strips : {1, 2, 3}) {
      TTiffBuilder b(big);
      std::vector<uint16_t> offsets;
      for (int i = 0; i < strips; ++i) offsets.push_back(uint16_t(b.AddData({uint8_t(i + 1), 7})));
      b.Short(256, {2}).Short(257, {uint16_t(strips)}).Short(258, {8});
      b.Short(273, offsets).Short(278, {1});
      TRasterBitmap bitmap;
      LoadTiffBytes(b.Build(), bitmap);
      ASSERT_EQ(bitmap.Height(), strips);
      for (int i = 0; i < strips; ++i) {
        EXPECT_EQ(bitmap.Scanline(i)[0], i + 1) << "big " << big << " strips " << strips;
        EXPECT_EQ(bitmap.Scanline(i)[1], 7);
      }
    }
  }
}

TEST(TiffPalette, BilevelPaletteFollowsPhotometric) {
  for (uint16_t photometric : {0, 1, 3}) {
    TTestImage s;
    s.width = 10;
    s.height = 1;
    s.bits_per_sample = 1;
    s.photometric = photometric;
    s.rows = {0xA5, 0xC0};          // a width of 10 needs two bytes per row
    s.color_map.assign(6, 0x8000);  // overridden by the bilevel rule
    TRasterBitmap bitmap;
    LoadTiffBytes(MakeTiff(s), bitmap);
    ASSERT_EQ(bitmap.PixelFormat(), TPixelFormat::Bit1);
    const TRGBQuad black{0, 0, 0, 0}, white{255, 255, 255, 0};
    EXPECT_EQ(bitmap.ColorTable()[0], photometric == 0 ? white : black);
    EXPECT_EQ(bitmap.ColorTable()[1], photometric == 0 ? black : white);
    EXPECT_EQ(Pixels(bitmap), s.rows);
  }
}

TEST(TiffPalette, WithoutColorMapTheGreyRampIsUsed) {
  for (uint16_t bits : {4, 8}) {
    TTestImage s;
    s.width = 2;
    s.height = 1;
    s.bits_per_sample = bits;
    s.rows = bits == 4 ? std::vector<uint8_t>{0x0F} : std::vector<uint8_t>{3, 200};
    TRasterBitmap bitmap;
    LoadTiffBytes(MakeTiff(s), bitmap);
    const auto table = bitmap.ColorTable();
    ASSERT_EQ(table.size(), size_t(1) << bits);
    // A 4-bit grey image shows entries 0 to 15 of the 8-bit ramp: dark greys.
    EXPECT_EQ(table[15], (TRGBQuad{15, 15, 15, 0}));
    EXPECT_EQ(table[table.size() - 1].Red, table.size() - 1);
  }
}

TEST(TiffPalette, ColorMapKeepsHighBytesAndTheRampBeyondIt) {
  for (bool big : {false, true}) {
    TTestImage s;
    s.big_endian = big;
    s.width = 2;
    s.height = 1;
    s.bits_per_sample = 4;
    s.photometric = 3;
    s.rows = {0x1E};
    for (int c = 0; c < 3; ++c)
      for (int i = 0; i < 16; ++i) s.color_map.push_back(uint16_t((i * 16 + c) << 8 | 0xFF));
    TRasterBitmap bitmap;
    LoadTiffBytes(MakeTiff(s), bitmap);
    ASSERT_EQ(bitmap.PixelFormat(), TPixelFormat::Bit4);
    EXPECT_EQ(bitmap.ColorTable()[1], (TRGBQuad{18, 17, 16, 0}));
    EXPECT_EQ(bitmap.ColorTable()[14], (TRGBQuad{226, 225, 224, 0}));
  }
}

// The map is read when its entry comes, with the BitsPerSample known then:
// before BitsPerSample that is 0, so one entry (2^0) is taken.
TEST(TiffPalette, ColorMapBeforeBitsPerSampleReadsOneEntry) {
  TTiffBuilder b(false);
  const uint32_t strip = b.AddData({0, 1, 2});
  std::vector<uint16_t> map(3 * 256, 0xAB00);
  b.Short(320, map).Short(256, {3}).Short(257, {1}).Short(258, {8}).Short(262, {3});
  b.Long(273, {strip});
  TRasterBitmap bitmap;
  LoadTiffBytes(b.Build(), bitmap);
  EXPECT_EQ(bitmap.ColorTable()[0], (TRGBQuad{0xAB, 0xAB, 0xAB, 0}));
  EXPECT_EQ(bitmap.ColorTable()[1], (TRGBQuad{1, 1, 1, 0}));
}

TEST(TiffPalette, ColorMapPastTheEndReadsZerosWithoutFailing) {
  TTiffBuilder b(false);
  const uint32_t strip = b.AddData({0, 1});
  b.Short(256, {2}).Short(257, {1}).Short(258, {8}).Short(262, {3}).Long(273, {strip});
  b.RawEntry(320, 3, 768, 0xFFFFFF00u);
  TRasterBitmap bitmap;
  LoadTiffBytes(b.Build(), bitmap);
  EXPECT_EQ(bitmap.ColorTable()[1], (TRGBQuad{0, 0, 0, 0}));
}

TEST(TiffGeo, GeoTiffTagsAreReadInTheFileByteOrder) {
  for (bool big : {false, true}) {
    TTiffBuilder b = test_support::BuilderFor(Grey8(big, 2, 2));
    b.Doubles(33550, {30, 30, 0}).Doubles(33922, {0, 0, 0, 500000, 4649776, 0});
    b.Short(34735, {1, 1, 0, 1, 3072, 0, 1, 32618});
    TByteStream stream(b.Build());
    TGeoTiffTags tags;
    TRasterBitmap bitmap;
    DecodeTiff(stream.Bytes(), bitmap, tags);
    EXPECT_EQ(tags.PixelScale, (std::array<double, 3>{30, 30, 0})) << "big " << big;
    EXPECT_EQ(tags.TiePoints[0], (TTiePoint{0, 0, 0, 500000, 4649776, 0})) << "big " << big;
    ASSERT_EQ(tags.KeyEntryCount, 1) << "big " << big;
    EXPECT_EQ(tags.Keys[0], (TGeoKeyEntry{kProjectedCSTypeGeoKey, 0, 1, 32618})) << "big " << big;
  }
}

struct TProgressLog {
  std::vector<std::pair<TProgressStage, int>> reports;
  TProgressEvent Hook() {
    return [this](TProgressStage stage, uint8_t percent, bool, const TRect&, std::string_view) {
      reports.emplace_back(stage, percent);
    };
  }
};

TEST(TiffProgress, OneRunningReportPerRowAndTheHookIsClearedAfterwards) {
  for (uint32_t height : {10u, 12u}) {
    for (uint16_t compression : {1, 5, 32773}) {
      TTestImage s = Grey8(false, 3, height);
      s.compression = compression;
      s.rows_per_strip = 5;
      TProgressLog log;
      TStageReporter reporter;
      reporter.SetHook(log.Hook());
      TRasterBitmap bitmap;
      LoadTiffBytes(MakeTiff(s), bitmap, &reporter);
      EXPECT_FALSE(reporter.HasHook());
      ASSERT_EQ(log.reports.size(), height + 2);
      EXPECT_EQ(log.reports.front(), std::make_pair(TProgressStage::Starting, 0));
      EXPECT_EQ(log.reports[1].second, height == 10 ? 10 : 8);
      // Twelve steps of 100/12 stay just below 100.
      const int last = height == 10 ? 100 : 99;
      EXPECT_EQ(log.reports[height], std::make_pair(TProgressStage::Running, last));
      EXPECT_EQ(log.reports.back(), std::make_pair(TProgressStage::Ending, last));
    }
  }
}

TEST(TiffProgress, HookIsClearedWhenTheLoadFails) {
  TStageReporter reporter;
  TProgressLog log;
  reporter.SetHook(log.Hook());
  TRasterBitmap bitmap;
  TTestImage s = Grey8(false, 3, 3);
  s.compression = 7;
  EXPECT_THROW(LoadTiffBytes(MakeTiff(s), bitmap, &reporter), EQuorvaneError);
  EXPECT_FALSE(reporter.HasHook());
}

TEST(TiffFile, LoadTiffFileReadsFromDisk) {
  const std::string path = ::testing::TempDir() + "/quorvane_tiff_reader_test.tif";
  const std::vector<uint8_t> bytes = MakeTiff(Grey8(true, 5, 4));
  FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
  TRasterBitmap bitmap;
  TGeoTiffTags tags;
  LoadTiffFile(path, bitmap, tags);
  std::remove(path.c_str());
  EXPECT_EQ(bitmap.Width(), 5);
  EXPECT_EQ(bitmap.Height(), 4);
  EXPECT_THROW(LoadTiffFile(path, bitmap, tags), EQuorvaneError);
  EXPECT_EQ(bitmap.Width(), 5) << "a failed open keeps the picture";
}

}  // namespace
}  // namespace quorvane
