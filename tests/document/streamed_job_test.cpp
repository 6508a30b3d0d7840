// A streamed batch job writes exactly the bytes of opening the input,
// editing it and saving it whole, for every command, output format and
// input a reader streams: written fixtures in each pixel format, every
// corpus and hostile file of a streaming format, and files cut short in
// their pixels.
#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "document/crop.h"
#include "document/document.h"
#include "document/open_image.h"
#include "document/save_pane.h"
#include "document/streamed_job.h"
#include "document/stretch.h"
#include "document/tone_page.h"
#include "imaging/resample_filters.h"
#include "imaging/tone.h"
#include "io/format_registry.h"
#include "io/format_table.h"
#include "raster/error.h"
#include "support/libtiff_writer.h"
#include "support/test_pictures.h"

namespace quorvane {
namespace {

namespace fs = std::filesystem;

struct TResize {
  int Width, Height;
  TResampleFilter Filter;
  bool Force24Bit;
};

struct TCommand {
  const char* Name;
  std::optional<TRect> Crop;
  std::optional<TToneSliders> Tone;
  std::optional<TResize> Resize;
};

const TCommand kCommands[] = {
    {"convert", std::nullopt, std::nullopt, std::nullopt},
    {"crop", TRect{3, 70, 37, 2}, std::nullopt, std::nullopt},
    {"tone", std::nullopt, TToneSliders{60, 35, 70}, std::nullopt},
    {"shrink lanczos3", std::nullopt, std::nullopt,
     TResize{23, 31, TResampleFilter::Lanczos3, false}},
    {"enlarge mitchell", std::nullopt, std::nullopt,
     TResize{90, 150, TResampleFilter::Mitchell, false}},
    {"box 24-bit", std::nullopt, std::nullopt, TResize{17, 40, TResampleFilter::Box, true}},
    {"bspline", std::nullopt, std::nullopt, TResize{41, 7, TResampleFilter::BSpline, false}},
};

// The whole-picture path of the command, as the CLI took it before rows.
std::string SaveWhole(const TCommand& command, const fs::path& in, const fs::path& out,
                      bool any_tiff) {
  try {
    TDocument document({}, {.KeepCleanCopies = false});
    document.Display = TAnyTiffDisplay{};
    OpenImageFile(document, in.string(), {.ChangeFolder = false, .Load = {.AnyTiff = any_tiff}});
    if (command.Crop && !Crop(document, *command.Crop).Cropped) return "cuts nothing";
    if (command.Resize) {
      document.Sizing.SetNewSize(command.Resize->Width, command.Resize->Height);
      Stretch(document,
              {.Filter = command.Resize->Filter, .Force24Bit = command.Resize->Force24Bit});
      SaveDestination(document, out.string(), {});
    } else if (command.Tone) {
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

std::string SaveStreamed(const TCommand& command, const fs::path& in, const fs::path& out,
                         bool any_tiff) {
  TStreamedJob job{.Input = in.string(),
                   .Output = out.string(),
                   .Load = {.AnyTiff = any_tiff, .Display = {}},
                   .Crop = command.Crop};
  if (command.Resize) {
    const TResize r = *command.Resize;
    job.Resize = TStreamedResize{
        .NewSize = [r](int64_t, int64_t) { return std::pair<int64_t, int64_t>(r.Width, r.Height); },
        .Filter = r.Filter,
        .Force24Bit = r.Force24Bit};
  }
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
bool ExpectSameFiles(const fs::path& in, const test_support::TTempDir& dir,
                     std::span<const TCommand> commands = kCommands, bool any_tiff = false) {
  bool streamed = false;
  for (const TCommand& command : commands) {
    for (const char* ext : {".tif", ".png", ".jpg"}) {
      SCOPED_TRACE(in.string() + " " + command.Name + " " + ext);
      const fs::path whole = dir / (std::string("whole") + ext);
      const fs::path rows = dir / (std::string("rows") + ext);
      fs::remove(whole);
      fs::remove(rows);
      const std::string streamed_error = SaveStreamed(command, in, rows, any_tiff);
      if (streamed_error == "not streamed") continue;
      streamed = true;
      const std::string whole_error = SaveWhole(command, in, whole, any_tiff);
      if (!whole_error.empty() || !streamed_error.empty()) {
        // Every failure is the same (pictures above the whole path's
        // memory cap, which stream, are left out).
        EXPECT_EQ(streamed_error, whole_error);
        EXPECT_FALSE(fs::exists(rows));
        continue;
      }
      EXPECT_EQ(test_support::ReadFileBytes(rows), test_support::ReadFileBytes(whole));
    }
  }
  return streamed;
}

TEST(StreamedJob, WritesTheWholePathsBytesForWrittenFixtures) {
  test_support::TTempDir dir;
  int streamed = 0;
  for (const char* ext : {".tif", ".png", ".jpg", ".bmp", ".tga", ".pcx", ".lbm"}) {
    for (TPixelFormat format : {TPixelFormat::Bit1, TPixelFormat::Bit4, TPixelFormat::Bit8,
                                TPixelFormat::Bit24, TPixelFormat::Bit32}) {
      for (bool packbits : {false, true}) {
        // Compression is an option of TIFF and IFF saves.
        if (packbits && std::string(ext) != ".tif" && std::string(ext) != ".lbm") continue;
        // The 24-bit picture is of several bands, so rows cross from one
        // band to the next (a plain copy and a resize show that well).
        const bool banded = format == TPixelFormat::Bit24;
        const std::span<const TCommand> all = kCommands;
        const std::span<const TCommand> commands = banded ? all.subspan(3, 1) : all;
        TRasterBitmap picture =
            test_support::NoisePicture(format, banded ? 1200 : 41, banded ? 600 : 67);
        const fs::path path = dir / (std::string("in") + ext);
        SaveBitmapFile(picture, path.string(), {.Compress = packbits});
        streamed += ExpectSameFiles(path, dir, commands);
        // Cut inside the pixels: the header promises rows the file lacks.
        std::vector<uint8_t> bytes = test_support::ReadFileBytes(path);
        bytes.resize(bytes.size() * 2 / 3);
        test_support::WriteFileBytes(path, bytes);
        streamed += ExpectSameFiles(path, dir, commands);
      }
    }
  }
  EXPECT_EQ(streamed, 90);
}

// Files for the extended reader stream a strip or a row of tiles at a time,
// unless their samples need the whole picture to be stretched.
TEST(StreamedJob, WritesTheWholePathsBytesForExtendedReaderFiles) {
  using test_support::TTiffRecipe;
  auto rgb = [](TTiffRecipe r) {
    r.Samples = 3;
    r.Photometric = PHOTOMETRIC_RGB;
    return r;
  };
  const std::pair<TTiffRecipe, bool> recipes[] = {
      {rgb({.Width = 41, .Height = 67, .RowsPerStrip = 5, .BigTiff = true}), true},
      {rgb({.Width = 41, .Height = 67, .TileWidth = 16, .TileHeight = 16}), true},
      {rgb({.Width = 41,
            .Height = 67,
            .Planar = PLANARCONFIG_SEPARATE,
            .Compression = COMPRESSION_ADOBE_DEFLATE,
            .RowsPerStrip = 9}),
       true},
      {{.Width = 41, .Height = 67, .TileWidth = 32, .TileHeight = 16}, true},
      {{.Width = 41, .Height = 67, .Bits = 4, .Photometric = PHOTOMETRIC_PALETTE, .BigTiff = true},
       true},
      // Samples over 8 bits are stretched over the whole picture.
      {{.Width = 41, .Height = 67, .Bits = 16, .TileWidth = 32, .TileHeight = 16}, false},
      {{.Width = 41, .Height = 67, .Bits = 32, .SampleFormat = SAMPLEFORMAT_IEEEFP}, false},
  };
  test_support::TTempDir dir;
  for (auto [recipe, streams] : recipes) {
    SCOPED_TRACE(std::to_string(recipe.Bits) + " bits, " + std::to_string(recipe.Samples) +
                 " samples");
    if (recipe.Photometric == PHOTOMETRIC_PALETTE) {
      for (int i = 0; i < 48; ++i) recipe.ColorMap.push_back(uint16_t(i * 1301));
    }
    const fs::path path = dir / "in.tif";
    auto sample = [&](uint32_t x, uint32_t y, int s) {
      const double top = std::ldexp(1.0, std::min<int>(recipe.Bits, 16)) - 1;
      return std::fmod((x * 37 + y * 11 + s * 101) * 0.137 * top, top);
    };
    const std::vector<uint8_t> bytes = test_support::WriteTiffWithLibtiff(path, recipe, sample);
    EXPECT_EQ(ExpectSameFiles(path, dir, kCommands, true), streams);
    // Cut inside the pixels: what is left is kept as the whole path keeps it.
    test_support::WriteFileBytes(
        path, std::vector<uint8_t>(bytes.begin(), bytes.begin() + bytes.size() * 3 / 4));
    ExpectSameFiles(path, dir, std::span(kCommands).first(4), true);
  }
}

bool Streams(const fs::path& path) {
  std::string ext = path.extension().string();
  for (char& c : ext) c = char(std::tolower(static_cast<unsigned char>(c)));
  const TImageFormat* format = ext.empty() ? nullptr : FindImageFormat(ext.substr(1));
  return format && format->OpenRows;
}

TEST(StreamedJob, WritesTheWholePathsBytesForEveryCorpusAndHostileFile) {
  const fs::path corpus = test_support::CorpusPath("");
  if (!fs::is_directory(corpus)) QUORVANE_CORPUS_ABSENT(corpus);
  test_support::TTempDir dir;
  int streamed = 0;
  for (const fs::path& folder : {corpus, fs::path(QUORVANE_SOURCE_DIR) / "tests/hostile"}) {
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
      if (!entry.is_regular_file() || !Streams(entry.path())) continue;
      if (entry.file_size() > (4u << 20) || PixelBytes(entry.path()) > (16u << 20)) continue;
      // The resizes' sizes and filters are the fixtures' concern; here the
      // files' layouts are.
      streamed += ExpectSameFiles(entry.path(), dir, std::span(kCommands).first(4));
    }
  }
  EXPECT_GT(streamed, 100);
}

}  // namespace
}  // namespace quorvane
