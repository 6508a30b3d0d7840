#pragma once
// Reading the five GeoTIFF tags out of a TIFF directory and laying them out
// again in a file being written.
#include <cstdint>

#include "raster/byte_stream.h"
#include "raster/geotiff_tags.h"

namespace quorvane {

class TTiffDirectoryBuilder;

// Acts on the five GeoTIFF tags and the model transformation and ignores every other number. The
// value/offset field is taken as an offset into `file`, read in its byte
// order.
void ReadGeoTiffTag(const TByteReader& file, TGeoTiffTags& tags, uint16_t tag, uint32_t count,
                    uint32_t value_offset);

// Where one payload landed in the file and the count its entry carries.
struct TGeoTiffPayload {
  uint64_t Offset = 0;
  uint32_t Count = 0;
};
struct TGeoTiffPayloads {
  TGeoTiffPayload PixelScale, Tiepoints, Transformation, KeyDirectory, DoubleParams, AsciiParams;
};

// Writes the payloads back to back at the stream's position, in the
// stream's byte order, in ascending tag order: the pixel scale unless it is
// all zero, the tie points when there are any, the transformation when one
// is held, then the key directory, doubles and ASCII parameters.
TGeoTiffPayloads WriteGeoTiffData(TByteStream& stream, const TGeoTiffTags& tags);
// Adds a directory entry for each payload written into `stream`, in
// ascending tag order; in a classic file each refers to its payload by
// offset, even a short one.
void WriteGeoTiffEntries(TTiffDirectoryBuilder& directory, const TGeoTiffPayloads& payloads,
                         const TByteStream& stream);

}  // namespace quorvane
