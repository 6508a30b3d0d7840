// ReadPictureHeader tells what LoadPicture would give (size, pixel format,
// GeoTIFF tags) without decoding a pixel, for every registered format.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <set>
#include <string>

#include "io/format_registry.h"
#include "raster/error.h"
#include "support/test_pictures.h"

namespace quorvane {
namespace {

namespace fs = std::filesystem;
using test_support::TTempDir;

// Loads and reads the header of the same file: both fail, or both give the
// same size, pixel format and tags.
void ExpectHeaderMatchesLoad(const fs::path& path) {
  SCOPED_TRACE(path.string());
  TGeoTiffTags load_tags, header_tags;
  std::string load_error, header_error;
  std::unique_ptr<TRasterBitmap> picture;
  TPictureHeader header;
  try {
    picture = LoadPicture(path.string(), load_tags);
  } catch (const EQuorvaneError& e) {
    load_error = e.what();
  }
  try {
    header = ReadPictureHeader(path.string(), header_tags);
  } catch (const EQuorvaneError& e) {
    header_error = e.what();
  }
  if (!load_error.empty()) return;  // a damaged file may still show its header
  ASSERT_EQ(header_error, "");
  EXPECT_EQ(header.Width, picture->Width());
  EXPECT_EQ(header.Height, picture->Height());
  EXPECT_EQ(header.PixelFormat, picture->PixelFormat());
  EXPECT_EQ(header_tags.NumberOfKeys, load_tags.NumberOfKeys);
  EXPECT_EQ(header_tags.Keys, load_tags.Keys);
  EXPECT_EQ(header_tags.AsciiParams, load_tags.AsciiParams);
  EXPECT_EQ(header_tags.PixelScale, load_tags.PixelScale);
  EXPECT_EQ(header_tags.TiePoints, load_tags.TiePoints);
  EXPECT_EQ(header_tags.DoubleParams, load_tags.DoubleParams);
}

class PictureHeader : public ::testing::TestWithParam<std::string> {};

// A picture in each pixel format a writer keeps, saved under every
// extension SaveBitmapFile knows.
TEST_P(PictureHeader, AgreesWithTheLoadOfWhatEachWriterWrote) {
  TTempDir dir;
  const TGeoTiffTags tags = test_support::SampleGeoTiffTags();
  for (TPixelFormat format : {TPixelFormat::Bit1, TPixelFormat::Bit8, TPixelFormat::Bit24}) {
    TRasterBitmap picture = test_support::Gradient24(37, 11);
    picture.SetPixelFormat(format);
    const fs::path path = dir / ("picture" + GetParam());
    SaveBitmapFile(picture, path.string(), {.GeoTiff = true, .GeoTiffTags = &tags});
    ExpectHeaderMatchesLoad(path);
  }
}

INSTANTIATE_TEST_SUITE_P(EveryWrittenFormat, PictureHeader,
                         ::testing::Values(".tif", ".jpg", ".png", ".gif", ".pcx", ".lbm", ".bmp"),
                         [](const auto& info) { return info.param.substr(1); });

TEST(PictureHeaderCorpus, AgreesWithTheLoadOfEveryCorpusFile) {
  const fs::path corpus = test_support::CorpusPath("");
  if (!fs::is_directory(corpus)) QUORVANE_CORPUS_ABSENT(corpus);
  int files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(corpus)) {
    if (!entry.is_regular_file() || entry.file_size() > (64u << 20)) continue;
    std::string ext = entry.path().extension().string();
    for (char& c : ext) c = char(std::tolower(static_cast<unsigned char>(c)));
    static const std::set<std::string> kKnown = {".tif", ".tiff", ".jpg", ".jpeg", ".png", ".gif",
                                                 ".pcx", ".lbm",  ".tga", ".bmp",  ".ico"};
    if (!kKnown.count(ext)) continue;
    ExpectHeaderMatchesLoad(entry.path());
    ++files;
  }
  // A corpus folder without pictures is an absent corpus, not a failure.
  if (files == 0) QUORVANE_CORPUS_ABSENT(corpus);
  EXPECT_GT(files, 50);
}

// A TIFF whose only strip is broken LZW: the load fails on the strip, the
// header is read all the same, which no decoding reader could do.
TEST(PictureHeader, ReadsNoStrip) {
  TTempDir dir;
  TRasterBitmap picture = test_support::Gradient24(8, 8);
  const fs::path path = dir / "broken.tif";
  SaveBitmapFile(picture, path.string(), {});
  std::vector<uint8_t> bytes = test_support::ReadFileBytes(path);
  // The writer puts the strip at offset 36; mark it LZW with a code far
  // beyond the table, and point the compression entry at LZW.
  const TPictureHeader before = [&] {
    TGeoTiffTags tags;
    return ReadPictureHeader(path.string(), tags);
  }();
  for (size_t at = bytes.size() - 2; at > 8; --at) {
    // Compression entry: tag 259, type SHORT, count 1, value 1.
    if (bytes[at] == 0x03 && bytes[at + 1] == 0x01 && bytes[at + 2] == 3 && bytes[at + 8] == 1) {
      bytes[at + 8] = 5;
      break;
    }
  }
  bytes[36] = 0xFF;
  bytes[37] = 0xFF;
  test_support::WriteFileBytes(path, bytes);
  TGeoTiffTags tags;
  EXPECT_THROW(LoadPicture(path.string(), tags), EQuorvaneError);
  const TPictureHeader header = ReadPictureHeader(path.string(), tags);
  EXPECT_EQ(header.Width, before.Width);
  EXPECT_EQ(header.Height, before.Height);
  EXPECT_EQ(header.PixelFormat, TPixelFormat::Bit24);
}

TEST(PictureHeader, TheLoadOptionsCapRefusesLoadAndHeaderAlike) {
  TTempDir dir;
  const fs::path path = dir / "a.tif";
  SaveBitmapFile(test_support::Gradient24(100, 100), path.string(), {});
  const std::string expected =
      "Picture too large: 100 x 100 pixels at 24 bits per pixel need 30000 bytes, more than the "
      "memory cap of 29999 bytes";
  TGeoTiffTags tags;
  const TLoadOptions small{.MaxPictureBytes = 29999};
  try {
    LoadPicture(path.string(), tags, small);
    ADD_FAILURE() << "no exception";
  } catch (const EQuorvaneError& e) {
    EXPECT_EQ(e.what(), expected);
  }
  try {
    ReadPictureHeader(path.string(), tags, small);
    ADD_FAILURE() << "no exception";
  } catch (const EQuorvaneError& e) {
    EXPECT_EQ(e.what(), expected);
  }
  EXPECT_EQ(LoadPicture(path.string(), tags, {.MaxPictureBytes = 30000})->Width(), 100);
}

TEST(PictureHeader, UnknownExtensionsAndMetafilesFailAsTheLoadDoes) {
  TGeoTiffTags tags;
  EXPECT_THROW(ReadPictureHeader("picture.xyz", tags), EQuorvaneError);
  EXPECT_THROW(ReadPictureHeader("picture.wmf", tags), EQuorvaneError);
}

}  // namespace
}  // namespace quorvane
