#pragma once
// The five GeoTIFF tags exactly as last read from a TIFF file or as about to
// be written. Plain data: the TIFF codec fills and writes it, the
// georeference code reads and builds it, and whoever loads or saves owns one
// and passes it along.
#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
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

// The GeoKeys the program reads, reports or writes, by their numbers in the
// key directory.
enum : uint16_t {
  kGTModelTypeGeoKey = 1024,
  kGTRasterTypeGeoKey = 1025,
  kGTCitationGeoKey = 1026,
  kGeographicTypeGeoKey = 2048,
  kGeogCitationGeoKey = 2049,
  kGeogGeodeticDatumGeoKey = 2050,
  kGeogPrimeMeridianGeoKey = 2051,
  kGeogLinearUnitsGeoKey = 2052,
  kGeogAngularUnitsGeoKey = 2054,
  kGeogEllipsoidGeoKey = 2056,
  kGeogSemiMajorAxisGeoKey = 2057,
  kGeogSemiMinorAxisGeoKey = 2058,
  kGeogInvFlatteningGeoKey = 2059,
  kGeogPrimeMeridianLongGeoKey = 2061,
  kProjectedCSTypeGeoKey = 3072,
  kPCSCitationGeoKey = 3073,
  kProjectionGeoKey = 3074,
  kProjCoordTransGeoKey = 3075,
  kProjLinearUnitsGeoKey = 3076,
  kProjLinearUnitSizeGeoKey = 3077,
  kProjStdParallel1GeoKey = 3078,
  kProjStdParallel2GeoKey = 3079,
  kProjNatOriginLongGeoKey = 3080,
  kProjNatOriginLatGeoKey = 3081,
  kProjFalseEastingGeoKey = 3082,
  kProjFalseNorthingGeoKey = 3083,
  kProjFalseOriginLongGeoKey = 3084,
  kProjFalseOriginLatGeoKey = 3085,
  kProjFalseOriginEastingGeoKey = 3086,
  kProjFalseOriginNorthingGeoKey = 3087,
  kProjCenterLongGeoKey = 3088,
  kProjCenterLatGeoKey = 3089,
  kProjCenterEastingGeoKey = 3090,
  kProjCenterNorthingGeoKey = 3091,
  kProjScaleAtNatOriginGeoKey = 3092,
  kProjScaleAtCenterGeoKey = 3093,
  kProjAzimuthAngleGeoKey = 3094,
  kProjStraightVertPoleLongGeoKey = 3095,
  kProjRectifiedGridAngleGeoKey = 3096,
};

// The keys a directory holds: KeyEntryCount, kept within the list's room
// whatever a caller stored there.
inline std::span<const TGeoKeyEntry> HeldGeoKeys(const TGeoTiffTags& tags) {
  return {tags.Keys.data(), size_t(std::clamp(tags.KeyEntryCount, 0, kGeoTiffListCapacity))};
}

inline void ClearGeoTiffTags(TGeoTiffTags& tags) {
  tags = TGeoTiffTags{};
}

}  // namespace quorvane
