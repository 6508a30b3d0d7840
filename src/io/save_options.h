#pragma once
// How a picture is saved: the switches the save dialogs and the command line
// give, shared by the whole-picture save and the row writers.
#include "raster/geotiff_tags.h"
#include "raster/progress.h"

namespace quorvane {

struct TSaveOptions {
  // Report the writer's progress through `Progress`.
  bool ShowProgress = false;
  // PackBits rows for TIFF, ByteRun1 bodies for LBM.
  bool Compress = false;
  // Write `GeoTiffTags` into a TIFF; other formats ignore it.
  bool GeoTiff = false;
  const TGeoTiffTags* GeoTiffTags = nullptr;
  TProgressEvent Progress;
};

}  // namespace quorvane
