#include "formats/jpeg_codec.h"

#include <gtest/gtest.h>

#include <cstring>

#include "raster/error.h"
#include "support/decode_limits.h"
#include "support/test_pictures.h"

namespace quorvane {
namespace {

using test_support::Compare24;
using test_support::Gradient24;

// Reads a binary PPM (P6, maxval 255) into a 24-bit bitmap.
TRasterBitmap ReadPpm(const std::vector<uint8_t>& bytes) {
  std::string header;
  size_t at = 0;
  int fields = 0, values[3] = {};
  // Magic, width, height, maxval separated by whitespace.
  while (fields < 4 && at < bytes.size()) {
    while (at < bytes.size() && std::isspace(bytes[at])) ++at;
    std::string token;
    while (at < bytes.size() && !std::isspace(bytes[at])) token += char(bytes[at++]);
    if (fields == 0)
      EXPECT_EQ(token, "P6");
    else
      values[fields - 1] = std::stoi(token);
    ++fields;
  }
  ++at;  // the single whitespace before the samples
  TRasterBitmap b;
  b.Reset(TPixelFormat::Bit24, values[0], values[1]);
  for (int y = 0; y < values[1]; ++y) {
    uint8_t* p = b.Scanline(y);
    for (int x = 0; x < values[0]; ++x, at += 3, p += 3) {
      p[0] = bytes[at + 2];
      p[1] = bytes[at + 1];
      p[2] = bytes[at];
    }
  }
  return b;
}

std::string DecodeError(const std::vector<uint8_t>& bytes) {
  TRasterBitmap b;
  try {
    DecodeJpeg(bytes, b, test_support::TestDecode());
  } catch (const EQuorvaneError& e) {
    return e.what();
  }
  return "";
}

// Offset of the first marker FF xx in a JPEG stream, or npos.
size_t FindMarker(const std::vector<uint8_t>& jpeg, uint8_t marker) {
  for (size_t i = 0; i + 1 < jpeg.size(); ++i)
    if (jpeg[i] == 0xFF && jpeg[i + 1] == marker) return i;
  return std::string::npos;
}

TEST(JpegCodec, RoundTripKeepsColoursWithinJpegLoss) {
  const TRasterBitmap original = Gradient24(61, 37);  // odd sizes: partial MCUs
  TRasterBitmap decoded;
  DecodeJpeg(EncodeJpeg(original, {.Quality = 100}), decoded);
  const auto d = Compare24(original, decoded);
  // Quality 100 still subsamples chroma; a smooth gradient stays very close.
  EXPECT_LE(d.Max, 12);
  EXPECT_LT(d.Mean, 1.5);
}

TEST(JpegCodec, WritesBaselineColourAtTheRequestedQuality) {
  const TRasterBitmap picture = test_support::Noise24(64, 64);
  const auto q90 = EncodeJpeg(picture, {.Quality = kDefaultJpegQuality});
  const auto q100 = EncodeJpeg(picture, {.Quality = 100});
  EXPECT_EQ(kDefaultJpegQuality, 90);
  EXPECT_LT(q90.size(), q100.size());
  for (const auto* jpeg : {&q90, &q100}) {
    ASSERT_GE(jpeg->size(), 4u);
    EXPECT_EQ((*jpeg)[0], 0xFF);
    EXPECT_EQ((*jpeg)[1], 0xD8);
    const size_t sof = FindMarker(*jpeg, 0xC0);
    ASSERT_NE(sof, std::string::npos) << "baseline frame";
    EXPECT_EQ(FindMarker(*jpeg, 0xC2), std::string::npos) << "not progressive";
    EXPECT_EQ((*jpeg)[sof + 9], 3) << "three components: colour, not grey";
  }
  // Quality 100 makes every luminance quantiser 1.
  const size_t dqt = FindMarker(q100, 0xDB);
  ASSERT_NE(dqt, std::string::npos);
  for (int i = 0; i < 64; ++i) EXPECT_EQ(q100[dqt + 5 + i], 1);
}

TEST(JpegCodec, DecodesTheReferencePictureLikeTheReferenceDecoder) {
  QUORVANE_CORPUS_OR_SKIP(jpeg, "jpeg/testorig.jpg");
  QUORVANE_CORPUS_OR_SKIP(ppm, "jpeg/ref/testorig.ppm");
  TRasterBitmap decoded;
  DecodeJpeg(jpeg, decoded);
  // The reference comes from the original library's decoder with the same
  // accurate DCT and smooth upsampling; the SIMD colour conversion of ours
  // rounds a few samples differently, by at most a few levels.
  const auto d = Compare24(ReadPpm(ppm), decoded);
  EXPECT_LE(d.Max, 3);
  EXPECT_LT(d.Mean, 0.25);
}

TEST(JpegCodec, GreyAndProgressiveAndCmykFilesDecodeTo24Bit) {
  {
    QUORVANE_CORPUS_OR_SKIP(grey, "jpeg/hopper_gray.jpg");
    TRasterBitmap b;
    DecodeJpeg(grey, b);
    EXPECT_EQ(b.PixelFormat(), TPixelFormat::Bit24);
    EXPECT_EQ(b.Width(), 128);
    for (int y = 0; y < b.Height(); y += 7) {
      const uint8_t* p = b.Scanline(y);
      for (int x = 0; x < b.Width(); ++x, p += 3) ASSERT_TRUE(p[0] == p[1] && p[1] == p[2]);
    }
  }
  {
    QUORVANE_CORPUS_OR_SKIP(progressive, "jpeg/app13-multiple.jpg");
    TRasterBitmap b;
    DecodeJpeg(progressive, b);
    EXPECT_EQ(b.Width(), 256);
    EXPECT_EQ(b.Height(), 160);
  }
  {
    QUORVANE_CORPUS_OR_SKIP(cmyk, "jpeg/pil_sample_cmyk.jpg");
    QUORVANE_CORPUS_OR_SKIP(rgb, "jpeg/pil_sample_rgb.jpg");
    TRasterBitmap from_cmyk, from_rgb;
    DecodeJpeg(cmyk, from_cmyk);
    DecodeJpeg(rgb, from_rgb);
    // The same picture stored both ways: Adobe's inverted CMYK must come out
    // as the same colours, give or take two lossy encodings.
    EXPECT_LT(Compare24(from_cmyk, from_rgb).Mean, 6.0);
  }
}

TEST(JpegCodec, DamagedFilesGiveTheLibraryMessageAndKeepThePicture) {
  TRasterBitmap kept = Gradient24(3, 3);
  const std::vector<uint8_t> not_jpeg = {0x89, 'P', 'N', 'G', 0, 0, 0, 0};
  EXPECT_THROW(DecodeJpeg(not_jpeg, kept), EQuorvaneError);
  EXPECT_EQ(kept.Width(), 3);
  EXPECT_EQ(DecodeError(not_jpeg).rfind("JPEG error #", 0), 0u) << DecodeError(not_jpeg);
  EXPECT_NE(DecodeError({}).find("JPEG error #"), std::string::npos);

  // A header alone: the scan is missing, libjpeg ends the picture early.
  auto jpeg = EncodeJpeg(Gradient24(32, 32), {.Quality = 90});
  const size_t sos = FindMarker(jpeg, 0xDA);
  ASSERT_NE(sos, std::string::npos);
  std::vector<uint8_t> cut(jpeg.begin(), jpeg.begin() + std::ptrdiff_t(sos + 40));
  TRasterBitmap partial;
  EXPECT_NO_THROW(DecodeJpeg(cut, partial)) << "a file that ends early keeps its size";
  EXPECT_EQ(partial.Width(), 32);

  // Random damage in the entropy-coded data never crashes.
  for (size_t i = sos + 20; i < jpeg.size() - 2; i += 7) {
    auto damaged = jpeg;
    damaged[i] ^= 0x5A;
    TRasterBitmap b;
    try {
      DecodeJpeg(damaged, b);
    } catch (const EQuorvaneError&) {
    }
  }
}

TEST(JpegCodec, AbsurdDimensionsAreRefusedBeforeAllocating) {
  auto jpeg = EncodeJpeg(Gradient24(16, 16), {.Quality = 90});
  const size_t sof = FindMarker(jpeg, 0xC0);
  ASSERT_NE(sof, std::string::npos);
  // Height and width fields of the frame header: 65000 x 65000.
  jpeg[sof + 5] = 0xFD;
  jpeg[sof + 6] = 0xE8;
  jpeg[sof + 7] = 0xFD;
  jpeg[sof + 8] = 0xE8;
  EXPECT_EQ(DecodeError(jpeg),
            "Picture too large: 65000 x 65000 pixels at 24 bits per pixel need 12675000000 bytes, "
            "more than the memory cap of 268435456 bytes");
}

TEST(JpegCodec, CorpusFilesOutsideTheSupportedSetFailCleanly) {
  for (const char* name : {"jpeg/unsupported/monkey12.jpg", "jpeg/malformed/truncated_jpeg.jpg",
                           "jpeg/malformed/junk_jpeg_header.jpg"}) {
    const auto bytes = test_support::CorpusFile(name);
    if (!bytes) QUORVANE_CORPUS_ABSENT("jpeg");
    TRasterBitmap b;
    try {
      DecodeJpeg(*bytes, b);
      EXPECT_GT(b.Width(), 0) << name;
    } catch (const EQuorvaneError& e) {
      EXPECT_NE(std::string(e.what()).find("JPEG"), std::string::npos) << name;
    }
  }
}

TEST(JpegCodec, ReportsStagesWhileEncodingAndDecoding) {
  std::vector<std::pair<TProgressStage, int>> seen;
  TStageReporter event;
  event.SetHook([&](TProgressStage s, uint8_t p, bool, const TRect&, std::string_view) {
    seen.emplace_back(s, p);
  });
  const auto jpeg = EncodeJpeg(Gradient24(8, 50), {.Quality = 90}, &event);
  ASSERT_GE(seen.size(), 3u);
  EXPECT_EQ(seen.front().first, TProgressStage::Starting);
  EXPECT_EQ(seen.back(), std::make_pair(TProgressStage::Ending, 100));
  EXPECT_EQ(seen[seen.size() - 2], std::make_pair(TProgressStage::Running, 100));
  seen.clear();
  TRasterBitmap b;
  DecodeJpeg(jpeg, b, {.Progress = &event});
  EXPECT_EQ(seen.front().first, TProgressStage::Starting);
  EXPECT_EQ(seen.back().first, TProgressStage::Ending);
}

}  // namespace
}  // namespace quorvane
