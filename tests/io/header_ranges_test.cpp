// ReadPictureHeader reads only the bytes a header reader looks at; what it
// tells, or the message it fails with, is what the reader gives on the
// whole file, for whole files and for files cut short anywhere.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "io/format_registry.h"
#include "raster/error.h"
#include "support/test_pictures.h"

namespace quorvane {
namespace {

namespace fs = std::filesystem;

std::string Outcome(const std::function<TPictureHeader(TGeoTiffTags&)>& read) {
  TGeoTiffTags tags;
  try {
    const TPictureHeader h = read(tags);
    return std::to_string(h.Width) + "x" + std::to_string(h.Height) + " " +
           std::to_string(int(h.PixelFormat)) + " keys " + std::to_string(tags.NumberOfKeys) +
           " ascii " + tags.AsciiParams + " ties " + std::to_string(tags.TiePoints.size()) +
           " doubles " + std::to_string(tags.DoubleParams.size());
  } catch (const EQuorvaneError& e) {
    return e.what();
  }
}

void ExpectSameAsWholeFile(const fs::path& path, const std::vector<uint8_t>& bytes) {
  SCOPED_TRACE(path.string() + " (" + std::to_string(bytes.size()) + " bytes)");
  EXPECT_EQ(
      Outcome([&](TGeoTiffTags& t) { return ReadPictureHeader(path.string(), t); }),
      Outcome([&](TGeoTiffTags& t) { return ReadPictureHeaderOfBytes(path.string(), bytes, t); }));
}

std::vector<fs::path> SampleFiles() {
  std::vector<fs::path> files;
  for (const fs::path& folder :
       {test_support::CorpusPath(""), fs::path(QUORVANE_SOURCE_DIR) / "tests/hostile",
        fs::path(QUORVANE_SOURCE_DIR) / "samples"}) {
    if (!fs::is_directory(folder)) continue;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
      if (entry.is_regular_file() && entry.file_size() < (64u << 20)) files.push_back(entry);
  }
  return files;
}

TEST(HeaderRanges, AgreeWithTheWholeFileOnEveryCorpusAndHostileFile) {
  if (!fs::is_directory(test_support::CorpusPath("")))
    QUORVANE_CORPUS_ABSENT(test_support::CorpusPath(""));
  test_support::TTempDir dir;
  int checked = 0;
  for (const fs::path& path : SampleFiles()) {
    const std::vector<uint8_t> bytes = test_support::ReadFileBytes(path);
    ExpectSameAsWholeFile(path, bytes);
    // Cut short in the header, in the directory or tag values, and in the
    // data: the messages of a short file stay the same.
    const fs::path cut = dir / path.filename();
    for (size_t length :
         {size_t(0), size_t(7), size_t(100), bytes.size() / 2, bytes.size() - bytes.size() / 8}) {
      if (length >= bytes.size()) continue;
      test_support::WriteFileBytes(cut, {bytes.begin(), bytes.begin() + ptrdiff_t(length)});
      ExpectSameAsWholeFile(cut, {bytes.begin(), bytes.begin() + ptrdiff_t(length)});
    }
    ++checked;
  }
  EXPECT_GT(checked, 50);
}

}  // namespace
}  // namespace quorvane
