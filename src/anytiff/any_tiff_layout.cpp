#include "anytiff/any_tiff_layout.h"

#include <algorithm>

namespace quorvane {

namespace {

constexpr int kLargestMappedBits = 8;

// Entries are 16 bits wide and scaled to 8 as GDAL does, by 257 with the
// remainder dropped. A map whose entries all fit 8 bits was written by a
// program that stored 8-bit values; libtiff reads such maps as they stand,
// and so does this.
std::vector<TRGBQuad> ReadColorMap(TIFF* tiff, uint16_t bits) {
  if (bits > kLargestMappedBits) return {};
  uint16_t *red = nullptr, *green = nullptr, *blue = nullptr;
  if (!TIFFGetField(tiff, TIFFTAG_COLORMAP, &red, &green, &blue) || !red || !green || !blue)
    return {};
  const size_t n = size_t(1) << bits;
  bool eight_bit = true;
  for (size_t i = 0; i < n; ++i)
    if (red[i] > 255 || green[i] > 255 || blue[i] > 255) eight_bit = false;
  const unsigned divisor = eight_bit ? 1 : 257;
  std::vector<TRGBQuad> map(n);
  for (size_t i = 0; i < n; ++i)
    map[i] = {uint8_t(blue[i] / divisor), uint8_t(green[i] / divisor), uint8_t(red[i] / divisor),
              0};
  return map;
}

}  // namespace

TAnyTiffLayout ReadAnyTiffLayout(TIFF* tiff) {
  TAnyTiffLayout l;
  TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &l.Width);
  TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &l.Height);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &l.BitsPerSample);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &l.SamplesPerPixel);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLEFORMAT, &l.SampleFormat);
  if (!TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &l.Photometric))
    l.Photometric = PHOTOMETRIC_MINISBLACK;
  TIFFGetFieldDefaulted(tiff, TIFFTAG_PLANARCONFIG, &l.PlanarConfig);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_COMPRESSION, &l.Compression);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_INKSET, &l.InkSet);
  uint16_t extra_count = 0;
  uint16_t* extra_types = nullptr;
  if (TIFFGetField(tiff, TIFFTAG_EXTRASAMPLES, &extra_count, &extra_types))
    l.ExtraSamples = extra_count;
  TIFFGetFieldDefaulted(tiff, TIFFTAG_SUBFILETYPE, &l.SubfileType);
  l.Tiled = TIFFIsTiled(tiff) != 0;
  if (l.Tiled) {
    TIFFGetField(tiff, TIFFTAG_TILEWIDTH, &l.ChunkWidth);
    TIFFGetField(tiff, TIFFTAG_TILELENGTH, &l.ChunkHeight);
  } else {
    uint32_t rows_per_strip = l.Height;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_ROWSPERSTRIP, &rows_per_strip);
    l.ChunkWidth = l.Width;
    l.ChunkHeight = std::clamp<uint32_t>(rows_per_strip, 1, std::max<uint32_t>(l.Height, 1));
  }
  l.ColorMap = ReadColorMap(tiff, l.BitsPerSample);
  return l;
}

}  // namespace quorvane
