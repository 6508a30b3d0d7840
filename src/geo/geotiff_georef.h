#pragma once
// Between an image's georeference and the GeoTIFF tags of its file.
#include "geo/geo_reference.h"
#include "raster/geotiff_tags.h"

namespace quorvane {

// Derives an image's record from the tags after a load.
void GeoTiffToGeoReference(const TGeoTiffTags& tags, TGeoReference& reference);

// Replaces the tags by what a save writes for an image with this record:
// one tie point at the upper-left corner, the pixel scale, and the keys for
// a projected WGS 84 UTM system with pixel-is-area rasters.
void GeoReferenceToGeoTiff(const TGeoReference& reference, TGeoTiffTags& tags);

}  // namespace quorvane
