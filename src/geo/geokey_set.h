#pragma once
// The GeoKeys of a file with the parameters they refer to, kept as read so
// that a save can describe the same coordinate system again.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "raster/geotiff_tags.h"

namespace quorvane {

// GeoKey values with a meaning of their own.
enum : uint16_t {
  kModelTypeProjected = 1,
  kModelTypeGeographic = 2,
  kRasterPixelIsArea = 1,
  kRasterPixelIsPoint = 2,
  kUserDefined = 32767,
};

struct TGeoKeySet {
  uint16_t Version = 1, Revision = 1, MinorRevision = 0;
  std::vector<TGeoKeyEntry> Keys;
  std::vector<double> Doubles;
  std::string Ascii;  // every byte, as the keys' offsets count them

  const TGeoKeyEntry* Find(uint16_t id) const;
  // A key held in the directory itself.
  std::optional<uint16_t> Short(uint16_t id) const;
  // A code key that names something: neither 0 nor user-defined.
  std::optional<uint16_t> Code(uint16_t id) const;
  // A key whose value is among the doubles.
  std::optional<double> Double(uint16_t id) const;
  // A key whose value is in the ASCII parameters, without its closing pipe.
  std::optional<std::string> Text(uint16_t id) const;
};

TGeoKeySet GeoKeysOf(const TGeoTiffTags& tags);
// Replaces the tags' keys, doubles and ASCII parameters by the set's.
void PutGeoKeys(const TGeoKeySet& keys, TGeoTiffTags& tags);

}  // namespace quorvane
