// ThunderScan chunks decode the same whatever was decoded before them.
#include <tiffio.h>

#include <array>

#include "anytiff/any_tiff_test_support.h"

namespace quorvane {
namespace {

// The 4-bit samples of the first `strips` strips as libtiff decodes them
// into clean buffers, a row of bytes after another.
std::vector<uint8_t> CleanStrips(const std::string& path, int strips) {
  TIFF* tiff = TIFFOpen(path.c_str(), "r");
  EXPECT_NE(tiff, nullptr);
  std::vector<uint8_t> bytes;
  std::vector<uint8_t> strip(size_t(TIFFStripSize(tiff)));
  for (int s = 0; s < strips; ++s) {
    std::fill(strip.begin(), strip.end(), 0);
    EXPECT_EQ(TIFFReadEncodedStrip(tiff, uint32_t(s), strip.data(), tmsize_t(strip.size())),
              tmsize_t(strip.size()));
    bytes.insert(bytes.end(), strip.begin(), strip.end());
  }
  TIFFClose(tiff);
  return bytes;
}

TEST(AnyTiffThunderScan, EachStripDecodesAsIfAlone) {
  const std::string path = test_support::CorpusPath("tiff/unsupported/text.tif").string();
  if (!std::filesystem::exists(path)) QUORVANE_CORPUS_ABSENT(path);
  const int good_strips = 5;  // the sixth ends early
  const std::vector<uint8_t> clean = CleanStrips(path, good_strips);
  for (const int threads : {1, 2}) {
    TRasterBitmap picture;
    TGeoTiffTags tags;
    TAnyTiffOptions options;
    options.MaxPictureBytes = test_support::kRoomyCap;
    options.Threads = threads;
    DecodeAnyTiffFile(path, picture, tags, options);
    // However the reader maps the 16 greys, each clean sample must always
    // give the same pixel; bits left over from another strip break that.
    ASSERT_EQ(picture.PixelFormat(), TPixelFormat::Bit8);
    const size_t row_bytes = size_t(picture.Width() + 1) / 2;
    std::array<int, 16> shown;
    shown.fill(-1);
    int wrong_rows = 0;
    for (int y = 0; y < good_strips * 64; ++y) {
      bool wrong = false;
      for (int x = 0; x < picture.Width(); ++x) {
        const uint8_t byte = clean[size_t(y) * row_bytes + size_t(x / 2)];
        const int sample = x % 2 ? byte & 15 : byte >> 4;
        const int pixel = picture.Scanline(y)[x];
        if (shown[size_t(sample)] < 0) shown[size_t(sample)] = pixel;
        wrong |= shown[size_t(sample)] != pixel;
      }
      wrong_rows += wrong;
    }
    EXPECT_EQ(wrong_rows, 0) << threads << " threads";
  }
}

}  // namespace
}  // namespace quorvane
