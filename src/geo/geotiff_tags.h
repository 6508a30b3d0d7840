#pragma once
// The five GeoTIFF tags exactly as last read from a TIFF file or as about to
// be written. Whoever loads or saves owns one and passes it along.
#include <array>
#include <cstdint>
#include <string>

#include "geo/geo_reference.h"
#include "raster/byte_stream.h"

namespace quorvane {

class TTiffDirectoryBuilder;

constexpr int kGeoTiffListCapacity = 20;

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
};

enum : uint16_t {
  kTagModelPixelScale = 33550,
  kTagModelTiepoint = 33922,
  kTagGeoKeyDirectory = 34735,
  kTagGeoDoubleParams = 34736,
  kTagGeoAsciiParams = 34737,
};

// Acts on the five GeoTIFF tags and ignores every other number. The
// value/offset field is taken as a file offset; the stream position is
// restored afterwards.
void ReadGeoTiffTag(TByteStream& stream, TGeoTiffTags& tags, uint16_t tag, uint32_t count,
                    uint32_t value_offset);
void ClearGeoTiffTags(TGeoTiffTags& tags);
// Derives an image's record from the tags after a load.
void GeoTiffToGeoReference(const TGeoTiffTags& tags, TGeoReference& reference);

// Replaces the tags by what a save writes for an image with this record:
// one tie point at the upper-left corner, the pixel scale, and the keys for
// a projected WGS 84 UTM system with pixel-is-area rasters.
void GeoReferenceToGeoTiff(const TGeoReference& reference, TGeoTiffTags& tags);

// Where one payload landed in the file and the count its entry carries.
struct TGeoTiffPayload {
  uint32_t Offset = 0;
  uint32_t Count = 0;
};
struct TGeoTiffPayloads {
  TGeoTiffPayload PixelScale, Tiepoints, KeyDirectory, DoubleParams, AsciiParams;
};

// Writes the five payloads back to back at the stream's position, in the
// stream's byte order, in ascending tag order.
TGeoTiffPayloads WriteGeoTiffData(TByteStream& stream, const TGeoTiffTags& tags);
// Adds the five directory entries pointing at the payloads, in ascending tag
// order; each refers to its payload by offset, even a short one.
void WriteGeoTiffEntries(TTiffDirectoryBuilder& directory, const TGeoTiffPayloads& payloads);

}  // namespace quorvane
