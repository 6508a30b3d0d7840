#pragma once
// Between an image's georeference and the GeoTIFF tags of its file.
#include "geo/geo_reference.h"
#include "raster/geotiff_tags.h"

namespace quorvane {

// Derives an image's record from the tags after a load.
void GeoTiffToGeoReference(const TGeoTiffTags& tags, TGeoReference& reference);

// Replaces the tags by what a save writes for an image with this record: its
// tie point and pixel scale (or its matrix, or its ground control points);
// the keys of its file's coordinate system, or, for a georeference of no
// file's and for a WGS 84 UTM file, the keys for the WGS 84 UTM zone.
void GeoReferenceToGeoTiff(const TGeoReference& reference, TGeoTiffTags& tags);

}  // namespace quorvane
