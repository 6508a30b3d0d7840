#pragma once
// The five GeoTIFF tags exactly as last read from a TIFF file or as about to
// be written. Plain data: the TIFF codec fills and writes it, the
// georeference code reads and builds it, and whoever loads or saves owns one
// and passes it along.
#include <array>
#include <cstdint>
#include <string>

namespace quorvane {

// The most entries each list holds: enough for a fully user-defined
// coordinate system's keys and parameters and for a few hundred ground
// control points; longer lists in a file are cut.
constexpr int kGeoTiffListCapacity = 256;

struct TGeoKeyEntry {
  uint16_t KeyID = 0;
  uint16_t TIFFTagLocation = 0;
  uint16_t Count = 0;
  uint16_t Value_Offset = 0;
  bool operator==(const TGeoKeyEntry&) const = default;
};

struct TTiePoint {
  double I = 0, J = 0, K = 0, X = 0, Y = 0, Z = 0;
  bool operator==(const TTiePoint&) const = default;
};

struct TGeoTiffTags {
  uint16_t KeyDirectoryVersion = 0;
  uint16_t KeyRevision = 0;
  uint16_t MinorRevision = 0;
  uint16_t NumberOfKeys = 0;
  int32_t KeyEntryCount = 0;
  std::array<TGeoKeyEntry, kGeoTiffListCapacity> Keys{};
  std::string AsciiParams;  // every byte of the payload, NULs and pipes included
  int32_t DoubleCount = 0;
  std::array<double, kGeoTiffListCapacity> DoubleParams{};
  std::array<double, 3> PixelScale{};
  int32_t TiePointCount = 0;
  std::array<TTiePoint, kGeoTiffListCapacity> TiePoints{};
  // ModelTransformationTag: a 4 x 4 raster-to-model matrix, row by row;
  // held when TransformationCount is 16, else absent.
  int32_t TransformationCount = 0;
  std::array<double, 16> ModelTransformation{};
};

enum : uint16_t {
  kTagModelPixelScale = 33550,
  kTagModelTiepoint = 33922,
  kTagModelTransformation = 34264,
  kTagGeoKeyDirectory = 34735,
  kTagGeoDoubleParams = 34736,
  kTagGeoAsciiParams = 34737,
};

inline void ClearGeoTiffTags(TGeoTiffTags& tags) {
  tags = TGeoTiffTags{};
}

}  // namespace quorvane
