// The real-world sample corpus: well-formed files load and match the origin
// projects' renderings; unsupported ones are refused with a message; damaged
// ones never crash.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "formats/iff.h"
#include "formats/pcx.h"
#include "formats/picture_compare.h"
#include "formats/tga.h"
#include "raster/error.h"
#include "raster/file_io.h"

namespace quorvane {
namespace {

namespace fs = std::filesystem;
using test_support::CorpusPath;
using test_support::MaxDifference;
using test_support::ReadPngReference;
using test_support::TRgbImage;

void LoadAny(const std::string& path, TRasterBitmap& bitmap) {
  const std::string ext = fs::path(path).extension().string();
  if (ext == ".pcx") {
    DecodePcx(ReadWholeFile(path), bitmap);
  } else if (ext == ".tga") {
    DecodeTga(ReadWholeFile(path), bitmap);
  } else {
    DecodeLbm(ReadWholeFile(path), bitmap);
  }
}

struct TReferenceCase {
  const char* File;
  const char* Reference;
  int Tolerance;  // largest channel difference allowed, with the reason below
};

// Tolerances: 5-bit colour components are widened by the reader as c x 8,
// by the reference as c x 255 / 31, which differ by at most 7.
const TReferenceCase kReferenceCases[] = {
    {"pcx/bw.pcx", "pcx/ref/bw.png", 0},
    {"pcx/mono.pcx", "pcx/ref/mono.png", 0},
    {"pcx/CGA_FSD.pcx", "pcx/ref/CGA_FSD.png", 0},
    {"pcx/ICONDOC.pcx", "pcx/ref/ICONDOC.png", 0},
    {"pcx/16color.pcx", "pcx/ref/16color.png", 0},
    {"pcx/indexed8.pcx", "pcx/ref/indexed8.png", 0},
    {"pcx/ccbug_463951.pcx", "pcx/ref/ccbug_463951.png", 0},
    {"pcx/rgb.pcx", "pcx/ref/rgb.png", 0},
    {"tga/200x32_p_bl_raw.tga", "tga/ref/200x32_p.png", 0},
    {"tga/200x32_p_tl_raw.tga", "tga/ref/200x32_p.png", 0},
    {"tga/200x32_p_bl_rle.tga", "tga/ref/200x32_p.png", 0},
    {"tga/200x32_p_tl_rle.tga", "tga/ref/200x32_p.png", 0},
    {"tga/200x32_p_bl_raw_origin.tga", "tga/ref/200x32_p.png", 0},
    {"tga/200x32_rgb_bl_raw.tga", "tga/ref/200x32_rgb.png", 0},
    {"tga/200x32_rgb_tl_raw.tga", "tga/ref/200x32_rgb.png", 0},
    {"tga/200x32_rgb_bl_rle.tga", "tga/ref/200x32_rgb.png", 0},
    {"tga/200x32_rgb_tl_rle.tga", "tga/ref/200x32_rgb.png", 0},
    {"tga/200x32_rgba_bl_raw.tga", "tga/ref/200x32_rgba.png", 0},
    {"tga/200x32_rgba_tl_raw.tga", "tga/ref/200x32_rgba.png", 0},
    {"tga/200x32_rgba_bl_rle.tga", "tga/ref/200x32_rgba.png", 0},
    {"tga/200x32_rgba_tl_rle.tga", "tga/ref/200x32_rgba.png", 0},
    {"tga/200x32_l_bl_raw.tga", "tga/ref/200x32_l.png", 0},
    {"tga/200x32_l_tl_raw.tga", "tga/ref/200x32_l.png", 0},
    {"tga/200x32_l_bl_rle.tga", "tga/ref/200x32_l.png", 0},
    {"tga/200x32_l_tl_rle.tga", "tga/ref/200x32_l.png", 0},
    {"tga/1x1_l_bl_raw.tga", "tga/ref/1x1_l.png", 0},
    {"tga/1x1_l_bl_rle.tga", "tga/ref/1x1_l.png", 0},
    {"tga/p_16.tga", "tga/ref/p_16.png", 7},
    {"tga/rgb16.tga", "tga/ref/rgb16.png", 7},
    {"tga/colormapped.tga", "tga/ref/colormapped.png", 0},
    {"tga/bw.tga", "tga/ref/bw.png", 0},
    {"tga/rgb.tga", "tga/ref/rgb.png", 0},
    {"tga/rgba.tga", "tga/ref/rgba.png", 0},
    {"tga/extarea.tga", "tga/ref/extarea.png", 0},
    {"tga/rgb-gimp-2.8.10-rle-bottom-left.tga", "tga/ref/rgb-gimp-2.8.10-rle-bottom-left.png", 0},
    {"tga/cross_scan_line.tga", "tga/ref/cross_scan_line.png", 0},
    {"iff/testcard_indexed1_amiga.iff", "iff/ref/testcard_indexed1_amiga.png", 0},
    {"iff/testcard_indexed2_amiga.iff", "iff/ref/testcard_indexed2_amiga.png", 0},
    {"iff/testcard_indexed4_amiga.iff", "iff/ref/testcard_indexed4_amiga.png", 0},
    {"iff/ps_testcard_bitmap_amiga.iff", "iff/ref/ps_testcard_bitmap_amiga.png", 0},
    {"iff/ps_testcard_indexed_amiga.iff", "iff/ref/ps_testcard_indexed_amiga.png", 0},
    {"iff/ps_testcard_gray_amiga.iff", "iff/ref/ps_testcard_gray_amiga.png", 0},
    {"iff/testcard_pbm.iff", "iff/ref/testcard_pbm.png", 0},
    {"iff/testcard_rlepbm.iff", "iff/ref/testcard_rlepbm.png", 0},
    {"iff/flag_ham6.iff", "iff/ref/flag_ham6.png", 0},
    {"iff/ham8.iff", "iff/ref/ham8.png", 0},
};

bool CorpusPresent() {
  return fs::is_directory(CorpusPath("pcx"));
}

TEST(CodecCorpus, PlainPicturesMatchTheirReferenceRenderings) {
  if (!CorpusPresent()) QUORVANE_CORPUS_ABSENT(CorpusPath("pcx"));
  for (const TReferenceCase& c : kReferenceCases) {
    SCOPED_TRACE(c.File);
    TRasterBitmap bitmap;
    ASSERT_NO_THROW(LoadAny(CorpusPath(c.File), bitmap));
    TRgbImage reference;
    ASSERT_TRUE(ReadPngReference(CorpusPath(c.Reference), reference));
    EXPECT_LE(MaxDifference(test_support::ToRgb(bitmap), reference), c.Tolerance);
  }
}

TEST(CodecCorpus, EveryTopLevelFileLoads) {
  if (!CorpusPresent()) QUORVANE_CORPUS_ABSENT(CorpusPath("pcx"));
  // Includes the PCHG and CMYK pictures, whose palette changes and colour
  // chunk are not read: they load with their colour maps (CMYK: none, so
  // black) without a crash.
  for (const char* folder : {"pcx", "tga", "iff"}) {
    for (const auto& entry : fs::directory_iterator(CorpusPath(folder))) {
      if (!entry.is_regular_file()) continue;
      SCOPED_TRACE(entry.path().string());
      TRasterBitmap bitmap;
      EXPECT_NO_THROW(LoadAny(entry.path().string(), bitmap));
      EXPECT_FALSE(bitmap.Empty());
    }
  }
}

TEST(CodecCorpus, FourPlanePcxHoldsIndexThree) {
  if (!CorpusPresent()) QUORVANE_CORPUS_ABSENT(CorpusPath("pcx"));
  TRasterBitmap b;
  const std::vector<uint8_t> file = ReadWholeFile(CorpusPath("pcx/p_4_planes.pcx"));
  DecodePcx(file, b);
  ASSERT_EQ(b.Width(), 1);
  const uint8_t* colour3 = &file[16 + 3 * 3];
  EXPECT_EQ(b.Scanline(0)[0], colour3[2]);
  EXPECT_EQ(b.Scanline(0)[1], colour3[1]);
  EXPECT_EQ(b.Scanline(0)[2], colour3[0]);
}

TEST(CodecCorpus, UnsupportedFilesAreRefusedWithAClearMessage) {
  if (!CorpusPresent()) QUORVANE_CORPUS_ABSENT(CorpusPath("pcx"));
  const std::pair<const char*, const char*> cases[] = {
      {"pcx/unsupported/indexed4.pcx", "Unsupported PCX format: 1 plane(s) of 4 bit(s)"},
      {"pcx/unsupported/dice_rgba.pcx", "Unsupported PCX format: 4 plane(s) of 8 bit(s)"},
      {"tga/unsupported/200x32_la_bl_raw.tga", "Unsupported TGA Pixel Size: 16"},
      {"tga/unsupported/200x32_la_tl_rle.tga", "Unsupported TGA Pixel Size: 16"},
      {"tga/unsupported/bwa.tga", "Unsupported TGA Pixel Size: 16"},
      {"iff/unsupported/ps_testcard_rgb_amiga.iff",
       "Unsupported ILBM: 24 bit planes (at most 8 are supported)"},
      {"iff/unsupported/meta_rgba.iff",
       "Unsupported ILBM: 32 bit planes (at most 8 are supported)"},
      {"iff/unsupported/testcard_acbm.iff", "Unknown Form Type."},
      {"iff/unsupported/ps_testcard_rgb_maya.iff", "file did not start with \"FORM\"."},
      {"iff/unsupported/cat_ilbm.iff", "file did not start with \"FORM\"."},
  };
  for (const auto& [file, message] : cases) {
    SCOPED_TRACE(file);
    TRasterBitmap bitmap;
    try {
      LoadAny(CorpusPath(file), bitmap);
      ADD_FAILURE() << "loaded";
    } catch (const EQuorvaneError& e) {
      EXPECT_EQ(e.what(), std::string(message));
    }
  }
}

TEST(CodecCorpus, MalformedFilesNeverCrash) {
  if (!CorpusPresent()) QUORVANE_CORPUS_ABSENT(CorpusPath("pcx"));
  for (const char* folder : {"pcx/malformed", "tga/malformed", "iff/malformed"}) {
    for (const auto& entry : fs::directory_iterator(CorpusPath(folder))) {
      SCOPED_TRACE(entry.path().string());
      TRasterBitmap bitmap;
      try {
        LoadAny(entry.path().string(), bitmap);
      } catch (const EQuorvaneError& e) {
        EXPECT_NE(std::string(e.what()), "");
      }
    }
  }
}

}  // namespace
}  // namespace quorvane
