// Every reader of the format table, one format per run, named by the
// environment variable QUORVANE_FUZZ_FORMAT (a row's key; scripts/fuzz.sh
// sets it): the decoder, the header reader that must agree with it, the
// georeference of any GeoTIFF tags, and the format's own round trip where
// fuzz/round_trips.h has one.
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "fuzz_check.h"
#include "geo/geo_reference.h"
#include "geo/geotiff_georef.h"
#include "io/format_table.h"
#include "raster/error.h"
#include "round_trips.h"

using namespace quorvane;

namespace {

const TImageFormat& FormatToFuzz() {
  const char* key = std::getenv("QUORVANE_FUZZ_FORMAT");
  for (const TImageFormat& format : ImageFormats())
    if (key && format.Reads() && std::string_view(key) == format.Key) return format;
  std::fprintf(stderr, "QUORVANE_FUZZ_FORMAT names no format of the table\n");
  std::exit(2);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const TImageFormat& format = FormatToFuzz();
  const std::span<const uint8_t> bytes(data, size);
  TRasterBitmap bitmap;
  TGeoTiffTags tags;
  try {
    format.Decode(bytes, bitmap, tags, fuzz::Options());
  } catch (const EQuorvaneError&) {
    return 0;
  }
  fuzz::TouchEveryRow(bitmap);
  TGeoTiffTags header_tags;
  fuzz::CheckHeaderAgrees(
      bitmap, [&] { return format.ReadHeader(bytes, header_tags, fuzz::Options().Limits); });
  TGeoReference reference;
  GeoTiffToGeoReference(tags, reference);
  fuzz::CheckRoundTrip(format.Key, bitmap, size);
  return 0;
}
