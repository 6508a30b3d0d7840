// Files written by libtiff in both byte orders, at every supported depth and
// compression, decode to the samples libtiff itself decodes from them (taken
// through the bitmap layout: BGR order, CMYK to BGR, WhiteIsZero inverted at
// 8 bits, 16-bit grey to 15 bits).
#ifdef QUORVANE_HAVE_LIBTIFF

#include <gtest/gtest.h>
#include <tiffio.h>

#include <filesystem>
#include <random>

#include "tiff/tiff_reader.h"
#include "tiff_test_support.h"

namespace quorvane {
namespace {

struct TLayout {
  const char* name;
  uint16_t bits, samples, photometric;
};

const TLayout kLayouts[] = {
    {"black1", 1, 1, PHOTOMETRIC_MINISBLACK}, {"white1", 1, 1, PHOTOMETRIC_MINISWHITE},
    {"grey4", 4, 1, PHOTOMETRIC_MINISBLACK},  {"palette4", 4, 1, PHOTOMETRIC_PALETTE},
    {"grey8", 8, 1, PHOTOMETRIC_MINISBLACK},  {"white8", 8, 1, PHOTOMETRIC_MINISWHITE},
    {"palette8", 8, 1, PHOTOMETRIC_PALETTE},  {"grey16", 16, 1, PHOTOMETRIC_MINISBLACK},
    {"rgb", 8, 3, PHOTOMETRIC_RGB},           {"rgba", 8, 4, PHOTOMETRIC_RGB},
    {"cmyk", 8, 4, PHOTOMETRIC_SEPARATED},
};

constexpr uint32_t kWidth = 37, kHeight = 23;

std::vector<uint8_t> Samples(size_t row_bytes, uint32_t seed) {
  std::mt19937 random(seed);
  std::vector<uint8_t> data(row_bytes * kHeight);
  for (size_t i = 0; i < data.size(); ++i)
    data[i] = uint8_t(i % row_bytes * 5 + i / row_bytes * 3 + random() % 5);
  return data;
}

void Write(const std::string& path, const TLayout& l, bool big, uint16_t compression,
           uint16_t predictor, const std::vector<uint8_t>& data, size_t row_bytes) {
  TIFF* tif = TIFFOpen(path.c_str(), big ? "wb" : "wl");
  ASSERT_NE(tif, nullptr);
  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, kWidth);
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, kHeight);
  TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, l.bits);
  TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, l.samples);
  TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, l.photometric);
  TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(tif, TIFFTAG_COMPRESSION, compression);
  TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, 5);
  if (predictor != 0) TIFFSetField(tif, TIFFTAG_PREDICTOR, predictor);
  if (l.samples == 4 && l.photometric == PHOTOMETRIC_RGB) {
    const uint16_t extra[] = {EXTRASAMPLE_ASSOCALPHA};
    TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, 1, extra);
  }
  std::vector<uint16_t> map(3 << l.bits);
  if (l.photometric == PHOTOMETRIC_PALETTE) {
    const size_t n = size_t(1) << l.bits;
    for (size_t i = 0; i < n; ++i) {
      map[i] = uint16_t(i * 4099);
      map[n + i] = uint16_t(65535 - i * 250);
      map[2 * n + i] = uint16_t((i * 37 % 256) << 8 | 0x7F);
    }
    TIFFSetField(tif, TIFFTAG_COLORMAP, map.data(), map.data() + n, map.data() + 2 * n);
  }
  for (uint32_t y = 0; y < kHeight; ++y) {
    std::vector<uint8_t> row(data.begin() + y * row_bytes, data.begin() + (y + 1) * row_bytes);
    ASSERT_GE(TIFFWriteScanline(tif, row.data(), y, 0), 0);
  }
  TIFFClose(tif);
}

// libtiff's decoding of every strip, rows of `row_bytes` in host order.
std::vector<uint8_t> LibtiffDecode(const std::string& path, size_t row_bytes,
                                   std::vector<TRGBQuad>& palette) {
  TIFF* tif = TIFFOpen(path.c_str(), "r");
  EXPECT_NE(tif, nullptr);
  std::vector<uint8_t> out(row_bytes * kHeight);
  size_t at = 0;
  for (tstrip_t s = 0; s < TIFFNumberOfStrips(tif); ++s) {
    const tmsize_t got = TIFFReadEncodedStrip(tif, s, out.data() + at, -1);
    EXPECT_GT(got, 0);
    at += size_t(got);
  }
  uint16_t *r = nullptr, *g = nullptr, *b = nullptr;
  if (TIFFGetField(tif, TIFFTAG_COLORMAP, &r, &g, &b)) {
    uint16_t bits = 0;
    TIFFGetField(tif, TIFFTAG_BITSPERSAMPLE, &bits);
    for (size_t i = 0; i < (size_t(1) << bits); ++i)
      palette.push_back({uint8_t(b[i] >> 8), uint8_t(g[i] >> 8), uint8_t(r[i] >> 8), 0});
  }
  TIFFClose(tif);
  return out;
}

std::vector<uint8_t> InBitmapLayout(const TLayout& l, std::vector<uint8_t> d) {
  const uint32_t bits = l.bits * l.samples;
  if (bits == 8 && l.photometric == PHOTOMETRIC_MINISWHITE)
    for (auto& v : d) v = uint8_t(255 - v);
  if (bits == 16) {
    for (size_t i = 0; i < d.size(); i += 2) {
      const unsigned v = d[i] | d[i + 1] << 8;  // libtiff hands samples over in host order
      const unsigned g = v >> 11, word = g | g << 5 | g << 10;
      d[i] = uint8_t(word);
      d[i + 1] = uint8_t(word >> 8);
    }
  }
  if (bits == 24)
    for (size_t i = 0; i < d.size(); i += 3) std::swap(d[i], d[i + 2]);
  if (bits == 32 && l.photometric == PHOTOMETRIC_SEPARATED) {
    for (size_t i = 0; i < d.size(); i += 4) {
      const int c = d[i], m = d[i + 1], y = d[i + 2], k = d[i + 3];
      d[i] = uint8_t(255 - std::min(255, y + k));
      d[i + 1] = uint8_t(255 - std::min(255, m + k));
      d[i + 2] = uint8_t(255 - std::min(255, c + k));
    }
  } else if (bits == 32) {
    for (size_t i = 0; i < d.size(); i += 4) std::swap(d[i], d[i + 2]);
  }
  return d;
}

TEST(TiffLibtiffReference, EveryDepthCompressionAndByteOrderMatchesLibtiff) {
  const std::filesystem::path dir =
      std::filesystem::path(::testing::TempDir()) / "quorvane_libtiff";
  std::filesystem::create_directories(dir);
  TIFFSetWarningHandler(nullptr);
  int files = 0;
  for (const TLayout& l : kLayouts) {
    const uint32_t bits = l.bits * l.samples;
    const size_t row_bytes = (size_t(kWidth) * bits + 7) / 8;
    const std::vector<uint8_t> data = Samples(row_bytes, bits);
    for (bool big : {false, true}) {
      for (uint16_t compression : {COMPRESSION_NONE, COMPRESSION_LZW, COMPRESSION_PACKBITS}) {
        for (uint16_t predictor : {0, 2}) {
          if (predictor == 2 &&
              (compression != COMPRESSION_LZW || bits == 1 || bits == 4 || bits == 16))
            continue;
          const std::string path =
              (dir / (std::string(l.name) + (big ? "_mm_" : "_ii_") + std::to_string(compression) +
                      "_" + std::to_string(predictor) + ".tif"))
                  .string();
          SCOPED_TRACE(path);
          Write(path, l, big, compression, predictor, data, row_bytes);
          std::vector<TRGBQuad> palette;
          const std::vector<uint8_t> expected =
              InBitmapLayout(l, LibtiffDecode(path, row_bytes, palette));
          TRasterBitmap bitmap;
          TGeoTiffTags tags;
          LoadTiffFile(path, bitmap, tags);
          ASSERT_EQ(bitmap.Width(), int(kWidth));
          ASSERT_EQ(bitmap.Height(), int(kHeight));
          EXPECT_EQ(test_support::RowBytes(bitmap, row_bytes), expected);
          for (size_t i = 0; i < palette.size(); ++i) EXPECT_EQ(bitmap.ColorTable()[i], palette[i]);
          std::filesystem::remove(path);
          ++files;
        }
      }
    }
  }
  EXPECT_EQ(files, 11 * 2 * 3 + 6 * 2);
}

}  // namespace
}  // namespace quorvane

#endif  // QUORVANE_HAVE_LIBTIFF
