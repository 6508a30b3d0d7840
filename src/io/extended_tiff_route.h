#pragma once
// Which reader a TIFF goes to when the user asks for any TIFF to open: our
// own reader keeps every file it reads correctly; the extended reader takes
// the files ours refuses, BigTIFFs, and files whose samples are signed
// integers or floating point (ours would show them by bit depth alone).
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "raster/bitmap.h"
#include "raster/error.h"
#include "raster/geotiff_tags.h"

namespace quorvane {

// What the extended reader did with a file; ExtendedReader stays false when
// our own reader read it.
struct TReaderReport {
  bool ExtendedReader = false;
  int OverviewLevel = 0;      // 0: full resolution; 1: the largest overview, ...
  double OverviewFactor = 1;  // full-resolution width over the picture's width
  int64_t FullWidth = 0, FullHeight = 0;
  std::vector<std::string> Warnings;  // what libtiff complained about and got past
};

// Whether our own reader's failure means "not a file I can read" rather than
// a damaged file or a refusal by size.
bool IsOwnReaderRefusal(const EQuorvaneError& error);

// Reads with `own` and falls back to the extended reader as the header above
// says. `tags` is filled by whichever reader succeeds; on failure it keeps
// what it held. `max_picture_bytes` is the memory cap (0: the default).
using TOwnTiffLoad = std::function<std::unique_ptr<TRasterBitmap>(TGeoTiffTags& tags)>;
std::unique_ptr<TRasterBitmap> LoadAnyTiff(const std::string& path, TGeoTiffTags& tags,
                                           uint64_t max_picture_bytes, const TOwnTiffLoad& own,
                                           TReaderReport* report);

// The same choice for a header alone: size, pixel format and the report.
struct TAnyTiffHeader {
  int64_t Width = 0, Height = 0;
  TPixelFormat PixelFormat = TPixelFormat::Bit24;
  TReaderReport Report;
};
using TOwnTiffHeader = std::function<TAnyTiffHeader(TGeoTiffTags& tags)>;
TAnyTiffHeader ReadAnyTiffHeaderRouted(const std::string& path, TGeoTiffTags& tags,
                                       uint64_t max_picture_bytes, const TOwnTiffHeader& own);

}  // namespace quorvane
