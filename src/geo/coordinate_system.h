#pragma once
// The coordinate system a picture's file names in its GeoKeys: the keys as
// read, so that a save can describe the same system again, and the PROJ
// objects built from them once per picture, with the transforms to
// longitude and latitude made on first use and kept. Shared (const) by the
// georeferences that copy it; its PROJ context is its own, used on one
// thread at a time.
#include <array>
#include <memory>
#include <optional>
#include <string>

#include "geo/datums.h"
#include "geo/geokey_set.h"

namespace quorvane {

struct TMapPoint;

enum class TCrsKind { None, Projected, Geographic, Other };

class TCoordinateSystem {
 public:
  explicit TCoordinateSystem(TGeoKeySet keys);
  ~TCoordinateSystem();
  TCoordinateSystem(const TCoordinateSystem&) = delete;
  TCoordinateSystem& operator=(const TCoordinateSystem&) = delete;

  const TGeoKeySet& Keys() const { return keys_; }
  // ProjectedCSTypeGeoKey, 0 without one.
  int32_t ProjectedCode() const;
  // A UTM zone of the projected systems table: its readouts stay with the
  // zone conversion on the chosen datum.
  bool IsTableUtm() const;
  // Whether PROJ could build the system.
  bool Usable() const;
  TCrsKind Kind() const;
  // The EPSG code PROJ knows the system by, 0 for a user-defined one.
  int Code() const;
  std::string Name() const;
  // "EPSG:3857", or "User defined: " and the projection method.
  std::string ShortName() const;
  // The unit of the grid's axes ("metre", "US survey foot", "degree"), and
  // metres per unit for a projected system (1 for any other).
  std::string UnitName() const;
  double MetresPerUnit() const;
  // The Datum list's entry for the system's datum; nothing when it has none.
  std::optional<TDatumChoice> ListDatum() const;
  // Semi-major axis (metres) and flattening of the system's ellipsoid.
  double SemiMajor() const;
  double Flattening() const;

  // Longitude and latitude (degrees, Greenwich) of a map position on the
  // datum of list entry `datum`; on the system's own datum when that is the
  // entry's. Nothing when PROJ cannot convert the position.
  std::optional<TGeographic> ToDatum(const TMapPoint& map, TDatumChoice datum) const;
  std::optional<TGeographic> ToOwnGeographic(const TMapPoint& map) const;

 private:
  struct TState;
  TGeoKeySet keys_;
  std::unique_ptr<TState> state_;
};

// The system of a file's GeoTIFF tags; null for a file without any.
std::shared_ptr<const TCoordinateSystem> CoordinateSystemOf(const TGeoTiffTags& tags);

}  // namespace quorvane
