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
//   StretchColour  the same, 3+ bands      24-bit, each band stretched alone
//   Rgba           YCbCr (not JPEG), Lab,  24-bit through libtiff's RGBA reader
//                  LogLuv, old JPEG
#include <cstdint>
#include <vector>

#include "raster/bitmap.h"
#include "anytiff/any_tiff_layout.h"
#include "anytiff/any_tiff_samples.h"

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
  int Bands = 1;  // samples of each pixel the conversion reads, from the first
  TSampleType Sample;
  bool WhiteIsZero = false;
  bool JpegAsRgb = false;         // have libjpeg turn YCbCr into RGB
  std::vector<TRGBQuad> Palette;  // Bilevel and Indexed: the colour table
};

// Throws EQuorvaneError ("Unsupported ...") for what cannot be shown.
TAnyTiffPlan PlanAnyTiff(const TAnyTiffLayout& layout);

bool IsStretched(TAnyTiffConversion conversion);

}  // namespace quorvane
