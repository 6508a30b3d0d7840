#pragma once
// The GeoTIFF information text of the file last opened: the raw key
// directory, one readable line per key, the ASCII and double parameters, the
// pixel scale and the tie points, built from the tags as read.
#include <string>
#include <vector>

#include "geo/geo_format.h"
#include "geo/geo_reference.h"
#include "raster/geotiff_tags.h"

namespace quorvane {

std::vector<std::string> BuildGeoTiffReport(const TGeoTiffTags& tags,
                                            const TNumberFormat& format = {});
// The readable line of one key; empty for a key the report does not know.
std::string DescribeGeoKey(const TGeoTiffTags& tags, const TGeoKeyEntry& key,
                           const TNumberFormat& format = {});
// `count` characters of the ASCII parameters from zero-based `offset`, cut at
// their end.
std::string CitationText(const TGeoTiffTags& tags, int offset, int count);

}  // namespace quorvane
