#pragma once
// Small helpers shared by the codec, registry and command tests: synthetic
// pictures, pixel comparison, corpus and temporary files.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "raster/bitmap.h"
#include "raster/geotiff_tags.h"
#include "support/outside_tools.h"
#include "support/temp_dir.h"

namespace quorvane::test_support {

// A 24-bit picture whose every pixel differs from its neighbours: smooth
// enough for a lossy codec, varied enough to catch swapped channels or rows.
inline TRasterBitmap Gradient24(int width, int height) {
  TRasterBitmap b;
  b.Reset(TPixelFormat::Bit24, width, height);
  for (int y = 0; y < height; ++y) {
    uint8_t* p = b.Scanline(y);
    for (int x = 0; x < width; ++x, p += 3) {
      p[0] = uint8_t(x * 255 / std::max(width - 1, 1));                       // blue
      p[1] = uint8_t(y * 255 / std::max(height - 1, 1));                      // green
      p[2] = uint8_t(255 - (x + y) * 127 / std::max(width + height - 2, 1));  // red
    }
  }
  return b;
}

// Deterministic noise: incompressible, so encoders produce many chunks.
inline TRasterBitmap Noise24(int width, int height, uint32_t seed = 1) {
  TRasterBitmap b;
  b.Reset(TPixelFormat::Bit24, width, height);
  for (int y = 0; y < height; ++y) {
    uint8_t* p = b.Scanline(y);
    for (int x = 0; x < width * 3; ++x) {
      seed = seed * 1664525u + 1013904223u;
      p[x] = uint8_t(seed >> 24);
    }
  }
  return b;
}

// Noise in any pixel format: random stored bytes and, for palette formats, a
// random colour table, so a pixel written back in the wrong place or through
// a colour conversion shows.
inline TRasterBitmap NoisePicture(TPixelFormat format, int width, int height, uint32_t seed = 7) {
  TRasterBitmap b;
  b.Reset(format, width, height);
  auto next = [&seed] {
    seed = seed * 1664525u + 1013904223u;
    return uint8_t(seed >> 24);
  };
  for (TRGBQuad& entry : b.ColorTable()) entry = {next(), next(), next(), 0};
  const size_t row_bytes = (size_t(width) * size_t(b.BitsPerPixel()) + 7) / 8;
  for (int y = 0; y < height; ++y)
    for (size_t i = 0; i < row_bytes; ++i) b.Scanline(y)[i] = next();
  return b;
}

// True when both have the same size and pixel format and the same bits in
// every pixel (row padding and unused low bits excluded).
inline bool SamePixels(const TRasterBitmap& a, const TRasterBitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height() || a.PixelFormat() != b.PixelFormat())
    return false;
  const size_t bits = size_t(a.Width()) * size_t(a.BitsPerPixel());
  const uint8_t last = uint8_t(0xFF00 >> (bits % 8));
  for (int y = 0; y < a.Height(); ++y) {
    if (std::memcmp(a.Scanline(y), b.Scanline(y), bits / 8) != 0) return false;
    if (bits % 8 && (a.Scanline(y)[bits / 8] & last) != (b.Scanline(y)[bits / 8] & last))
      return false;
  }
  return true;
}

// True when both hold the same stored bytes, padding included, and the same
// colour table: the test for "put back exactly".
inline bool SameStoredPixels(const TRasterBitmap& a, const TRasterBitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height() || a.PixelFormat() != b.PixelFormat() ||
      a.Stride() != b.Stride())
    return false;
  if (!std::equal(a.ColorTable().begin(), a.ColorTable().end(), b.ColorTable().begin(),
                  b.ColorTable().end()))
    return false;
  return a.Empty() || std::equal(a.Bits(), a.Bits() + a.Stride() * size_t(a.Height()), b.Bits());
}

// GeoTIFF tags with every payload a save writes (tie point, pixel size,
// three keys, a citation, seven doubles), for tests of files that carry
// tags whatever they mean.
inline TGeoTiffTags SampleGeoTiffTags() {
  TGeoTiffTags tags;
  tags.KeyDirectoryVersion = tags.KeyRevision = 1;
  tags.NumberOfKeys = 3;
  tags.KeyEntryCount = 3;
  tags.Keys[0] = {kGTModelTypeGeoKey, 0, 1, 1};
  tags.Keys[1] = {kGTRasterTypeGeoKey, 0, 1, 1};
  tags.Keys[2] = {kProjectedCSTypeGeoKey, 0, 1, 32618};
  tags.AsciiParams = "Sample";
  tags.DoubleCount = 7;
  tags.PixelScale = {30, 30, 1};
  tags.TiePointCount = 1;
  tags.TiePoints[0] = {0, 0, 0, 500000, 4649776, 0};
  return tags;
}

struct TPixelDifference {
  int Max = 0;
  double Mean = 0;
};

// Compares two 24-bit pictures of the same size sample by sample.
inline TPixelDifference Compare24(const TRasterBitmap& a, const TRasterBitmap& b) {
  TPixelDifference d;
  EXPECT_EQ(a.Width(), b.Width());
  EXPECT_EQ(a.Height(), b.Height());
  EXPECT_EQ(a.PixelFormat(), TPixelFormat::Bit24);
  EXPECT_EQ(b.PixelFormat(), TPixelFormat::Bit24);
  if (a.Width() != b.Width() || a.Height() != b.Height()) return {255, 255};
  double sum = 0;
  for (int y = 0; y < a.Height(); ++y) {
    const uint8_t *p = a.Scanline(y), *q = b.Scanline(y);
    for (int x = 0; x < a.Width() * 3; ++x) {
      const int diff = std::abs(int(p[x]) - int(q[x]));
      d.Max = std::max(d.Max, diff);
      sum += diff;
    }
  }
  d.Mean = a.Width() > 0 && a.Height() > 0 ? sum / (3.0 * a.Width() * a.Height()) : 0;
  return d;
}

// Colour (blue, green, red) of pixel (x, y) whatever the palette or RGB format.
struct TColor {
  uint8_t Blue = 0, Green = 0, Red = 0;
  bool operator==(const TColor&) const = default;
};
inline TColor ColorAt(const TRasterBitmap& b, int x, int y) {
  const uint8_t* row = b.Scanline(y);
  auto from_table = [&](int index) {
    const TRGBQuad q = b.ColorTable()[size_t(index)];
    return TColor{q.Blue, q.Green, q.Red};
  };
  switch (b.PixelFormat()) {
    case TPixelFormat::Bit1:
      return from_table((row[x / 8] >> (7 - x % 8)) & 1);
    case TPixelFormat::Bit4:
      return from_table((row[x / 2] >> (x % 2 ? 0 : 4)) & 15);
    case TPixelFormat::Bit8:
      return from_table(row[x]);
    case TPixelFormat::Bit15:
    case TPixelFormat::Bit16: {
      // Five- and six-bit fields widened by repeating their top bits.
      const unsigned v = unsigned(row[2 * x]) | unsigned(row[2 * x + 1]) << 8;
      auto widen5 = [](unsigned f) { return uint8_t((f << 3) | (f >> 2)); };
      auto widen6 = [](unsigned f) { return uint8_t((f << 2) | (f >> 4)); };
      if (b.PixelFormat() == TPixelFormat::Bit15)
        return {widen5(v & 31), widen5((v >> 5) & 31), widen5((v >> 10) & 31)};
      return {widen5(v & 31), widen6((v >> 5) & 63), widen5((v >> 11) & 31)};
    }
    case TPixelFormat::Bit24:
      return {row[3 * x], row[3 * x + 1], row[3 * x + 2]};
    case TPixelFormat::Bit32:
      return {row[4 * x], row[4 * x + 1], row[4 * x + 2]};
    default:
      ADD_FAILURE() << "unexpected pixel format";
      return {};
  }
}

inline std::vector<uint8_t> ReadFileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

inline void WriteFileBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// The environment variable QUORVANE_CORPUS_DIR, when set, points at the
// corpus from a checkout that does not sit beside it.
inline std::filesystem::path CorpusPath(const std::string& relative) {
  const char* from_environment = std::getenv("QUORVANE_CORPUS_DIR");
  return std::filesystem::path(from_environment ? from_environment : QUORVANE_CORPUS_DIR) /
         relative;
}

// The corpus file's bytes, or nothing when the corpus is absent.
inline std::optional<std::vector<uint8_t>> CorpusFile(const std::string& relative) {
  const auto path = CorpusPath(relative);
  if (!std::filesystem::exists(path)) return std::nullopt;
  return ReadFileBytes(path);
}

}  // namespace quorvane::test_support

// Ends the test for want of corpus files: a visible skip, or a failure where
// QUORVANE_REQUIRE_CORPUS=1.
#define QUORVANE_CORPUS_ABSENT(what)                                                        \
  do {                                                                                      \
    if (::quorvane::test_support::CorpusRequired())                                         \
      GTEST_FAIL() << "corpus required (QUORVANE_REQUIRE_CORPUS=1) but absent: " << (what); \
    GTEST_SKIP() << "corpus absent: " << (what);                                            \
  } while (0)

#define QUORVANE_CORPUS_OR_SKIP(var, relative)                                \
  const auto var##_optional = ::quorvane::test_support::CorpusFile(relative); \
  if (!var##_optional) QUORVANE_CORPUS_ABSENT(relative);                      \
  const std::vector<uint8_t>& var = *var##_optional
