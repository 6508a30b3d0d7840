// TIFF reader with the GeoTIFF tags it hands over, and the georeference
// derived from them.
#include "fuzz_check.h"
#include "geo/geo_reference.h"
#include "geo/geotiff_georef.h"
#include "raster/error.h"
#include "tiff/tiff_reader.h"

using namespace quorvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TByteStream stream = TByteStream::CopyOf({data, size});
  TRasterBitmap bitmap;
  TGeoTiffTags tags;
  try {
    ReadTiff(stream, bitmap, tags);
  } catch (const EQuorvaneError&) {
    return 0;
  }
  fuzz::TouchEveryRow(bitmap);
  TGeoReference reference;
  GeoTiffToGeoReference(tags, reference);
  return 0;
}
