// Extended TIFF reader over libtiff: the header alone, then the decode, with
// a small memory cap so that overviews and refusals are reached, through the
// display stretches and band choices; then the
// georeference derived from the tags and the check that steers files to it.
#include "anytiff/any_tiff_reader.h"
#include "fuzz_check.h"
#include "geo/geotiff_georef.h"
#include "raster/error.h"
#include "raster/geotiff_tags.h"

using namespace quorvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> bytes(data, size);
  (void)WantsExtendedReader(bytes);
  TAnyTiffOptions options;
  options.MaxPictureBytes = uint64_t(4) << 20;
  // As the program reads: a display choice, the stretch and bands picked by
  // the input's length.
  options.Display = TAnyTiffDisplay{.Stretch = TDisplayStretch(size % 3),
                                    .Bands = size % 4 == 1   ? std::vector<int>{2, 0, 1}
                                             : size % 4 == 2 ? std::vector<int>{1}
                                                             : std::vector<int>{},
                                    .BandsRequired = false};
  TGeoTiffTags tags;
  try {
    TMemoryTiffSource source(bytes);
    ReadAnyTiffHeader(source, tags, options);
  } catch (const EQuorvaneError&) {
  }
  TRasterBitmap bitmap;
  try {
    DecodeAnyTiffBytes(bytes, bitmap, tags, options);
  } catch (const EQuorvaneError&) {
    return 0;
  }
  fuzz::TouchEveryRow(bitmap);
  TGeoReference reference;
  GeoTiffToGeoReference(tags, reference);
  return 0;
}
