#pragma once
// How the pixels of one TIFF directory become a raster bitmap: which samples
// are read, what they mean, and the bitmap format they end up in.
//
//   Bilevel        1-bit samples           1-bit, black and white
//   Indexed        palette (or any one     1-, 4- or 8-bit with the colour map
//                  band with a colour map),
//                  1 to 8 bits
//   Grey           unsigned, 1 to 16 bits  8-bit grey, scaled over the full range
//   Colour         unsigned, 1 to 16 bits  24-bit from the first three samples
//   Cmyk           unsigned, 1 to 16 bits  24-bit from ink amounts, as libtiff's
//                                          RGBA reader converts them
//   StretchGrey    signed, float, or       8-bit grey, stretched from the band's
//                  unsigned over 16 bits   minimum to maximum over valid pixels
//                  (with a display choice: any sample over 8 bits, stretched
//                  as the choice says)
//   StretchColour  the same, 3+ bands      24-bit, each band stretched alone
//   Rgba           YCbCr (not JPEG), Lab,  24-bit through libtiff's RGBA reader
//                  LogLuv, old JPEG
#include <cstdint>
#include <vector>

#include "anytiff/any_tiff_display.h"
#include "anytiff/any_tiff_layout.h"
#include "anytiff/any_tiff_samples.h"
#include "raster/bitmap.h"

namespace quorvane {

enum class TAnyTiffConversion : uint8_t {
  Bilevel,
  Indexed,
  Grey,
  Colour,
  Cmyk,
  StretchGrey,
  StretchColour,
  Rgba,
};

struct TAnyTiffPlan {
  TAnyTiffConversion Conversion = TAnyTiffConversion::Grey;
  TPixelFormat Format = TPixelFormat::Bit8;
  int Bands = 1;  // samples of each pixel the conversion reads
  // The sample index of each band read, in order (red, green, blue; or the
  // grey): the first Bands samples unless a display choice names others.
  std::vector<int> BandList;
  TDisplayStretch Stretch = TDisplayStretch::MinMax;  // of the stretched conversions
  TSampleType Sample;
  bool WhiteIsZero = false;
  bool JpegAsRgb = false;         // have libjpeg turn YCbCr into RGB
  std::vector<TRGBQuad> Palette;  // Bilevel and Indexed: the colour table
};

// Throws EQuorvaneError ("Unsupported ...") for what cannot be shown. With a
// display choice, samples over 8 bits, signed or floating point are stretched
// as it says and grey or colour pictures show the bands it names; without,
// unsigned samples up to 16 bits are scaled over their full range and the
// others stretched from minimum to maximum.
TAnyTiffPlan PlanAnyTiff(const TAnyTiffLayout& layout, const TAnyTiffDisplay* display = nullptr);

// How many samples (or planes) of each pixel must be read for the bands shown.
int SamplesRead(const TAnyTiffPlan& plan);

bool IsStretched(TAnyTiffConversion conversion);

}  // namespace quorvane
