#pragma once
// What one TIFF directory says about its pixels, as libtiff read it: size,
// sample layout, colour model and how the data is cut into chunks (strips or
// tiles).
#include <tiffio.h>

#include <cstdint>
#include <vector>

#include "raster/bitmap.h"

namespace quorvane {

struct TAnyTiffLayout {
  uint32_t Width = 0;
  uint32_t Height = 0;
  uint16_t BitsPerSample = 1;
  uint16_t SamplesPerPixel = 1;
  uint16_t SampleFormat = SAMPLEFORMAT_UINT;
  uint16_t Photometric = PHOTOMETRIC_MINISBLACK;
  uint16_t PlanarConfig = PLANARCONFIG_CONTIG;
  uint16_t Compression = COMPRESSION_NONE;
  uint16_t InkSet = INKSET_CMYK;
  uint16_t ExtraSamples = 0;  // how many of the samples are not colour
  uint32_t SubfileType = 0;
  bool Tiled = false;
  // A tile, or a strip: the image width by RowsPerStrip rows (at most the
  // image height).
  uint32_t ChunkWidth = 0;
  uint32_t ChunkHeight = 0;
  // The colour map's first 2^BitsPerSample entries (at most 256), when there
  // is one, whatever the photometric interpretation says.
  std::vector<TRGBQuad> ColorMap;
};

TAnyTiffLayout ReadAnyTiffLayout(TIFF* tiff);

}  // namespace quorvane
