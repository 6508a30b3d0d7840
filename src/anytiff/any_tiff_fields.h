#pragma once
// Tag values libtiff holds for the current directory, read without teaching
// libtiff any tag: tags it does not know (the GeoTIFF ones among them) are
// kept as anonymous fields of the type found in the file, and read back here
// whatever that type was.
#include <tiffio.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quorvane {

// Up to `most` values of a numeric tag, converted to double; empty when the
// tag is absent or not numeric.
std::vector<double> NumericTagValues(TIFF* tiff, uint32_t tag, size_t most);

// Every byte of a text tag (ASCII, or BYTE/UNDEFINED taken as text), as
// stored; nothing when the tag is absent.
std::optional<std::string> TextTagValue(TIFF* tiff, uint32_t tag);

}  // namespace quorvane
