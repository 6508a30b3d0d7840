#include "anytiff/any_tiff_plan.h"

#include <algorithm>
#include <limits>
#include <string>

#include "raster/error.h"

namespace quorvane {

namespace {

constexpr int kLargestIndexBits = 8;
// Imaging spectrometers deliver a few hundred bands; no photometric
// interpretation, with any extra samples, makes use of thousands. Such a
// count only describes rows thousands of times longer than what is shown.
constexpr int kMostSamplesPerPixel = 1024;
constexpr int kLargestScaledBits = 16;

TSampleType SampleTypeOf(const TAnyTiffLayout& l) {
  TSampleType type;
  type.Bits = l.BitsPerSample;
  switch (l.SampleFormat) {
    case SAMPLEFORMAT_UINT:
    case SAMPLEFORMAT_VOID:
      type.Kind = TSampleKind::Unsigned;
      break;
    case SAMPLEFORMAT_INT:
      type.Kind = TSampleKind::Signed;
      break;
    case SAMPLEFORMAT_IEEEFP:
      type.Kind = TSampleKind::Float;
      break;
    default:
      throw EQuorvaneError("Unsupported Sample Format = " + std::to_string(l.SampleFormat),
                           TErrorKind::Unsupported);
  }
  if (!IsReadableSampleType(type))
    throw EQuorvaneError("Unsupported Bits/Sample: " + std::to_string(l.BitsPerSample),
                         TErrorKind::Unsupported);
  return type;
}

// Colour models libtiff converts for us and nothing else does.
bool NeedsRgbaReader(const TAnyTiffLayout& l) {
  if (l.Compression == COMPRESSION_OJPEG) return true;
  switch (l.Photometric) {
    case PHOTOMETRIC_YCBCR:
      return l.Compression != COMPRESSION_JPEG;
    case PHOTOMETRIC_CIELAB:
    case PHOTOMETRIC_ICCLAB:
    case PHOTOMETRIC_ITULAB:
    case PHOTOMETRIC_LOGL:
    case PHOTOMETRIC_LOGLUV:
      return true;
    default:
      return false;
  }
}

bool FitsFullRangeScale(TSampleType t) {
  return t.Kind == TSampleKind::Unsigned && t.Bits <= kLargestScaledBits;
}

std::vector<TRGBQuad> BilevelPalette(bool white_is_zero) {
  const TRGBQuad black{0, 0, 0, 0}, white{255, 255, 255, 0};
  return white_is_zero ? std::vector<TRGBQuad>{white, black} : std::vector<TRGBQuad>{black, white};
}

void PlanPalette(const TAnyTiffLayout& l, TAnyTiffPlan& plan) {
  if (plan.Sample.Kind != TSampleKind::Unsigned || plan.Sample.Bits > kLargestIndexBits)
    throw EQuorvaneError("Unsupported Palette Bits/Sample: " + std::to_string(l.BitsPerSample),
                         TErrorKind::Unsupported);
  plan.Conversion = TAnyTiffConversion::Indexed;
  plan.Format = plan.Sample.Bits == 1   ? TPixelFormat::Bit1
                : plan.Sample.Bits <= 4 ? TPixelFormat::Bit4
                                        : TPixelFormat::Bit8;
  plan.Palette = l.ColorMap;
  // Without a map the indices are shown as greys over their full range.
  if (plan.Palette.empty()) {
    for (uint8_t grey : FullRangeTable(plan.Sample.Bits, false))
      plan.Palette.push_back({grey, grey, grey, 0});
  }
}

// Samples of more than a byte, or of a kind that is no light level, are
// measurements: with a display choice they are stretched.
bool IsMeasurement(TSampleType t) {
  return t.Kind != TSampleKind::Unsigned || t.Bits > 8;
}

bool ShowsAsIs(const TAnyTiffPlan& plan, const TAnyTiffDisplay* display) {
  return display ? !IsMeasurement(plan.Sample) : FitsFullRangeScale(plan.Sample);
}

std::vector<int> FirstBands(int count) {
  std::vector<int> bands;
  for (int b = 0; b < count; ++b) bands.push_back(b);
  return bands;
}

// The bands the display choice names, checked against the file.
std::vector<int> ChosenBands(const TAnyTiffLayout& l, const TAnyTiffDisplay* display,
                             int colour_bands) {
  // Measurements often come as several grey bands, the extra ones declared
  // as extra samples of no stated kind: shown, three of them are a colour
  // picture.
  const bool grey =
      l.Photometric == PHOTOMETRIC_MINISBLACK || l.Photometric == PHOTOMETRIC_MINISWHITE;
  const bool grey_bands = display && grey && l.SamplesPerPixel >= 3;
  const std::vector<int> own = FirstBands(colour_bands >= 3 || grey_bands ? 3 : 1);
  if (!display || display->Bands.empty()) return own;
  for (int band : display->Bands)
    if (band < 0 || band >= l.SamplesPerPixel) {
      if (!display->BandsRequired) return own;
      throw EQuorvaneError("No Band " + std::to_string(band + 1) + " (the file has " +
                           std::to_string(l.SamplesPerPixel) + " bands)");
    }
  return display->Bands;
}

void PlanSingleBand(const TAnyTiffLayout& l, const TAnyTiffDisplay* display, TAnyTiffPlan& plan) {
  plan.Bands = 1;
  plan.Format = TPixelFormat::Bit8;
  plan.WhiteIsZero = l.Photometric == PHOTOMETRIC_MINISWHITE;
  const bool one_sample_per_chunk_pixel =
      l.SamplesPerPixel == 1 || l.PlanarConfig == PLANARCONFIG_SEPARATE;
  // The bilevel copy takes the chunk's bits as they are: the first sample only.
  if (plan.Sample == TSampleType{TSampleKind::Unsigned, 1} && one_sample_per_chunk_pixel &&
      plan.BandList[0] == 0) {
    plan.Conversion = TAnyTiffConversion::Bilevel;
    plan.Format = TPixelFormat::Bit1;
    plan.Palette = BilevelPalette(plan.WhiteIsZero);
  } else if (ShowsAsIs(plan, display)) {
    plan.Conversion = TAnyTiffConversion::Grey;
  } else {
    plan.Conversion = TAnyTiffConversion::StretchGrey;
  }
}

}  // namespace

int SamplesRead(const TAnyTiffPlan& plan) {
  int most = plan.Bands;
  for (int band : plan.BandList) most = std::max(most, band + 1);
  return most;
}

bool IsStretched(TAnyTiffConversion conversion) {
  return conversion == TAnyTiffConversion::StretchGrey ||
         conversion == TAnyTiffConversion::StretchColour;
}

TAnyTiffPlan PlanAnyTiff(const TAnyTiffLayout& l, const TAnyTiffDisplay* display) {
  if (l.Width == 0 || l.Height == 0)
    throw EQuorvaneError("Width or Height is Zero", TErrorKind::Corrupt);
  constexpr uint32_t kLargestSide = uint32_t(std::numeric_limits<int32_t>::max());
  if (l.Width > kLargestSide || l.Height > kLargestSide)
    throw EQuorvaneError(
        "Image Too Large: " + std::to_string(l.Width) + " x " + std::to_string(l.Height),
        TErrorKind::TooLarge);
  if (l.PlanarConfig != PLANARCONFIG_CONTIG && l.PlanarConfig != PLANARCONFIG_SEPARATE)
    throw EQuorvaneError("Unsupported Planar Configuration = " + std::to_string(l.PlanarConfig),
                         TErrorKind::Unsupported);
  if (l.SamplesPerPixel == 0 || l.SamplesPerPixel > kMostSamplesPerPixel)
    throw EQuorvaneError("Unsupported Samples/Pixel: " + std::to_string(l.SamplesPerPixel),
                         TErrorKind::Unsupported);

  TAnyTiffPlan plan;
  if (NeedsRgbaReader(l)) {
    plan.Conversion = TAnyTiffConversion::Rgba;
    plan.Format = TPixelFormat::Bit24;
    plan.Bands = 3;
    return plan;
  }
  plan.Sample = SampleTypeOf(l);
  plan.JpegAsRgb = l.Photometric == PHOTOMETRIC_YCBCR && l.Compression == COMPRESSION_JPEG;
  // Extra samples (alpha and the like) are not colour; with none declared,
  // every sample is a band and the first three are shown as red, green, blue.
  const int colour_bands =
      l.ExtraSamples < l.SamplesPerPixel ? l.SamplesPerPixel - l.ExtraSamples : l.SamplesPerPixel;
  // A colour map is used whenever one band of small indices comes with one,
  // as GDAL does, whatever the photometric interpretation.
  const bool mapped =
      !l.ColorMap.empty() && colour_bands == 1 && plan.Sample.Kind == TSampleKind::Unsigned;
  if (l.Photometric == PHOTOMETRIC_PALETTE || mapped) {
    PlanPalette(l, plan);
    return plan;
  }
  if (l.Photometric == PHOTOMETRIC_SEPARATED && l.InkSet == INKSET_CMYK && colour_bands >= 4) {
    if (!FitsFullRangeScale(plan.Sample))
      throw EQuorvaneError("Unsupported CMYK Bits/Sample: " + std::to_string(l.BitsPerSample),
                           TErrorKind::Unsupported);
    plan.Conversion = TAnyTiffConversion::Cmyk;
    plan.Format = TPixelFormat::Bit24;
    plan.Bands = 4;
    plan.BandList = FirstBands(4);
    return plan;
  }
  if (display) plan.Stretch = display->Stretch;
  plan.BandList = ChosenBands(l, display, colour_bands);
  if (plan.BandList.size() == 3) {
    plan.Conversion =
        ShowsAsIs(plan, display) ? TAnyTiffConversion::Colour : TAnyTiffConversion::StretchColour;
    plan.Format = TPixelFormat::Bit24;
    plan.Bands = 3;
    return plan;
  }
  PlanSingleBand(l, display, plan);
  return plan;
}

}  // namespace quorvane
