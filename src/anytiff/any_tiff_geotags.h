#pragma once
// The five GeoTIFF tags and GDAL's nodata text, read from the directory
// libtiff holds, into the record our own TIFF reader fills, by the same rules:
// lists cut at their capacity, the key directory read as far as NumberOfKeys
// says (and the tag holds), the ASCII parameters kept byte for byte.
#include <tiffio.h>

#include <optional>
#include <string>

#include "raster/geotiff_tags.h"

namespace quorvane {

constexpr uint32_t kTagGdalNoData = 42113;

// Fills the tags the directory carries; those it lacks keep their values.
void ReadAnyTiffGeoTags(TIFF* tiff, TGeoTiffTags& tags);

// GDAL's nodata value as the file states it ("-9999", "nan", ...).
std::optional<std::string> ReadGdalNoData(TIFF* tiff);

// Describes a reduced-resolution image of the picture the tags belong to: a
// pixel covers `factor_x` by `factor_y` pixels of the full image, so the
// pixel scale grows by the factors and raster positions of tie points shrink
// by them; their map positions stay.
void ScaleGeoTiffTags(TGeoTiffTags& tags, double factor_x, double factor_y);

}  // namespace quorvane
