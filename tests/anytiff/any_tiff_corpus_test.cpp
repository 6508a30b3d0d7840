// The real-world TIFFs our own reader refuses: each opens in the extended
// reader (or gives a clear message), with the pixels GDAL reads from it
// (through its colour table where it has one) or, for wider samples, the
// scale and stretch the reader documents applied to GDAL's values; and the
// georeference GDAL derives. GDAL runs at test time when installed; the
// environment variable QUORVANE_REQUIRE_CORPUS=1 turns a missing corpus or
// tool into a failure.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <sstream>

#include "any_tiff_test_support.h"

namespace quorvane {
namespace {

namespace fs = std::filesystem;
using test_support::TColor;

#define SKIP_OR_FAIL(why)                              \
  do {                                                 \
    if (test_support::CorpusRequired()) FAIL() << why; \
    GTEST_SKIP() << why;                               \
  } while (false)

std::vector<fs::path> Files(std::initializer_list<const char*> folders) {
  std::vector<fs::path> files;
  for (const char* folder : folders) {
    const fs::path dir = test_support::CorpusPath(folder);
    if (!fs::is_directory(dir)) continue;
    for (const auto& e : fs::directory_iterator(dir))
      if (e.is_regular_file() && e.path().extension() != ".md") files.push_back(e.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

const std::initializer_list<const char*> kUnsupported = {"geotiff/unsupported", "tiff/unsupported"};

bool HaveGdal() {
  return std::system("gdal_translate --version > /dev/null 2>&1") == 0 &&
         std::system("gdalinfo --version > /dev/null 2>&1") == 0;
}

std::string Quoted(const fs::path& path) {
  return "'" + path.string() + "'";
}

// What gdalinfo says about a file, as far as the comparison needs it.
struct TGdalBand {
  std::string Type, Interp;
  int Bits = 0;  // NBITS, or the type's width
  std::optional<std::string> NoData;
};
struct TGdalInfo {
  int Width = 0, Height = 0;
  std::vector<TGdalBand> Bands;
  std::vector<TColor> Table;  // the first band's colour table
  bool PixelIsArea = false;
  std::optional<double> OriginX, OriginY, SizeX, SizeY;
};

int TypeBits(const std::string& type) {
  if (type == "Byte") return 8;
  if (type == "UInt16" || type == "Int16") return 16;
  if (type == "UInt32" || type == "Int32" || type == "Float32") return 32;
  return 64;
}

TGdalInfo ParseGdalInfo(const fs::path& text) {
  std::ifstream in(text);
  TGdalInfo info;
  std::smatch m;
  const std::regex size(R"(^Size is (\d+), (\d+))"),
      band(R"(^Band \d+ .*Type=(\w+), ColorInterp=(\w+))"), nbits(R"(^ +NBITS=(\d+))"),
      nodata(R"(^ +NoData Value=(.*)$)"), entry(R"(^ +\d+: (\d+),(\d+),(\d+),\d+)"),
      origin(R"(^Origin = \(([^,]+),([^)]+)\))"), pixel(R"(^Pixel Size = \(([^,]+),([^)]+)\))");
  for (std::string line; std::getline(in, line);) {
    if (std::regex_search(line, m, size)) {
      info.Width = std::stoi(m[1]);
      info.Height = std::stoi(m[2]);
    } else if (std::regex_search(line, m, band)) {
      info.Bands.push_back({m[1], m[2], TypeBits(m[1]), std::nullopt});
    } else if (!info.Bands.empty() && std::regex_search(line, m, nbits)) {
      info.Bands.back().Bits = std::stoi(m[1]);
    } else if (!info.Bands.empty() && std::regex_search(line, m, nodata)) {
      info.Bands.back().NoData = m[1];
    } else if (info.Bands.size() == 1 && std::regex_search(line, m, entry)) {
      info.Table.push_back(
          {uint8_t(std::stoi(m[3])), uint8_t(std::stoi(m[2])), uint8_t(std::stoi(m[1]))});
    } else if (std::regex_search(line, m, origin)) {
      info.OriginX = std::stod(m[1]);
      info.OriginY = std::stod(m[2]);
    } else if (std::regex_search(line, m, pixel)) {
      info.SizeX = std::stod(m[1]);
      info.SizeY = std::stod(m[2]);
    } else if (line.find("AREA_OR_POINT=Area") != std::string::npos) {
      info.PixelIsArea = true;
    }
  }
  return info;
}

// What GDAL makes of one file: its description, and every band's samples
// as doubles, pixel by pixel (nothing where GDAL gave up).
struct TGdalView {
  std::optional<TGdalInfo> Info;
  std::optional<std::vector<double>> Samples;
};

// GDAL starts slowly, so all files are handed to it at once, two at a time.
std::vector<TGdalView> AskGdal(const std::vector<fs::path>& files,
                               const test_support::TTempDir& dir, bool samples) {
  const fs::path commands = dir / "commands.txt";
  {
    std::ofstream out(commands);
    for (size_t i = 0; i < files.size(); ++i) {
      const std::string stem = (dir / std::to_string(i)).string();
      out << "gdalinfo " << Quoted(files[i]) << " > " << stem << ".txt 2>/dev/null || rm -f "
          << stem << ".txt\n";
      if (samples)
        out << "gdal_translate -q -of ENVI -ot Float64 -co INTERLEAVE=BIP " << Quoted(files[i])
            << " " << stem << ".bin > /dev/null 2>&1 || rm -f " << stem << ".bin\n";
    }
  }
  const std::string run = "xargs -P 2 -d '\\n' -n 1 sh -c < " + Quoted(commands);
  EXPECT_EQ(std::system(run.c_str()), 0);
  std::vector<TGdalView> views(files.size());
  for (size_t i = 0; i < files.size(); ++i) {
    const fs::path stem = dir / std::to_string(i);
    if (fs::exists(stem.string() + ".txt")) views[i].Info = ParseGdalInfo(stem.string() + ".txt");
    const fs::path bin = stem.string() + ".bin";
    if (samples && fs::exists(bin)) {
      const std::vector<uint8_t> bytes = test_support::ReadFileBytes(bin);
      std::vector<double> values(bytes.size() / sizeof(double));
      std::memcpy(values.data(), bytes.data(), values.size() * sizeof(double));
      views[i].Samples = std::move(values);
    }
  }
  return views;
}

// The nodata value as the samples of a GDAL type hold it.
std::optional<double> NoDataOf(const TGdalBand& band) {
  if (!band.NoData) return std::nullopt;
  const double v = std::strtod(band.NoData->c_str(), nullptr);
  if (!std::isfinite(v)) return std::nullopt;
  if (band.Type == "Float32") return double(float(v));
  if (band.Type == "Float64") return v;
  return v == std::floor(v) ? std::optional<double>(v) : std::nullopt;
}

bool ScaledOverFullRange(const TGdalBand& band) {
  return band.Type == "Byte" || (band.Type == "UInt16" && band.Bits <= 16);
}

// The colours the reader documents for what GDAL reads: the colour table,
// or per shown band the full-range scale or the stretch; CMYK inks GDAL
// leaves unconverted become light as libtiff converts 8-bit ones.
std::vector<TColor> ExpectedColours(const TGdalInfo& info, const std::vector<int>& shown,
                                    const std::vector<double>& samples) {
  const size_t pixels = size_t(info.Width) * info.Height, n = shown.size();
  const size_t stride = info.Bands.size();
  std::vector<std::vector<int>> bands(n);
  for (size_t b = 0; b < n; ++b) {
    const TGdalBand& band = info.Bands[size_t(shown[b])];
    std::vector<double> values(pixels);
    for (size_t p = 0; p < pixels; ++p) values[p] = samples[p * stride + size_t(shown[b])];
    if (ScaledOverFullRange(band)) {
      for (double v : values) bands[b].push_back(test_support::FullRange(uint64_t(v), band.Bits));
    } else {
      bands[b] = test_support::ExpectedStretch(values, NoDataOf(band));
    }
  }
  std::vector<TColor> colours(pixels);
  for (size_t p = 0; p < pixels; ++p) {
    if (!info.Table.empty()) {
      colours[p] = info.Table[size_t(samples[p * stride + size_t(shown[0])])];
    } else if (n == 1) {
      colours[p] = {uint8_t(bands[0][p]), uint8_t(bands[0][p]), uint8_t(bands[0][p])};
    } else if (n == 4) {
      const int light = 255 - bands[3][p];
      colours[p] = {uint8_t(light * (255 - bands[2][p]) / 255),
                    uint8_t(light * (255 - bands[1][p]) / 255),
                    uint8_t(light * (255 - bands[0][p]) / 255)};
    } else {
      colours[p] = {uint8_t(bands[2][p]), uint8_t(bands[1][p]), uint8_t(bands[0][p])};
    }
  }
  return colours;
}

// Bands the picture shows: not alpha; the first three, or the first alone,
// or four inks.
std::vector<int> ShownBands(const TGdalInfo& info) {
  std::vector<int> colour;
  for (size_t b = 0; b < info.Bands.size(); ++b)
    if (info.Bands[b].Interp != "Alpha") colour.push_back(int(b));
  if (!colour.empty() && info.Bands[size_t(colour[0])].Interp == "Cyan" && colour.size() >= 4)
    return {colour[0], colour[1], colour[2], colour[3]};
  if (colour.size() >= 3) return {colour[0], colour[1], colour[2]};
  return {colour.empty() ? 0 : colour[0]};
}

TEST(AnyTiffCorpus, EveryFileOpensOrGivesAClearMessage) {
  const std::vector<fs::path> files =
      Files({"geotiff/unsupported", "tiff/unsupported", "tiff", "tiff/seq", "geotiff",
             "geotiff/derived", "tiff/malformed", "geotiff/malformed"});
  if (files.empty()) SKIP_OR_FAIL("no corpus at " << test_support::CorpusPath(""));
  int opened = 0;
  for (const fs::path& file : files) {
    SCOPED_TRACE(file.string());
    const std::vector<uint8_t> bytes = test_support::ReadFileBytes(file);
    TRasterBitmap picture;
    picture.Reset(TPixelFormat::Bit8, 3, 3);
    TGeoTiffTags tags;
    TAnyTiffOptions options;
    options.MaxPictureBytes = test_support::kRoomyCap;
    try {
      const TAnyTiffResult result = DecodeAnyTiffBytes(bytes, picture, tags, options);
      ++opened;
      TMemoryTiffSource source(bytes);
      const TAnyTiffResult header = ReadAnyTiffHeader(source, tags, options);
      EXPECT_EQ(header.Width, result.Width);
      EXPECT_EQ(header.PixelFormat, result.PixelFormat);
    } catch (const EQuorvaneError& e) {
      EXPECT_GT(std::string(e.what()).size(), 10u);
      EXPECT_EQ(picture.Width(), 3) << "the previous picture stays";
    }
  }
  // Every file our own reader refuses opens here.
  int unsupported = 0;
  for (const fs::path& file : Files(kUnsupported)) {
    ++unsupported;
    EXPECT_EQ(test_support::AnyMessage(test_support::ReadFileBytes(file)), "") << file;
  }
  EXPECT_GE(opened, unsupported);
}

TEST(AnyTiffCorpus, PixelsAreWhatGdalReadsOrTheDocumentedStretch) {
  const std::vector<fs::path> files = Files(kUnsupported);
  if (files.empty()) SKIP_OR_FAIL("no corpus at " << test_support::CorpusPath(""));
  if (!HaveGdal()) SKIP_OR_FAIL("gdal_translate is not installed");
  test_support::TTempDir dir;
  const std::vector<TGdalView> views = AskGdal(files, dir, true);
  int compared = 0;
  for (size_t i = 0; i < files.size(); ++i) {
    const fs::path& file = files[i];
    SCOPED_TRACE(file.string());
    const std::string name = file.filename().string();
    const test_support::TAnyDecoded decoded =
        test_support::DecodeAny(test_support::ReadFileBytes(file));
    const std::optional<TGdalInfo>& info = views[i].Info;
    ASSERT_TRUE(info);
    // LogLuv is light in physical units, which GDAL hands over as such;
    // there is no 8-bit truth to hold the RGBA reader's rendering to.
    if (name.starts_with("logluv")) continue;
    const std::vector<int> shown = ShownBands(*info);
    const std::optional<std::vector<double>>& samples = views[i].Samples;
    // GDAL gives up on a damaged strip our reader keeps what it can of.
    if (!samples) {
      EXPECT_EQ(name, "text.tif");
      continue;
    }
    ASSERT_EQ(decoded.Picture.Width(), info->Width);
    ASSERT_EQ(decoded.Picture.Height(), info->Height);
    ASSERT_EQ(samples->size(), size_t(info->Width) * info->Height * info->Bands.size());
    const std::vector<TColor> expected = ExpectedColours(*info, shown, *samples);
    int wrong = 0;
    for (int y = 0; y < info->Height; ++y) {
      for (int x = 0; x < info->Width; ++x) {
        const TColor got = test_support::ColorAt(decoded.Picture, x, y);
        const TColor want = expected[size_t(y) * info->Width + x];
        if (got != want && ++wrong <= 3)
          ADD_FAILURE() << x << ", " << y << ": " << int(got.Red) << " " << int(got.Green) << " "
                        << int(got.Blue) << " instead of " << int(want.Red) << " "
                        << int(want.Green) << " " << int(want.Blue);
      }
    }
    ++compared;
  }
  EXPECT_GE(compared, 50);
}

TEST(AnyTiffCorpus, GeoreferenceIsWhatGdalDerives) {
  const std::vector<fs::path> files = Files({"geotiff/unsupported"});
  if (files.empty()) SKIP_OR_FAIL("no corpus at " << test_support::CorpusPath(""));
  if (!HaveGdal()) SKIP_OR_FAIL("gdalinfo is not installed");
  test_support::TTempDir dir;
  const std::vector<TGdalView> views = AskGdal(files, dir, false);
  int compared = 0;
  for (size_t i = 0; i < files.size(); ++i) {
    SCOPED_TRACE(files[i].string());
    const test_support::TAnyDecoded decoded =
        test_support::DecodeAny(test_support::ReadFileBytes(files[i]));
    const std::optional<TGdalInfo>& info = views[i].Info;
    ASSERT_TRUE(info);
    // Our georeference is a corner tie point and a pixel scale; GDAL shifts
    // pixel-is-point files by half a pixel and derives others from
    // transformations or several tie points.
    const TGeoTiffTags& tags = decoded.Tags;
    if (!info->PixelIsArea || !info->OriginX || tags.TiePointCount != 1 ||
        tags.PixelScale[0] == 0 || tags.TiePoints[0].I != 0 || tags.TiePoints[0].J != 0)
      continue;
    EXPECT_DOUBLE_EQ(tags.TiePoints[0].X, *info->OriginX);
    EXPECT_DOUBLE_EQ(tags.TiePoints[0].Y, *info->OriginY);
    EXPECT_DOUBLE_EQ(tags.PixelScale[0], *info->SizeX);
    EXPECT_DOUBLE_EQ(tags.PixelScale[1], -*info->SizeY);
    ++compared;
  }
  EXPECT_GE(compared, 5);
}

}  // namespace
}  // namespace quorvane
