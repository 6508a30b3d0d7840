#pragma once
// The image description a TIFF directory walk fills in, and the small helpers
// the walk and the strip decoder share. One record per read, owned by the
// reader object.
#include <array>
#include <cstddef>
#include <cstdint>

#include "raster/bitmap.h"
#include "tiff/tiff_tags.h"

namespace quorvane {

// An array of SHORT or LONG values (StripOffsets, StripByteCounts): where its
// first element lies in the file and how wide each element is. Arrays that fit
// the 4-byte value field live in the directory entry itself.
struct TTiffValueArray {
  uint32_t Count = 0;
  uint64_t Position = 0;  // file position of element 0
  uint8_t ElementSize = 4;
};

// The image description record. The widths are wider than the file's SHORT
// fields need so that LONG values (images wider than 65535 pixels, rows
// longer than 65535 bytes, large strip counts) are never cut short.
struct TTiffInfo {
  uint32_t Width = 0;
  uint32_t Height = 0;
  uint64_t RowBytes = 0;
  uint32_t BitsPerPixel = 0;
  uint16_t Photometric = 1;
  uint16_t ExtraSamples = 0;
  uint32_t RowsPerStrip = 0;
  uint32_t StripCount = 0;
  uint16_t SamplesPerPixel = 1;
  uint16_t Predictor = 0;
  uint16_t PlanarConfig = 1;
  uint16_t Compression = 1;
  uint16_t BitsPerSample = 0;
  uint32_t StripByteCounts = 0;  // the raw value/offset field, as recorded
  uint32_t StripOffsets = 0;     // the raw value/offset field, as recorded
  TTiffValueArray StripOffsetArray;
  TTiffValueArray StripByteCountArray;
  bool Tiled = false;  // TileWidth or TileOffsets seen
  std::array<TRGBQuad, 256> Palette = GreyRamp();

  static std::array<TRGBQuad, 256> GreyRamp() {
    std::array<TRGBQuad, 256> ramp{};
    for (int i = 0; i < 256; ++i) ramp[i] = {uint8_t(i), uint8_t(i), uint8_t(i), 0};
    return ramp;
  }
};

}  // namespace quorvane
