// TIFF reader with the GeoTIFF tags it hands over, and the georeference
// derived from them.
#include "fuzz_check.h"
#include "geo/geo_reference.h"
#include "geo/geotiff_georef.h"
#include "raster/byte_stream.h"
#include "raster/error.h"
#include "tiff/tiff_reader.h"

using namespace quorvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  TRasterBitmap bitmap;
  TGeoTiffTags tags;
  try {
    DecodeTiff(bytes, bitmap, tags, fuzz::Options());
  } catch (const EQuorvaneError&) {
    return 0;
  }
  fuzz::TouchEveryRow(bitmap);
  TGeoTiffTags header_tags;
  fuzz::CheckHeaderAgrees(
      bitmap, [&] { return ReadTiffHeader(bytes, header_tags, fuzz::Options().Limits); });
  TGeoReference reference;
  GeoTiffToGeoReference(tags, reference);
  return 0;
}
