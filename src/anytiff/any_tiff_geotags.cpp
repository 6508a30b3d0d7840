#include "anytiff/any_tiff_geotags.h"

#include <algorithm>
#include <cmath>

#include "anytiff/any_tiff_fields.h"

namespace quorvane {

namespace {

constexpr size_t kKeyDirectoryHeaderWords = 4;
constexpr size_t kWordsPerKey = 4;
constexpr size_t kValuesPerTiePoint = 6;

// A GeoKey word stored in a wider or signed type keeps its low 16 bits, as
// reading the file's first two bytes would not, but without undefined
// conversions for values that fit no word.
uint16_t ToWord(double value) {
  if (!std::isfinite(value) || std::fabs(value) > 9.0e15) return 0;
  return uint16_t(uint64_t(int64_t(value)));
}

void ReadPixelScale(TIFF* tiff, TGeoTiffTags& tags) {
  const std::vector<double> values = NumericTagValues(tiff, kTagModelPixelScale, 3);
  if (values.empty()) return;
  for (size_t i = 0; i < tags.PixelScale.size(); ++i)
    tags.PixelScale[i] = i < values.size() ? values[i] : 0.0;
}

void ReadTiePoints(TIFF* tiff, TGeoTiffTags& tags) {
  const std::vector<double> values =
      NumericTagValues(tiff, kTagModelTiepoint, kValuesPerTiePoint * kGeoTiffListCapacity);
  if (values.empty()) return;
  tags.TiePointCount = 0;
  for (size_t at = 0; at + kValuesPerTiePoint <= values.size(); at += kValuesPerTiePoint) {
    TTiePoint& p = tags.TiePoints[size_t(tags.TiePointCount++)];
    p = {values[at],     values[at + 1], values[at + 2],
         values[at + 3], values[at + 4], values[at + 5]};
  }
}

void ReadTransformation(TIFF* tiff, TGeoTiffTags& tags) {
  const std::vector<double> values = NumericTagValues(tiff, kTagModelTransformation, 17);
  // Only a whole matrix means anything.
  if (values.size() != tags.ModelTransformation.size()) return;
  std::copy(values.begin(), values.end(), tags.ModelTransformation.begin());
  tags.TransformationCount = int32_t(values.size());
}

void ReadKeyDirectory(TIFF* tiff, TGeoTiffTags& tags) {
  const std::vector<double> values = NumericTagValues(
      tiff, kTagGeoKeyDirectory, kKeyDirectoryHeaderWords + kWordsPerKey * kGeoTiffListCapacity);
  if (values.empty()) return;
  auto word = [&](size_t i) { return i < values.size() ? ToWord(values[i]) : uint16_t(0); };
  tags.KeyEntryCount = 0;
  tags.KeyDirectoryVersion = word(0);
  tags.KeyRevision = word(1);
  tags.MinorRevision = word(2);
  tags.NumberOfKeys = word(3);
  // NumberOfKeys decides, but no key is made up beyond the tag's own values.
  const size_t stored = values.size() > kKeyDirectoryHeaderWords
                            ? (values.size() - kKeyDirectoryHeaderWords) / kWordsPerKey
                            : 0;
  const size_t keys = std::min<size_t>({tags.NumberOfKeys, kGeoTiffListCapacity, stored});
  for (size_t k = 0; k < keys; ++k) {
    const size_t at = kKeyDirectoryHeaderWords + k * kWordsPerKey;
    tags.Keys[k] = {word(at), word(at + 1), word(at + 2), word(at + 3)};
    ++tags.KeyEntryCount;
  }
}

void ReadDoubleParams(TIFF* tiff, TGeoTiffTags& tags) {
  const std::vector<double> values =
      NumericTagValues(tiff, kTagGeoDoubleParams, kGeoTiffListCapacity);
  if (values.empty()) return;
  tags.DoubleCount = int32_t(values.size());
  std::copy(values.begin(), values.end(), tags.DoubleParams.begin());
}

}  // namespace

void ReadAnyTiffGeoTags(TIFF* tiff, TGeoTiffTags& tags) {
  ReadPixelScale(tiff, tags);
  ReadTiePoints(tiff, tags);
  ReadTransformation(tiff, tags);
  ReadKeyDirectory(tiff, tags);
  ReadDoubleParams(tiff, tags);
  if (std::optional<std::string> ascii = TextTagValue(tiff, kTagGeoAsciiParams))
    tags.AsciiParams = std::move(*ascii);
}

std::optional<std::string> ReadGdalNoData(TIFF* tiff) {
  return TextTagValue(tiff, kTagGdalNoData);
}

void ScaleGeoTiffTags(TGeoTiffTags& tags, double factor_x, double factor_y) {
  tags.PixelScale[0] *= factor_x;
  tags.PixelScale[1] *= factor_y;
  const int points = std::clamp<int>(tags.TiePointCount, 0, kGeoTiffListCapacity);
  for (int i = 0; i < points; ++i) {
    tags.TiePoints[size_t(i)].I /= factor_x;
    tags.TiePoints[size_t(i)].J /= factor_y;
  }
  // The matrix's first two columns take raster x and y.
  if (tags.TransformationCount == 16) {
    for (size_t row = 0; row < 4; ++row) {
      tags.ModelTransformation[row * 4] *= factor_x;
      tags.ModelTransformation[row * 4 + 1] *= factor_y;
    }
  }
}

}  // namespace quorvane
