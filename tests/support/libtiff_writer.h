#pragma once
// Writes TIFF files with libtiff for the tests of the extended reader: any
// sample type, strips or tiles, chunky or separate planes, any compression
// libtiff writes, classic or BigTIFF, GeoTIFF and nodata tags, and
// reduced-resolution images after the first. Samples come from a function of
// the pixel's position in the full image, so a test can say what every pixel
// should become.
#include <gtest/gtest.h>
#include <tiffio.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "support/test_pictures.h"

namespace quorvane::test_support {

struct TTiffRecipe {
  uint32_t Width = 16, Height = 16;
  uint16_t Bits = 8, Samples = 1;
  uint16_t SampleFormat = SAMPLEFORMAT_UINT;
  uint16_t Photometric = PHOTOMETRIC_MINISBLACK;
  uint16_t Planar = PLANARCONFIG_CONTIG;
  uint16_t Compression = COMPRESSION_NONE;
  uint16_t Predictor = 0;
  uint32_t TileWidth = 0, TileHeight = 0;  // 0: strips
  uint32_t RowsPerStrip = 0;               // 0: the whole image in one strip
  bool BigTiff = false;
  bool BigEndian = false;
  // The directory and its chunk arrays before the image data, as
  // cloud-optimised files have them, so cutting the file cuts pixels only.
  bool DirectoryFirst = false;
  uint16_t ExtraSamples = 0;  // the last samples are extra, of this kind:
  uint16_t ExtraSampleKind = EXTRASAMPLE_UNASSALPHA;
  std::optional<std::string> NoData;
  std::vector<uint16_t> ColorMap;  // reds, greens, blues: 3 x 2^Bits entries
  // GeoTIFF tags, written when PixelScale is not empty.
  std::vector<double> PixelScale, TiePoints, DoubleParams;
  std::vector<uint16_t> KeyDirectory;
  std::string AsciiParams;
  // Reduced-resolution images written after the first, as (width, height).
  std::vector<std::pair<uint32_t, uint32_t>> Overviews;
};

// The value of sample `s` of the full-resolution pixel (x, y).
using TSampleFunction = std::function<double(uint32_t x, uint32_t y, int s)>;

namespace libtiff_writer_detail {

inline void PutSample(uint8_t* row, uint64_t index, const TTiffRecipe& recipe, double v) {
  const int bits = recipe.Bits;
  if (bits % 8 != 0) {
    // Packed most significant bit first.
    const uint64_t value = uint64_t(v);
    for (int b = 0; b < bits; ++b) {
      const uint64_t at = index * uint64_t(bits) + uint64_t(b);
      if ((value >> (bits - 1 - b)) & 1) row[at / 8] |= uint8_t(0x80 >> (at % 8));
    }
    return;
  }
  uint8_t* p = row + index * uint64_t(bits / 8);
  auto store = [&](auto typed) { std::memcpy(p, &typed, sizeof typed); };
  if (recipe.SampleFormat == SAMPLEFORMAT_IEEEFP) {
    if (bits == 32) store(float(v));
    if (bits == 64) store(v);
    return;
  }
  const bool is_signed = recipe.SampleFormat == SAMPLEFORMAT_INT;
  switch (bits) {
    case 8:
      is_signed ? store(int8_t(v)) : store(uint8_t(v));
      break;
    case 16:
      is_signed ? store(int16_t(v)) : store(uint16_t(v));
      break;
    case 32:
      is_signed ? store(int32_t(v)) : store(uint32_t(v));
      break;
    default:
      ADD_FAILURE() << "no writer for " << bits << "-bit samples";
  }
}

// One chunk (strip or tile) of one plane, level-sized.
inline std::vector<uint8_t> ChunkBytes(const TTiffRecipe& recipe, uint32_t width, uint32_t height,
                                       uint32_t x0, uint32_t y0, uint32_t cw, uint32_t ch,
                                       int plane, const TSampleFunction& sample) {
  const bool separate = recipe.Planar == PLANARCONFIG_SEPARATE;
  const int per_pixel = separate ? 1 : recipe.Samples;
  const size_t row_bytes = (size_t(cw) * per_pixel * recipe.Bits + 7) / 8;
  std::vector<uint8_t> bytes(row_bytes * ch);
  for (uint32_t r = 0; r < ch && y0 + r < height; ++r) {
    for (uint32_t i = 0; i < cw && x0 + i < width; ++i) {
      // Positions in the full image, for reduced images too.
      const uint32_t fx = uint32_t(uint64_t(x0 + i) * recipe.Width / width);
      const uint32_t fy = uint32_t(uint64_t(y0 + r) * recipe.Height / height);
      for (int s = 0; s < per_pixel; ++s) {
        const int sample_index = separate ? plane : s;
        PutSample(bytes.data() + r * row_bytes, uint64_t(i) * per_pixel + s, recipe,
                  sample(fx, fy, sample_index));
      }
    }
  }
  return bytes;
}

// GDAL's nodata text is a tag libtiff does not know either.
inline void SetNoData(TIFF* tif, const std::string& text) {
  static const TIFFFieldInfo kNoDataField[] = {
      {42113, -1, -1, TIFF_ASCII, FIELD_CUSTOM, 1, 0, const_cast<char*>("GDALNoData")}};
  ASSERT_EQ(TIFFMergeFieldInfo(tif, kNoDataField, 1), 0);
  TIFFSetField(tif, 42113, text.c_str());
}

inline void SetGeoTiffTags(TIFF* tif, const TTiffRecipe& recipe) {
  static const TIFFFieldInfo kGeoFields[] = {
      {33550, -1, -1, TIFF_DOUBLE, FIELD_CUSTOM, 1, 1, const_cast<char*>("ModelPixelScale")},
      {33922, -1, -1, TIFF_DOUBLE, FIELD_CUSTOM, 1, 1, const_cast<char*>("ModelTiepoint")},
      {34735, -1, -1, TIFF_SHORT, FIELD_CUSTOM, 1, 1, const_cast<char*>("GeoKeyDirectory")},
      {34736, -1, -1, TIFF_DOUBLE, FIELD_CUSTOM, 1, 1, const_cast<char*>("GeoDoubleParams")},
      {34737, -1, -1, TIFF_ASCII, FIELD_CUSTOM, 1, 0, const_cast<char*>("GeoAsciiParams")},
  };
  // Per handle: the writer's directory learns the tags, nothing process-wide.
  ASSERT_EQ(TIFFMergeFieldInfo(tif, kGeoFields, 5), 0);
  TIFFSetField(tif, 33550, uint16_t(recipe.PixelScale.size()), recipe.PixelScale.data());
  if (!recipe.TiePoints.empty())
    TIFFSetField(tif, 33922, uint16_t(recipe.TiePoints.size()), recipe.TiePoints.data());
  if (!recipe.KeyDirectory.empty())
    TIFFSetField(tif, 34735, uint16_t(recipe.KeyDirectory.size()), recipe.KeyDirectory.data());
  if (!recipe.DoubleParams.empty())
    TIFFSetField(tif, 34736, uint16_t(recipe.DoubleParams.size()), recipe.DoubleParams.data());
  if (!recipe.AsciiParams.empty()) TIFFSetField(tif, 34737, recipe.AsciiParams.c_str());
}

inline void SetFields(TIFF* tif, const TTiffRecipe& recipe, uint32_t width, uint32_t height,
                      bool reduced) {
  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, width);
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, height);
  TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, recipe.Bits);
  TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, recipe.Samples);
  TIFFSetField(tif, TIFFTAG_SAMPLEFORMAT, recipe.SampleFormat);
  TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, recipe.Photometric);
  TIFFSetField(tif, TIFFTAG_PLANARCONFIG, recipe.Planar);
  TIFFSetField(tif, TIFFTAG_COMPRESSION, recipe.Compression);
  if (reduced) TIFFSetField(tif, TIFFTAG_SUBFILETYPE, FILETYPE_REDUCEDIMAGE);
  if (recipe.Predictor) TIFFSetField(tif, TIFFTAG_PREDICTOR, recipe.Predictor);
  if (recipe.Compression == COMPRESSION_JPEG) {
    TIFFSetField(tif, TIFFTAG_JPEGQUALITY, 90);
    if (recipe.Photometric == PHOTOMETRIC_YCBCR)
      TIFFSetField(tif, TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB);
  }
  if (recipe.ExtraSamples) {
    std::vector<uint16_t> types(recipe.ExtraSamples, recipe.ExtraSampleKind);
    TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, recipe.ExtraSamples, types.data());
  }
  if (!recipe.ColorMap.empty()) {
    const size_t n = recipe.ColorMap.size() / 3;
    TIFFSetField(tif, TIFFTAG_COLORMAP, recipe.ColorMap.data(), recipe.ColorMap.data() + n,
                 recipe.ColorMap.data() + 2 * n);
  }
  if (recipe.TileWidth) {
    TIFFSetField(tif, TIFFTAG_TILEWIDTH, recipe.TileWidth);
    TIFFSetField(tif, TIFFTAG_TILELENGTH, recipe.TileHeight);
  } else {
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, recipe.RowsPerStrip ? recipe.RowsPerStrip : height);
  }
  if (!reduced && recipe.NoData) SetNoData(tif, *recipe.NoData);
  if (!reduced && !recipe.PixelScale.empty()) SetGeoTiffTags(tif, recipe);
}

inline void WriteImage(TIFF* tif, const TTiffRecipe& recipe, uint32_t width, uint32_t height,
                       const TSampleFunction& sample) {
  const int planes = recipe.Planar == PLANARCONFIG_SEPARATE ? recipe.Samples : 1;
  const bool tiled = recipe.TileWidth != 0;
  const uint32_t cw = tiled ? recipe.TileWidth : width;
  const uint32_t ch =
      tiled ? recipe.TileHeight : (recipe.RowsPerStrip ? recipe.RowsPerStrip : height);
  for (int p = 0; p < planes; ++p) {
    for (uint32_t y = 0; y < height; y += ch) {
      for (uint32_t x = 0; x < width; x += cw) {
        const uint32_t rows = tiled ? ch : std::min(ch, height - y);
        std::vector<uint8_t> chunk = ChunkBytes(recipe, width, height, x, y, cw, rows, p, sample);
        const tmsize_t written =
            tiled ? TIFFWriteEncodedTile(tif, TIFFComputeTile(tif, x, y, 0, uint16_t(p)),
                                         chunk.data(), tmsize_t(chunk.size()))
                  : TIFFWriteEncodedStrip(tif, TIFFComputeStrip(tif, y, uint16_t(p)), chunk.data(),
                                          tmsize_t(chunk.size()));
        ASSERT_GE(written, 0);
      }
    }
  }
}

}  // namespace libtiff_writer_detail

// Writes the file at `path` and returns its bytes.
inline std::vector<uint8_t> WriteTiffWithLibtiff(const std::filesystem::path& path,
                                                 const TTiffRecipe& recipe,
                                                 const TSampleFunction& sample) {
  namespace d = libtiff_writer_detail;
  std::string mode = "w";
  mode += recipe.BigEndian ? "b" : "l";
  if (recipe.BigTiff) mode += "8";
  TIFF* tif = TIFFOpen(path.string().c_str(), mode.c_str());
  EXPECT_NE(tif, nullptr) << path;
  if (!tif) return {};
  d::SetFields(tif, recipe, recipe.Width, recipe.Height, false);
  if (recipe.DirectoryFirst) {
    TIFFDeferStrileArrayWriting(tif);
    TIFFWriteCheck(tif, recipe.TileWidth != 0, "test");
    TIFFWriteDirectory(tif);
    TIFFSetDirectory(tif, 0);
  }
  d::WriteImage(tif, recipe, recipe.Width, recipe.Height, sample);
  if (recipe.DirectoryFirst) TIFFForceStrileArrayWriting(tif);
  for (const auto& [width, height] : recipe.Overviews) {
    TIFFWriteDirectory(tif);
    d::SetFields(tif, recipe, width, height, true);
    d::WriteImage(tif, recipe, width, height, sample);
  }
  TIFFClose(tif);
  return ReadFileBytes(path);
}

}  // namespace quorvane::test_support
