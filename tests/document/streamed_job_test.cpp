// A streamed batch job writes exactly the bytes of opening the input,
// editing it and saving it whole, for every command, output format and
// input the TIFF reader streams: written fixtures in each pixel format,
// every corpus and hostile TIFF, and files cut short in their strips.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "document/crop.h"
#include "document/document.h"
#include "document/open_image.h"
#include "document/save_pane.h"
#include "document/streamed_job.h"
#include "document/tone_page.h"
#include "imaging/tone.h"
#include "io/format_registry.h"
#include "raster/error.h"
#include "support/test_pictures.h"

namespace quorvane {
namespace {

namespace fs = std::filesystem;

struct TCommand {
  const char* Name;
  std::optional<TRect> Crop;
  std::optional<TToneSliders> Tone;
};

const TCommand kCommands[] = {
    {"convert", std::nullopt, std::nullopt},
    {"crop", TRect{3, 70, 37, 2}, std::nullopt},
    {"tone", std::nullopt, TToneSliders{60, 35, 70}},
};

// The whole-picture path of the command, as the CLI took it before rows.
std::string SaveWhole(const TCommand& command, const fs::path& in, const fs::path& out) {
  try {
    TDocument document({}, {.KeepCleanCopies = false});
    OpenImageFile(document, in.string(), {.ChangeFolder = false});
    if (command.Crop && !Crop(document, *command.Crop).Cropped) return "cuts nothing";
    if (command.Tone) {
      UseSourceAsToneBase(document);
      AdjustTone(document, *command.Tone);
      SaveDestination(document, out.string(), {});
    } else {
      SaveSource(document, out.string(), {});
    }
  } catch (const EQuorvaneError& e) {
    return e.what();
  }
  return "";
}

std::string SaveStreamed(const TCommand& command, const fs::path& in, const fs::path& out) {
  TStreamedJob job{.Input = in.string(), .Output = out.string(), .Crop = command.Crop};
  if (command.Tone) {
    job.Tone = BuildToneTable(
        ReadToneSliders(command.Tone->Brightness, command.Tone->Contrast, command.Tone->Gamma));
  }
  try {
    switch (RunStreamedJob(job)) {
      case TStreamOutcome::Saved:
        return "";
      case TStreamOutcome::CutsNothing:
        return "cuts nothing";
      case TStreamOutcome::NotStreamable:
        return "not streamed";
    }
  } catch (const EQuorvaneError& e) {
    return e.what();
  }
  return "";
}

// What the whole picture would take; 0 for a header that cannot be read.
uint64_t PixelBytes(const fs::path& path) {
  try {
    TGeoTiffTags tags;
    const TPictureHeader header = ReadPictureHeader(path.string(), tags);
    return uint64_t(header.Width) * uint64_t(header.Height) * 4;
  } catch (const EQuorvaneError&) {
    return 0;
  }
}

// Returns whether the input streamed.
bool ExpectSameFiles(const fs::path& in, const testing::TTempDir& dir) {
  bool streamed = false;
  for (const TCommand& command : kCommands) {
    for (const char* ext : {".tif", ".png", ".jpg"}) {
      SCOPED_TRACE(in.string() + " " + command.Name + " " + ext);
      const fs::path whole = dir / (std::string("whole") + ext);
      const fs::path rows = dir / (std::string("rows") + ext);
      fs::remove(whole);
      fs::remove(rows);
      const std::string streamed_error = SaveStreamed(command, in, rows);
      if (streamed_error == "not streamed") continue;
      streamed = true;
      const std::string whole_error = SaveWhole(command, in, whole);
      if (!whole_error.empty() || !streamed_error.empty()) {
        // Every failure is the same (pictures above the whole path's
        // memory cap, which stream, are left out).
        EXPECT_EQ(streamed_error, whole_error);
        EXPECT_FALSE(fs::exists(rows));
        continue;
      }
      EXPECT_EQ(testing::ReadFileBytes(rows), testing::ReadFileBytes(whole));
    }
  }
  return streamed;
}

TEST(StreamedJob, WritesTheWholePathsBytesForWrittenFixtures) {
  testing::TTempDir dir;
  int streamed = 0;
  for (TPixelFormat format : {TPixelFormat::Bit1, TPixelFormat::Bit4, TPixelFormat::Bit8,
                              TPixelFormat::Bit24, TPixelFormat::Bit32}) {
    for (bool packbits : {false, true}) {
      TRasterBitmap picture = testing::NoisePicture(format, 41, 67);
      const fs::path path = dir / "in.tif";
      SaveBitmapFile(picture, path.string(), {.Compress = packbits});
      streamed += ExpectSameFiles(path, dir);
      // Cut inside the strips: the header promises rows the file lacks.
      std::vector<uint8_t> bytes = testing::ReadFileBytes(path);
      bytes.resize(bytes.size() * 2 / 3);
      testing::WriteFileBytes(path, bytes);
      streamed += ExpectSameFiles(path, dir);
    }
  }
  EXPECT_EQ(streamed, 20);
}

TEST(StreamedJob, WritesTheWholePathsBytesForEveryCorpusAndHostileTiff) {
  const fs::path corpus = testing::CorpusPath("");
  if (!fs::is_directory(corpus)) QUORVANE_CORPUS_ABSENT(corpus);
  testing::TTempDir dir;
  int streamed = 0;
  for (const fs::path& folder : {corpus, fs::path(QUORVANE_SOURCE_DIR) / "tests/hostile"}) {
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
      const std::string ext = entry.path().extension().string();
      if (!entry.is_regular_file() || (ext != ".tif" && ext != ".tiff")) continue;
      if (entry.file_size() > (16u << 20) || PixelBytes(entry.path()) > (64u << 20)) continue;
      streamed += ExpectSameFiles(entry.path(), dir);
    }
  }
  EXPECT_GT(streamed, 40);
}

}  // namespace
}  // namespace quorvane
