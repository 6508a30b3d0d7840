#pragma once
// TIFF tag numbers, field types and the code values the reader and the
// writer share. The GeoTIFF tag numbers live with the tag record in
// raster/geotiff_tags.h.
#include <cstddef>
#include <cstdint>

namespace quorvane {

enum TTiffFieldType : uint16_t {
  kTiffByte = 1,
  kTiffAscii = 2,
  kTiffShort = 3,
  kTiffLong = 4,
  kTiffRational = 5,
  kTiffSByte = 6,
  kTiffUndefined = 7,
  kTiffSShort = 8,
  kTiffSLong = 9,
  kTiffSRational = 10,
  kTiffFloat = 11,
  kTiffDouble = 12,
  kTiffIfd = 13,
  kTiffLong8 = 16,  // BigTIFF only
};

// Bytes of one value of a field type; 0 for types this reader does not know.
size_t TiffTypeSize(uint16_t type);

enum : uint16_t {
  kTagNewSubfileType = 254,
  kTagImageWidth = 256,
  kTagImageLength = 257,
  kTagBitsPerSample = 258,
  kTagCompression = 259,
  kTagPhotometric = 262,
  kTagStripOffsets = 273,
  kTagSamplesPerPixel = 277,
  kTagRowsPerStrip = 278,
  kTagStripByteCounts = 279,
  kTagXResolution = 282,
  kTagYResolution = 283,
  kTagPlanarConfiguration = 284,
  kTagResolutionUnit = 296,
  kTagSoftware = 305,
  kTagPredictor = 317,
  kTagColorMap = 320,
  kTagTileWidth = 322,
  kTagTileOffsets = 324,
  kTagExtraSamples = 338,
};

enum : uint16_t {
  kCompressionNone = 1,
  kCompressionLzw = 5,
  kCompressionPackBits = 32773,
};

enum : uint16_t {
  kPhotometricWhiteIsZero = 0,
  kPhotometricBlackIsZero = 1,
  kPhotometricRgb = 2,
  kPhotometricPalette = 3,
  kPhotometricSeparated = 5,
};

enum : uint16_t { kResolutionUnitInch = 2 };

}  // namespace quorvane
