#include "tiff/tiff_writer.h"
#include "raster/byte_stream.h"

#include <gtest/gtest.h>

#include "support/test_pictures.h"

#include <cstring>
#include <map>

#include "raster/error.h"

namespace quorvane {
namespace {

// Little-endian readers over the written bytes, independent of the stream.
uint16_t Word(const std::vector<uint8_t>& b, size_t at) {
  return uint16_t(b[at] | b[at + 1] << 8);
}
uint32_t DWord(const std::vector<uint8_t>& b, size_t at) {
  return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 |
         uint32_t(b[at + 3]) << 24;
}
double Double(const std::vector<uint8_t>& b, size_t at) {
  double v;
  std::memcpy(&v, &b[at], 8);
  return v;
}

struct TEntry {
  uint16_t Type;
  uint32_t Count;
  uint32_t Value;
};
struct TParsed {
  uint32_t IfdOffset;
  std::vector<uint16_t> Tags;  // in file order
  std::map<uint16_t, TEntry> Entries;
};
TParsed ParseDirectory(const std::vector<uint8_t>& b) {
  TParsed p;
  p.IfdOffset = DWord(b, 4);
  const uint16_t n = Word(b, p.IfdOffset);
  for (uint16_t i = 0; i < n; ++i) {
    const size_t e = p.IfdOffset + 2 + 12 * i;
    p.Tags.push_back(Word(b, e));
    p.Entries[Word(b, e)] = {Word(b, e + 2), DWord(b, e + 4), DWord(b, e + 8)};
  }
  EXPECT_EQ(DWord(b, p.IfdOffset + 2 + 12 * n), 0u) << "no next directory";
  EXPECT_EQ(b.size(), p.IfdOffset + 2 + 12 * n + 4u) << "the directory ends the file";
  return p;
}

std::vector<uint8_t> Write(const TRasterBitmap& bitmap, bool packbits,
                           const TGeoTiffTags* tags = nullptr) {
  TByteStream stream(EncodeTiff(bitmap, {.PackBits = packbits, .GeoTiff = tags}));
  return stream.TakeBytes();
}

TRasterBitmap TwoPixelRgb() {
  TRasterBitmap b;
  b.Reset(TPixelFormat::Bit24, 2, 1);
  const uint8_t bgr[] = {1, 2, 3, 4, 5, 6};
  std::memcpy(b.Scanline(0), bgr, 6);
  return b;
}

TEST(TiffWriter, TwoPixelRgbMatchesTheLayoutByteForByte) {
  const auto b = Write(TwoPixelRgb(), false);
  const std::vector<uint8_t> head = {'I', 'I', 42,  0,   42,  0,   0,   0,    // header, IFD at 42
                                     100, 0,   0,   0,   1,   0,   0,   0,    // XResolution 100/1
                                     100, 0,   0,   0,   1,   0,   0,   0,    // YResolution 100/1
                                     0,   0,   0,   0,                        // filler
                                     'V', 'e', 'l', 't', 'r', 'a', 'n', 'e',  // Software, no NUL
                                     3,   2,   1,   6,   5,   4};  // the row as red, green, blue
  ASSERT_GE(b.size(), head.size());
  EXPECT_EQ(std::vector<uint8_t>(b.begin(), b.begin() + head.size()), head);

  const TParsed p = ParseDirectory(b);
  EXPECT_EQ(p.IfdOffset, 42u);
  // Fifteen entries: the RGB table without ExtraSamples.
  const std::vector<uint16_t> tags = {254, 256, 257, 258, 259, 262, 273, 277,
                                      278, 279, 282, 283, 284, 296, 305};
  EXPECT_EQ(p.Tags, tags);
  const std::map<uint16_t, TEntry> expected = {
      {254, {4, 1, 0}}, {256, {3, 1, 2}},  {257, {3, 1, 1}}, {258, {3, 1, 8}}, {259, {3, 1, 1}},
      {262, {3, 1, 2}}, {273, {4, 1, 36}}, {277, {3, 1, 3}}, {278, {4, 1, 1}}, {279, {4, 1, 6}},
      {282, {5, 1, 8}}, {283, {5, 1, 16}}, {284, {3, 1, 1}}, {296, {3, 1, 2}}, {305, {2, 8, 28}}};
  for (const auto& [tag, e] : expected) {
    SCOPED_TRACE(tag);
    EXPECT_EQ(p.Entries.at(tag).Type, e.Type);
    EXPECT_EQ(p.Entries.at(tag).Count, e.Count);
    EXPECT_EQ(p.Entries.at(tag).Value, e.Value);
  }
}

TEST(TiffWriter, PackBitsRowsArePaddedToAnEvenLength) {
  const auto b = Write(TwoPixelRgb(), true);
  const std::vector<uint8_t> row = {5, 3, 2, 1, 6, 5, 4, 0x80};
  EXPECT_EQ(std::vector<uint8_t>(b.begin() + 36, b.begin() + 44), row);
  const TParsed p = ParseDirectory(b);
  EXPECT_EQ(p.IfdOffset, 44u);
  EXPECT_EQ(p.Entries.at(259).Value, 32773u);
  EXPECT_EQ(p.Entries.at(279).Value, 8u);
}

TEST(TiffWriter, EightBitPaletteWritesAColorMapScaledBy256) {
  TRasterBitmap bitmap;
  bitmap.Reset(TPixelFormat::Bit8, 3, 2);
  bitmap.ColorTable()[0] = {0x10, 0x20, 0x30, 0};  // blue, green, red
  bitmap.ColorTable()[255] = {0xFF, 0x80, 0x01, 0};
  bitmap.Scanline(0)[0] = 255;
  bitmap.Scanline(1)[2] = 7;
  const auto b = Write(bitmap, false);
  EXPECT_EQ(Word(b, 36), 0x3000);            // red of entry 0
  EXPECT_EQ(Word(b, 36 + 512), 0x2000);      // green of entry 0
  EXPECT_EQ(Word(b, 36 + 1024), 0x1000);     // blue of entry 0
  EXPECT_EQ(Word(b, 36 + 2 * 255), 0x0100);  // red of entry 255
  EXPECT_EQ(Word(b, 36 + 1024 + 510), 0xFF00);
  // Rows start after 768 values; each row is the bitmap's bytes, unpadded.
  const std::vector<uint8_t> rows = {255, 0, 0, 0, 0, 7};
  EXPECT_EQ(std::vector<uint8_t>(b.begin() + 1572, b.begin() + 1578), rows);
  const TParsed p = ParseDirectory(b);
  EXPECT_EQ(p.Tags.size(), 15u);
  EXPECT_EQ(p.Tags.back(), 320);
  EXPECT_EQ(p.Entries.at(320).Count, 768u);
  EXPECT_EQ(p.Entries.at(320).Value, 36u);
  EXPECT_EQ(p.Entries.at(262).Value, 3u);
  EXPECT_EQ(p.Entries.at(277).Value, 1u);
  EXPECT_EQ(p.Entries.at(273).Value, 1572u);
  EXPECT_EQ(p.Entries.count(284), 0u) << "no PlanarConfiguration in the palette table";
}

TEST(TiffWriter, OneAndFourBitColorMapsRepeatTheByte) {
  TRasterBitmap four;
  four.Reset(TPixelFormat::Bit4, 3, 1);
  four.ColorTable()[1] = {0x00, 0x00, 0xAB, 0};
  four.Scanline(0)[0] = 0x12;
  four.Scanline(0)[1] = 0x30;
  auto b = Write(four, false);
  EXPECT_EQ(Word(b, 36 + 2), 0xABAB);
  EXPECT_EQ(ParseDirectory(b).Entries.at(320).Count, 48u);
  EXPECT_EQ(b[36 + 96], 0x12);
  EXPECT_EQ(b[36 + 97], 0x30);

  TRasterBitmap one;
  one.Reset(TPixelFormat::Bit1, 10, 1);
  one.ColorTable()[0] = {0xFF, 0xFF, 0xFF, 0};
  one.ColorTable()[1] = {0, 0, 0, 0};
  b = Write(one, false);
  EXPECT_EQ(Word(b, 36), 0xFFFF);
  const TParsed p = ParseDirectory(b);
  EXPECT_EQ(p.Entries.at(262).Value, 0u) << "white first entry: WhiteIsZero";
  EXPECT_EQ(p.Entries.at(279).Value, 2u) << "ten pixels take two bytes";
  one.ColorTable()[0] = {0xFF, 0xFF, 0x00, 0};
  EXPECT_EQ(ParseDirectory(Write(one, false)).Entries.at(262).Value, 1u)
      << "a first entry with red 0 is BlackIsZero";
}

TEST(TiffWriter, GeoTiffPayloadsLieBetweenRowsAndDirectory) {
  // The tags a save of a UTM zone 33 south picture hands over.
  TGeoTiffTags tags = test_support::SampleGeoTiffTags();
  tags.PixelScale = {30, 15, 1};
  tags.Keys[2].Value_Offset = 32733;
  tags.DoubleParams[2] = -117.474542888889;
  tags.AsciiParams = "Generated By Quorvane";
  const auto b = Write(TwoPixelRgb(), false, &tags);
  const TParsed p = ParseDirectory(b);
  ASSERT_EQ(p.Tags.size(), 20u);
  const std::vector<uint16_t> geo(p.Tags.end() - 5, p.Tags.end());
  EXPECT_EQ(geo, (std::vector<uint16_t>{33550, 33922, 34735, 34736, 34737}));

  const TEntry scale = p.Entries.at(33550), tie = p.Entries.at(33922), keys = p.Entries.at(34735),
               doubles = p.Entries.at(34736), ascii = p.Entries.at(34737);
  // Back to back from the end of the rows, no padding.
  EXPECT_EQ(scale.Value, 42u);
  EXPECT_EQ(tie.Value, 42u + 24);
  EXPECT_EQ(keys.Value, 42u + 24 + 48);
  EXPECT_EQ(doubles.Value, keys.Value + 32);
  EXPECT_EQ(ascii.Value, doubles.Value + 56);
  EXPECT_EQ(p.IfdOffset, ascii.Value + 22);

  EXPECT_EQ(scale.Type, 12);
  EXPECT_EQ(scale.Count, 3u);
  EXPECT_EQ(Double(b, scale.Value), 30.0);
  EXPECT_EQ(Double(b, scale.Value + 8), 15.0);
  EXPECT_EQ(Double(b, scale.Value + 16), 1.0);
  EXPECT_EQ(tie.Count, 6u);
  EXPECT_EQ(Double(b, tie.Value + 24), 500000.0);
  EXPECT_EQ(Double(b, tie.Value + 32), 4649776.0);
  EXPECT_EQ(keys.Type, 3);
  EXPECT_EQ(keys.Count, 16u);
  const std::vector<uint16_t> key_words = {1,    1, 0, 3, 1024, 0, 1, 1,
                                           1025, 0, 1, 1, 3072, 0, 1, 32733};
  for (size_t i = 0; i < key_words.size(); ++i)
    EXPECT_EQ(Word(b, keys.Value + 2 * i), key_words[i]);
  EXPECT_EQ(doubles.Count, 7u);
  EXPECT_EQ(Double(b, doubles.Value + 16), -117.474542888889);
  EXPECT_EQ(ascii.Type, 2);
  EXPECT_EQ(ascii.Count, 22u);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&b[ascii.Value]), 22),
            std::string("Generated By Quorvane\0", 22));
}

TEST(TiffWriter, RefusesFormatsWithoutARowLayoutBeforeWritingAnything) {
  for (TPixelFormat format : {TPixelFormat::Bit32, TPixelFormat::Device, TPixelFormat::Custom}) {
    TRasterBitmap bitmap;
    bitmap.Reset(format, 2, 2);
    TByteStream stream;
    TStageReporter progress;
    int reports = 0;
    progress.SetHook(
        [&](TProgressStage, uint8_t, bool, const TRect&, std::string_view) { ++reports; });
    try {
      stream = TByteStream(EncodeTiff(bitmap, {}, &progress));
      ADD_FAILURE() << "no error";
    } catch (const EQuorvaneError& e) {
      EXPECT_STREQ(e.what(), "Invalid Pixel Format");
    }
    EXPECT_EQ(stream.Size(), 0u);
    EXPECT_EQ(reports, 0);
    EXPECT_FALSE(progress.HasHook()) << "the hook serves one write only";
  }
}

TEST(TiffWriter, FifteenAndSixteenBitPixelsAreWidenedToEightBitsPerSample) {
  TRasterBitmap b15;
  b15.Reset(TPixelFormat::Bit15, 2, 1);
  // Red 31, green 0, blue 1; then white.
  const uint16_t p15[] = {uint16_t(31 << 10 | 1), 0x7FFF};
  std::memcpy(b15.Scanline(0), p15, 4);
  auto b = Write(b15, false);
  EXPECT_EQ(std::vector<uint8_t>(b.begin() + 36, b.begin() + 42),
            (std::vector<uint8_t>{255, 0, 8, 255, 255, 255}));
  EXPECT_EQ(ParseDirectory(b).Entries.at(277).Value, 3u);

  TRasterBitmap b16;
  b16.Reset(TPixelFormat::Bit16, 1, 1);
  const uint16_t p16 = uint16_t(16 << 11 | 63 << 5 | 0);
  std::memcpy(b16.Scanline(0), &p16, 2);
  b = Write(b16, false);
  EXPECT_EQ(std::vector<uint8_t>(b.begin() + 36, b.begin() + 39),
            (std::vector<uint8_t>{132, 255, 0}));
}

TEST(TiffWriter, RowsWiderThan32768PixelsAreWrittenWhole) {
  TRasterBitmap bitmap;
  bitmap.Reset(TPixelFormat::Bit24, 40000, 1);
  bitmap.Scanline(0)[3 * 39999] = 9;  // blue of the last pixel
  const auto b = Write(bitmap, false);
  EXPECT_EQ(ParseDirectory(b).Entries.at(279).Value, 120000u);
  EXPECT_EQ(b[36 + 3 * 39999 + 2], 9);
}

TEST(TiffWriter, ZeroRowsGiveAnEmptyStripAndSaneProgress) {
  TRasterBitmap bitmap;
  bitmap.Reset(TPixelFormat::Bit24, 5, 0);
  TStageReporter progress;
  std::vector<int> percents;
  progress.SetHook([&](TProgressStage, uint8_t p, bool, const TRect&, std::string_view) {
    percents.push_back(p);
  });
  TByteStream stream(EncodeTiff(bitmap, {.PackBits = true}, &progress));
  const auto b = stream.TakeBytes();
  const TParsed p = ParseDirectory(b);
  EXPECT_EQ(p.Entries.at(279).Value, 0u);
  EXPECT_EQ(p.Entries.at(257).Value, 0u);
  EXPECT_EQ(percents, (std::vector<int>{0, 0}));
}

TEST(TiffWriter, ProgressRunsOncePerRowAndEndsOn99AfterTwelveRows) {
  TRasterBitmap bitmap;
  bitmap.Reset(TPixelFormat::Bit24, 3, 12);
  TStageReporter progress;
  std::vector<std::pair<TProgressStage, int>> reports;
  std::vector<bool> redraws;
  progress.SetHook([&](TProgressStage s, uint8_t p, bool redraw, const TRect&, std::string_view) {
    reports.emplace_back(s, p);
    redraws.push_back(redraw);
  });
  TByteStream stream(EncodeTiff(bitmap, {}, &progress));
  ASSERT_EQ(reports.size(), 14u);
  EXPECT_EQ(reports.front(), std::make_pair(TProgressStage::Starting, 0));
  EXPECT_EQ(reports[1], std::make_pair(TProgressStage::Running, 8));
  EXPECT_EQ(reports[12], std::make_pair(TProgressStage::Running, 99));
  EXPECT_EQ(reports.back(), std::make_pair(TProgressStage::Ending, 99));
  EXPECT_TRUE(redraws.back());
  EXPECT_FALSE(progress.HasHook());
}

TEST(TiffWriter, AlwaysBeginsLittleEndian) {
  TByteStream stream;
  stream.SetBigEndian(true);
  stream = TByteStream(EncodeTiff(TwoPixelRgb(), {}));
  const auto b = stream.TakeBytes();
  EXPECT_EQ(std::vector<uint8_t>(b.begin(), b.begin() + 4),
            (std::vector<uint8_t>{0x49, 0x49, 0x2A, 0}));
}

}  // namespace
}  // namespace quorvane
