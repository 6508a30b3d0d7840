#include "io/format_registry.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <cstring>

#include "formats/iff.h"
#include "formats/jpeg_codec.h"
#include "formats/png_codec.h"
#include "io/format_table.h"
#include "raster/error.h"
#include "support/test_pictures.h"
#include "tiff/tiff_writer.h"

namespace quorvane {
namespace {

using test_support::ReadFileBytes;
using test_support::TTempDir;

std::string LoadError(const std::string& name) {
  TGeoTiffTags tags;
  try {
    LoadPicture(name, tags);
  } catch (const EQuorvaneError& e) {
    return e.what();
  }
  return "";
}

std::string Head(const std::filesystem::path& path, size_t n) {
  const auto bytes = ReadFileBytes(path);
  return std::string(bytes.begin(), bytes.begin() + std::ptrdiff_t(std::min(n, bytes.size())));
}

void Save(const TRasterBitmap& bitmap, const std::filesystem::path& path, bool compress = false,
          bool geotiff = false) {
  const TGeoTiffTags tags = test_support::SampleGeoTiffTags();
  SaveBitmapFile(bitmap, path.string(),
                 {.Compress = compress, .GeoTiff = geotiff, .GeoTiffTags = &tags});
}

TEST(FormatRegistry, TypeFilterListsEveryFormatFromTheLastRegisteredOn) {
  EXPECT_EQ(
      BuildTypeFilter(),
      "All (*.jpg;*.gif;*.png;*.jpeg;*.tiff;*.tif;*.tga;*.pcx;*.ilbm;*.iff;*.lbm;*.bmp;*.ico;"
      "*.emf;*.wmf)|"
      "*.jpg;*.gif;*.png;*.jpeg;*.tiff;*.tif;*.tga;*.pcx;*.ilbm;*.iff;*.lbm;*.bmp;*.ico;*.emf;"
      "*.wmf|"
      "JPEG Files (*.jpg)|*.jpg|GIF Files (*.gif)|*.gif|PNG Files (*.png)|*.png|"
      "JPEG Files (*.jpeg)|*.jpeg|TIFF-Format (*.tiff)|*.tiff|TIFF-Format (*.tif)|*.tif|"
      "TGA Files (*.tga)|*.tga|PCX Files (*.pcx)|*.pcx|IFF Files (*.ilbm)|*.ilbm|"
      "IFF Files (*.iff)|*.iff|LBM Files (*.lbm)|*.lbm|"
      "Bitmaps (*.bmp)|*.bmp|Icons (*.ico)|*.ico|Enhanced Metafiles (*.emf)|*.emf|"
      "Metafiles (*.wmf)|*.wmf");
}

TEST(FormatRegistry, UnknownExtensionsNameTheExtensionAsWritten) {
  EXPECT_EQ(LoadError("picture.xyz"), "Unknown picture file extension (.xyz)");
  EXPECT_EQ(LoadError("PICTURE.XYZ"), "Unknown picture file extension (.XYZ)");
  EXPECT_EQ(LoadError("picture"), "Unknown picture file extension (.)");
  EXPECT_EQ(LoadError("folder.d/picture"), "Unknown picture file extension (.)");
  EXPECT_EQ(LoadError("picture."), "Unknown picture file extension (.)");
}

TEST(FormatRegistry, ExtensionsMatchWhateverTheirCase) {
  TTempDir dir;
  const auto jpeg = EncodeJpeg(test_support::Gradient24(8, 4), {.Quality = 90});
  for (const char* name : {"a.JPG", "b.Jpeg", "c.jpg"}) {
    test_support::WriteFileBytes(dir / name, jpeg);
    TGeoTiffTags tags;
    EXPECT_EQ(LoadPicture((dir / name).string(), tags)->Width(), 8) << name;
  }
  // IFF pictures go by three names.
  const auto iff = EncodeLbm(test_support::Gradient24(6, 3));
  for (const char* name : {"e.lbm", "f.IFF", "g.ilbm"}) {
    test_support::WriteFileBytes(dir / name, iff);
    TGeoTiffTags tags;
    EXPECT_EQ(LoadPicture((dir / name).string(), tags)->Width(), 6) << name;
  }
  // The extension decides, never the content: a PNG named .jpg is refused
  // by the JPEG reader with its own message.
  test_support::WriteFileBytes(dir / "d.jpg", EncodePng(test_support::Gradient24(2, 2)));
  EXPECT_EQ(LoadError((dir / "d.jpg").string()).rfind("JPEG error #", 0), 0u);
}

TEST(FormatRegistry, MetafilesAreRefusedWithAClearMessage) {
  for (const char* name : {"x.wmf", "x.EMF"})
    EXPECT_EQ(LoadError(name), "Windows metafiles (.wmf, .emf) are not supported on this platform");
}

TEST(FormatRegistry, IconsOpenTheirLargestImage) {
  TTempDir dir;
  const auto small = EncodePng(test_support::Gradient24(16, 16));
  const auto large = EncodePng(test_support::Gradient24(48, 40));
  // ICONDIR, then two ICONDIRENTRYs, then the PNG payloads.
  std::vector<uint8_t> ico = {0, 0, 1, 0, 2, 0};
  auto entry = [&](uint8_t w, uint8_t h, size_t size, size_t offset) {
    const uint8_t e[16] = {w,
                           h,
                           0,
                           0,
                           1,
                           0,
                           32,
                           0,
                           uint8_t(size),
                           uint8_t(size >> 8),
                           uint8_t(size >> 16),
                           0,
                           uint8_t(offset),
                           uint8_t(offset >> 8),
                           uint8_t(offset >> 16),
                           0};
    ico.insert(ico.end(), e, e + 16);
  };
  entry(16, 16, small.size(), 38);
  entry(48, 40, large.size(), 38 + small.size());
  ico.insert(ico.end(), small.begin(), small.end());
  ico.insert(ico.end(), large.begin(), large.end());
  test_support::WriteFileBytes(dir / "a.ico", ico);
  TGeoTiffTags tags;
  const auto picture = LoadPicture((dir / "a.ico").string(), tags);
  EXPECT_EQ(picture->Width(), 48);
  EXPECT_EQ(picture->Height(), 40);

  // A directory pointing past the end of the file is refused.
  ico.resize(50);
  test_support::WriteFileBytes(dir / "b.ico", ico);
  EXPECT_EQ(LoadError((dir / "b.ico").string()),
            "Invalid icon file: image data past the end of the file");
}

TEST(FormatRegistry, IconBitmapPayloadsOpenWithoutTheirMask) {
  TTempDir dir;
  // A 2 x 2, 24-bit icon image: information header with the doubled height,
  // two colour rows (bottom-up, 8 bytes each), then two mask rows.
  std::vector<uint8_t> dib(40, 0);
  auto put = [&](size_t at, uint32_t v, int n) {
    for (int i = 0; i < n; ++i) dib[at + i] = uint8_t(v >> (8 * i));
  };
  put(0, 40, 4);
  put(4, 2, 4);
  put(8, 4, 4);  // colour rows and mask rows together
  put(12, 1, 2);
  put(14, 24, 2);
  const uint8_t rows[] = {1, 2, 3, 4,  5,  6,  0, 0,   // bottom row
                          7, 8, 9, 10, 11, 12, 0, 0};  // top row
  dib.insert(dib.end(), rows, rows + 16);
  dib.insert(dib.end(), 8, 0xFF);  // the mask
  std::vector<uint8_t> ico = {0, 0, 1, 0,  1, 0, 2, 2, 0, 0, 1, 0, 24, 0, uint8_t(dib.size()),
                              0, 0, 0, 22, 0, 0, 0};
  ico.resize(22 + dib.size());
  std::copy(dib.begin(), dib.end(), ico.begin() + 22);
  test_support::WriteFileBytes(dir / "a.ico", ico);
  TGeoTiffTags tags;
  const auto picture = LoadPicture((dir / "a.ico").string(), tags);
  ASSERT_EQ(picture->Width(), 2);
  ASSERT_EQ(picture->Height(), 2);
  EXPECT_EQ(test_support::ColorAt(*picture, 0, 0), (test_support::TColor{7, 8, 9}));
  EXPECT_EQ(test_support::ColorAt(*picture, 1, 1), (test_support::TColor{4, 5, 6}));
}

TEST(FormatRegistry, SaveDispatchesOnTheExtensionAlone) {
  TTempDir dir;
  const TRasterBitmap picture = test_support::Gradient24(5, 3);
  Save(picture, dir / "a.TIF");
  EXPECT_EQ(Head(dir / "a.TIF", 4), std::string("II*\0", 4));
  Save(picture, dir / "b.tiff");
  EXPECT_EQ(Head(dir / "b.tiff", 4), std::string("II*\0", 4));
  Save(picture, dir / "c.jpeg");
  EXPECT_EQ(Head(dir / "c.jpeg", 2), "\xFF\xD8");
  Save(picture, dir / "d.Png");
  EXPECT_EQ(Head(dir / "d.Png", 4), "\x89PNG");
  // Names the save does not know, or no extension at all, get a Windows bitmap.
  for (const char* name : {"f", "g.ico", "h.bmp", "i.jpg.bak"}) {
    Save(picture, dir / name);
    EXPECT_EQ(Head(dir / name, 2), "BM") << name;
  }
  // Named as TGA or IFF pictures, files hold them.
  Save(picture, dir / "e.tga");
  EXPECT_EQ(Head(dir / "e.tga", 3), std::string("\0\0\2", 3));
  for (const char* name : {"k.iff", "l.ILBM"}) {
    Save(picture, dir / name);
    EXPECT_EQ(Head(dir / name, 4), "FORM") << name;
  }
  Save(picture, dir / "j.gif");
  EXPECT_EQ(Head(dir / "j.gif", 3), "GIF");
}

TEST(FormatRegistry, TiffSavesHonourThePackBitsAndGeoTiffSwitches) {
  TTempDir dir;
  const TRasterBitmap picture = test_support::Gradient24(5, 3);
  auto entries = [](const std::vector<uint8_t>& b) {
    const uint32_t ifd = uint32_t(b[4] | b[5] << 8 | b[6] << 16 | b[7] << 24);
    return int(b[ifd] | b[ifd + 1] << 8);
  };
  Save(picture, dir / "plain.tif", false, false);
  Save(picture, dir / "geo.tif", false, true);
  Save(picture, dir / "packed.tif", true, true);
  EXPECT_EQ(entries(ReadFileBytes(dir / "plain.tif")), 15);
  EXPECT_EQ(entries(ReadFileBytes(dir / "geo.tif")), 20);
  EXPECT_LT(ReadFileBytes(dir / "plain.tif").size(), ReadFileBytes(dir / "geo.tif").size());
  const auto packed = ReadFileBytes(dir / "packed.tif");
  EXPECT_EQ(entries(packed), 20);
  EXPECT_NE(ReadFileBytes(dir / "geo.tif"), packed);
}

TEST(FormatRegistry, SavingConvertsAPrivateCopyAndLeavesTheBitmapAlone) {
  TTempDir dir;
  TRasterBitmap palette;
  palette.Reset(TPixelFormat::Bit8, 4, 2);
  palette.ColorTable()[3] = {10, 20, 30, 0};
  palette.Scanline(1)[2] = 3;
  const TRasterBitmap before = palette;
  Save(palette, dir / "a.tif");
  Save(palette, dir / "a.png");
  Save(palette, dir / "a.bmp");
  EXPECT_EQ(palette.PixelFormat(), TPixelFormat::Bit8);
  EXPECT_EQ(std::memcmp(palette.Bits(), before.Bits(), 2 * palette.Stride()), 0);
  // The TIFF is 24-bit RGB whatever the pane held; the bitmap file stays 8-bit.
  const auto tif = ReadFileBytes(dir / "a.tif");
  EXPECT_EQ(tif.size(), 8 + 16 + 4 + 8 + 24 + 2 + 15 * 12 + 4u);
  EXPECT_EQ(tif[36 + 12 + 6], 30) << "red of pixel (2, 1)";
  const auto bmp = ReadFileBytes(dir / "a.bmp");
  EXPECT_EQ(bmp[28], 8) << "bits per pixel in the bitmap information header";

  // A 24-bit picture saved as GIF is reduced to a palette first.
  Save(test_support::Gradient24(20, 20), dir / "b.gif");
  TGeoTiffTags tags;
  const auto gif = LoadPicture((dir / "b.gif").string(), tags);
  EXPECT_EQ(gif->PixelFormat(), TPixelFormat::Bit8);
}

TEST(FormatRegistry, ProgressIsReportedOnlyWhenAskedForAndNotForBitmaps) {
  TTempDir dir;
  const TRasterBitmap picture = test_support::Gradient24(4, 10);
  TGeoTiffTags tags;
  for (const char* name : {"a.tif", "a.JPG", "a.png", "a.gif", "a.pcx", "a.lbm", "a.bmp", "a"}) {
    SCOPED_TRACE(name);
    std::vector<std::pair<TProgressStage, int>> seen;
    const TProgressEvent event = [&](TProgressStage s, uint8_t p, bool, const TRect&,
                                     std::string_view) { seen.emplace_back(s, p); };
    SaveBitmapFile(picture, (dir / name).string(), {.Progress = event});
    EXPECT_TRUE(seen.empty());
    SaveBitmapFile(picture, (dir / name).string(), {.ShowProgress = true, .Progress = event});
    // The window shows a progress window exactly when reports will come.
    EXPECT_EQ(SaveReportsProgress(name), !seen.empty());
    if (seen.empty()) {
      EXPECT_TRUE(std::string(name) == "a.bmp" || std::string(name) == "a");
      continue;
    }
    ASSERT_GE(seen.size(), 2u);
    EXPECT_EQ(seen.front().first, TProgressStage::Starting);
    EXPECT_EQ(seen.back().first, TProgressStage::Ending);
    // The program's own PCX and LBM writers count their steps their own way.
    const bool own_codec = std::string(name) == "a.pcx" || std::string(name) == "a.lbm";
    if (!own_codec) EXPECT_EQ(seen[seen.size() - 2], std::make_pair(TProgressStage::Running, 100));
  }
}

// A file size limit makes every write past it fail as a full disk would.
class TFileSizeLimit {
 public:
  explicit TFileSizeLimit(rlim_t bytes) {
    previous_handler_ = std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &previous_);
    rlimit limited = previous_;
    limited.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limited);
  }
  ~TFileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &previous_);
    std::signal(SIGXFSZ, previous_handler_);
  }

 private:
  rlimit previous_{};
  void (*previous_handler_)(int) = nullptr;
};

TEST(FormatRegistry, AFailedSaveKeepsThePreviousFileWhole) {
  TTempDir dir;
  const TRasterBitmap picture = test_support::Noise24(200, 200);
  for (const char* name : {"a.tif", "a.jpg", "a.png", "a.gif", "a.bmp"}) {
    SCOPED_TRACE(name);
    const std::vector<uint8_t> previous(1000, 7);
    test_support::WriteFileBytes(dir / name, previous);
    {
      TFileSizeLimit limit(4096);
      EXPECT_THROW(Save(picture, dir / name), EQuorvaneError);
    }
    EXPECT_EQ(ReadFileBytes(dir / name), previous);
  }
  EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"a.bmp", "a.gif", "a.jpg", "a.png", "a.tif"}))
      << "no temporary file is left behind";
  // A folder that does not exist: a clear message naming the file.
  try {
    Save(picture, dir / "missing" / "b.tif");
    ADD_FAILURE();
  } catch (const EQuorvaneError& e) {
    EXPECT_NE(std::string(e.what()).find("b.tif"), std::string::npos) << e.what();
  }
  // The TIFF writer refuses a 32-bit bitmap before touching the file.
  TRasterBitmap deep;
  deep.Reset(TPixelFormat::Bit32, 2, 2);
  EXPECT_THROW(SaveTiffFile((dir / "a.tif").string(), deep, {.PackBits = true}), EQuorvaneError);
  EXPECT_EQ(ReadFileBytes(dir / "a.tif"), std::vector<uint8_t>(1000, 7));
}

TEST(FormatRegistry, ACorruptFileLeavesTheCallersPictureAlone) {
  TTempDir dir;
  test_support::WriteFileBytes(dir / "bad.png",
                               {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0});
  test_support::WriteFileBytes(dir / "bad.gif", {'G', 'I', 'F', '8', '9', 'a'});
  test_support::WriteFileBytes(dir / "bad.jpg", {0xFF, 0xD8, 0xFF});
  for (const char* name : {"bad.png", "bad.gif", "bad.jpg"}) {
    TGeoTiffTags tags;
    std::unique_ptr<TRasterBitmap> picture =
        std::make_unique<TRasterBitmap>(test_support::Gradient24(3, 3));
    try {
      picture = LoadPicture((dir / name).string(), tags);
      ADD_FAILURE() << name;
    } catch (const EQuorvaneError& e) {
      EXPECT_GT(std::strlen(e.what()), 10u) << name;
    }
    EXPECT_EQ(picture->Width(), 3);
  }
}

}  // namespace
}  // namespace quorvane

namespace quorvane {
namespace {

// Every format of the table that writes gives a file that opens again as
// the picture saved (within JPEG's and GIF's losses).
TEST(FormatTable, EveryWrittenFormatReadsBack) {
  TTempDir dir;
  const TRasterBitmap original = test_support::Gradient24(12, 9);
  for (const TImageFormat& format : ImageFormats()) {
    if (!format.Writes()) continue;
    for (const TFormatName& name : format.Names) {
      if (!name.Extension) continue;
      const std::filesystem::path path = dir / (std::string("a.") + name.Extension);
      SCOPED_TRACE(path.filename().string());
      Save(original, path, true);
      TGeoTiffTags tags;
      const auto back = LoadPicture(path.string(), tags);
      EXPECT_EQ(back->Width(), 12);
      EXPECT_EQ(back->Height(), 9);
      const auto c = test_support::ColorAt(*back, 11, 8),
                 o = test_support::ColorAt(original, 11, 8);
      EXPECT_NEAR(c.Red, o.Red, 12);
      EXPECT_NEAR(c.Green, o.Green, 12);
      EXPECT_NEAR(c.Blue, o.Blue, 12);
    }
  }
}

}  // namespace
}  // namespace quorvane
