// The real-world sample files: the supported ones load with the right pixels
// and georeferences, the others are refused with a message, the damaged ones
// end cleanly.
#include <gtest/gtest.h>

#include "raster/byte_stream.h"
#include "support/test_pictures.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "raster/file_io.h"
#include "tiff/tiff_reader.h"
#include "tiff_test_support.h"

namespace quorvane {
namespace {

namespace fs = std::filesystem;

fs::path CorpusDir(const std::string& sub) {
  return test_support::CorpusPath(sub);
}

std::vector<fs::path> FilesIn(const fs::path& dir) {
  std::vector<fs::path> files;
  if (!fs::is_directory(dir)) return files;
  for (const auto& e : fs::directory_iterator(dir))
    if (e.is_regular_file() && e.path().extension() != ".md") files.push_back(e.path());
  std::sort(files.begin(), files.end());
  return files;
}

#define SKIP_WITHOUT(dir) \
  if (!fs::is_directory(dir)) QUORVANE_CORPUS_ABSENT(dir)

std::string TryLoad(const fs::path& path, TRasterBitmap& b, TGeoTiffTags& tags) {
  try {
    LoadTiffFile(path.string(), b, tags);
  } catch (const EQuorvaneError& e) {
    return e.what();
  }
  return "";
}

TEST(TiffCorpus, TopLevelFilesLoad) {
  SKIP_WITHOUT(CorpusDir("tiff"));
  for (const char* folder : {"tiff", "tiff/seq", "geotiff", "geotiff/derived"}) {
    for (const fs::path& file : FilesIn(CorpusDir(folder))) {
      TRasterBitmap b;
      TGeoTiffTags tags;
      EXPECT_EQ(TryLoad(file, b, tags), "") << file;
      EXPECT_FALSE(b.Empty()) << file;
    }
  }
}

TEST(TiffCorpus, UnsupportedFilesAreRefusedWithAMessage) {
  SKIP_WITHOUT(CorpusDir("tiff/unsupported"));
  for (const char* folder : {"tiff/unsupported", "geotiff/unsupported"}) {
    for (const fs::path& file : FilesIn(CorpusDir(folder))) {
      TRasterBitmap b;
      b.Reset(TPixelFormat::Bit8, 3, 3);
      TGeoTiffTags tags;
      const std::string message = TryLoad(file, b, tags);
      EXPECT_NE(message, "") << file;
      EXPECT_EQ(b.Width(), 3) << file << ": the previous picture stays";
    }
  }
}

TEST(TiffCorpus, MalformedFilesEndCleanly) {
  SKIP_WITHOUT(CorpusDir("tiff/malformed"));
  for (const char* folder : {"tiff/malformed", "geotiff/malformed"}) {
    for (const fs::path& file : FilesIn(CorpusDir(folder))) {
      TRasterBitmap b;
      TGeoTiffTags tags;
      TryLoad(file, b, tags);
    }
  }
  // A truncated LZW strip keeps the rows it got.
  TRasterBitmap full, cut;
  TGeoTiffTags tags;
  LoadTiffFile(CorpusDir("tiff/lzw-single-strip.tiff").string(), full, tags);
  LoadTiffFile(CorpusDir("tiff/malformed/lzw-single-strip_truncated.tiff").string(), cut, tags);
  ASSERT_EQ(cut.Height(), full.Height());
  EXPECT_EQ(std::memcmp(cut.Scanline(0), full.Scanline(0), cut.Stride()), 0);
}

// Pixel (x, y) of the sequential images holds n = y * 16 + x, in every
// sample c of a multi-sample pixel n * samples + c.
TEST(TiffCorpus, SequentialImagesFollowTheirFormula) {
  SKIP_WITHOUT(CorpusDir("tiff/seq"));
  int checked = 0;
  for (const fs::path& file : FilesIn(CorpusDir("tiff/seq"))) {
    const std::string name = file.filename().string();
    TRasterBitmap b;
    TGeoTiffTags tags;
    LoadTiffFile(file.string(), b, tags);
    ASSERT_EQ(b.Width(), 16) << name;
    ASSERT_EQ(b.Height(), 16) << name;
    const bool white_is_zero = name.find("miniswhite") != std::string::npos;
    for (int y = 0; y < 16; ++y) {
      const uint8_t* row = b.Scanline(y);
      for (int x = 0; x < 16; ++x) {
        const unsigned n = unsigned(y * 16 + x);
        SCOPED_TRACE(name + " x " + std::to_string(x) + " y " + std::to_string(y));
        if (name.starts_with("seq-1c-1b")) {
          const int index = row[x / 8] >> (7 - x % 8) & 1;
          // The bilevel palette undoes WhiteIsZero: the grey still follows n.
          EXPECT_EQ(b.ColorTable()[index].Red, (n % 2) * 255);
        } else if (name.starts_with("seq-1c-4b")) {
          const int index = row[x / 2] >> (x % 2 ? 0 : 4) & 15;
          // Four-bit WhiteIsZero keeps the stored (inverted) index.
          EXPECT_EQ(index, white_is_zero ? 15 - n % 16 : n % 16);
          if (name.find("palette") != std::string::npos) {
            const unsigned i = n % 16;
            EXPECT_EQ(b.ColorTable()[i],
                      (TRGBQuad{uint8_t(37 * i % 256), uint8_t(255 - i), uint8_t(i), 0}));
          }
        } else if (name.starts_with("seq-1c-8b")) {
          EXPECT_EQ(row[x], n % 256);
          if (name.find("palette") != std::string::npos) {
            EXPECT_EQ(b.ColorTable()[n % 256].Green, 255 - n % 256);
          }
        } else if (name.starts_with("seq-1c-i8")) {
          EXPECT_EQ(row[x], uint8_t(int(n % 256) - 128));
        } else if (name.starts_with("seq-1c-16b")) {
          // Values below 2048 have no bits in the top five.
          EXPECT_EQ(row[2 * x] | row[2 * x + 1] << 8, 0);
        } else if (name.starts_with("seq-3c-8b")) {
          for (int c = 0; c < 3; ++c) EXPECT_EQ(row[3 * x + 2 - c], (n * 3 + c) % 256);
        } else if (name.find("cmyk") != std::string::npos) {
          const unsigned cc = (n * 4) % 256, m = (n * 4 + 1) % 256, yy = (n * 4 + 2) % 256,
                         k = (n * 4 + 3) % 256;
          EXPECT_EQ(row[4 * x], 255 - std::min(255u, yy + k));
          EXPECT_EQ(row[4 * x + 1], 255 - std::min(255u, m + k));
          EXPECT_EQ(row[4 * x + 2], 255 - std::min(255u, cc + k));
          EXPECT_EQ(row[4 * x + 3], k);
        } else if (name.starts_with("seq-4c-8b-rgba")) {
          EXPECT_EQ(row[4 * x], (n * 4 + 2) % 256);
          EXPECT_EQ(row[4 * x + 1], (n * 4 + 1) % 256);
          EXPECT_EQ(row[4 * x + 2], (n * 4) % 256);
          EXPECT_EQ(row[4 * x + 3], (n * 4 + 3) % 256);
        } else {
          ADD_FAILURE() << "no formula for " << name;
        }
      }
    }
    ++checked;
  }
  EXPECT_EQ(checked, 22);
}

// Binary PNM: magic, width, height, maxval (not for PBM), one whitespace.
std::vector<uint8_t> ReadPnm(const fs::path& path, int& width, int& height) {
  std::vector<uint8_t> bytes = ReadWholeFile(path.string());
  size_t at = 2;
  const int fields = bytes[1] == '4' ? 2 : 3;
  int values[3] = {0, 0, 0};
  for (int f = 0; f < fields; ++f) {
    while (std::isspace(bytes[at])) ++at;
    while (std::isdigit(bytes[at])) values[f] = values[f] * 10 + (bytes[at++] - '0');
  }
  ++at;
  width = values[0];
  height = values[1];
  return std::vector<uint8_t>(bytes.begin() + at, bytes.end());
}

TEST(TiffCorpus, ReferenceRenderingsMatch) {
  SKIP_WITHOUT(CorpusDir("tiff/ref"));
  int w, h;
  TRasterBitmap b;
  TGeoTiffTags tags;

  const std::vector<uint8_t> grey = ReadPnm(CorpusDir("tiff/ref/minisblack-1c-8b.pgm"), w, h);
  LoadTiffFile(CorpusDir("tiff/minisblack-1c-8b.tiff").string(), b, tags);
  ASSERT_EQ(b.Width(), w);
  ASSERT_EQ(b.Height(), h);
  EXPECT_EQ(test_support::Pixels(b), grey);

  const std::vector<uint8_t> rgb = ReadPnm(CorpusDir("tiff/ref/rgb-3c-8b.ppm"), w, h);
  LoadTiffFile(CorpusDir("tiff/rgb-3c-8b.tiff").string(), b, tags);
  ASSERT_EQ(b.Width(), w);
  std::vector<uint8_t> bgr = rgb;
  for (size_t i = 0; i + 2 < bgr.size(); i += 3) std::swap(bgr[i], bgr[i + 2]);
  EXPECT_EQ(test_support::Pixels(b), bgr);

  // PBM: 1 is black. The WhiteIsZero file keeps its bits and gets the
  // inverted palette, so index 1 shows black too.
  const std::vector<uint8_t> bits = ReadPnm(CorpusDir("tiff/ref/miniswhite-1c-1b.pbm"), w, h);
  LoadTiffFile(CorpusDir("tiff/miniswhite-1c-1b.tiff").string(), b, tags);
  ASSERT_EQ(b.Width(), w);
  EXPECT_EQ(b.ColorTable()[1], (TRGBQuad{0, 0, 0, 0}));
  EXPECT_EQ(test_support::Pixels(b), bits);
}

bool SameTags(const TGeoTiffTags& a, const TGeoTiffTags& b) {
  return a.KeyDirectoryVersion == b.KeyDirectoryVersion && a.KeyRevision == b.KeyRevision &&
         a.MinorRevision == b.MinorRevision && a.NumberOfKeys == b.NumberOfKeys &&
         a.KeyEntryCount == b.KeyEntryCount && a.Keys == b.Keys && a.AsciiParams == b.AsciiParams &&
         a.DoubleCount == b.DoubleCount && a.DoubleParams == b.DoubleParams &&
         a.PixelScale == b.PixelScale && a.TiePointCount == b.TiePointCount &&
         a.TiePoints == b.TiePoints;
}

// A mapped file hands the GeoTIFF reader each tag's payload on its own; the
// result must be what the reader finds in the whole file.
TEST(TiffCorpus, MappedAndStreamedFilesGiveTheSameTagsAndPixels) {
  SKIP_WITHOUT(CorpusDir("geotiff"));
  int with_tags = 0;
  for (const char* folder : {"geotiff", "geotiff/derived", "geotiff/malformed", "tiff"}) {
    for (const fs::path& file : FilesIn(CorpusDir(folder))) {
      TRasterBitmap mapped_bitmap, streamed_bitmap;
      TGeoTiffTags mapped, streamed;
      TryLoad(file, mapped_bitmap, mapped);
      TByteStream stream(ReadWholeFile(file.string()));
      try {
        DecodeTiff(stream.Bytes(), streamed_bitmap, streamed);
      } catch (const EQuorvaneError&) {
      }
      EXPECT_TRUE(SameTags(mapped, streamed)) << file;
      EXPECT_EQ(test_support::Pixels(mapped_bitmap), test_support::Pixels(streamed_bitmap)) << file;
      with_tags += mapped.KeyEntryCount > 0;
    }
  }
  EXPECT_GT(with_tags, 20);
}

}  // namespace
}  // namespace quorvane
