#pragma once
// Which reader a TIFF goes to when the user asks for any TIFF to open: our
// own reader keeps every file it reads correctly; the extended reader takes
// the files ours refuses, BigTIFFs, and files whose samples are signed
// integers or floating point (ours would show them by bit depth alone).
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "anytiff/any_tiff_display.h"
#include "anytiff/any_tiff_reader.h"
#include "anytiff/any_tiff_source.h"
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
  // Whether a choice of bands and stretch applies to the picture, the
  // choice it was shown with, and what it can choose from.
  bool BandChoice = false;
  TAnyTiffDisplay Display;
  int SamplesPerPixel = 1;
  std::optional<double> NoData;
  std::vector<int> ShownBands;      // sample indices: red, green, blue or the grey
  std::vector<TBandSummary> Bands;  // what each shown band held
  // The file, still open, so that another choice re-reads its samples
  // without opening it again (after a load only, not a header read).
  std::shared_ptr<TAnyTiffSource> Source;
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
                                           TReaderReport* report,
                                           const TAnyTiffDisplay& display = {});

// The picture of a file the extended reader read, shown with another choice
// of bands and stretch, from the samples of `report.Source`; the report then
// describes it. The file's tags are not looked at again.
std::unique_ptr<TRasterBitmap> RenderAnyTiff(TReaderReport& report, const TAnyTiffDisplay& display,
                                             uint64_t max_picture_bytes);

// The same choice for a header alone: size, pixel format and the report.
struct TAnyTiffHeader {
  int64_t Width = 0, Height = 0;
  TPixelFormat PixelFormat = TPixelFormat::Bit24;
  TReaderReport Report;
};
using TOwnTiffHeader = std::function<TAnyTiffHeader(TGeoTiffTags& tags)>;
TAnyTiffHeader ReadAnyTiffHeaderRouted(const std::string& path, TGeoTiffTags& tags,
                                       uint64_t max_picture_bytes, const TOwnTiffHeader& own,
                                       const TAnyTiffDisplay& display = {});

// Whether the header sends the file to the extended reader without our own
// reader trying it.
bool HeaderWantsExtendedReader(const std::string& path);

// The extended reader's rows of the file, as LoadAnyTiff would decode it
// with the same cap and display, at full resolution.
std::unique_ptr<TAnyTiffRows> OpenAnyTiffRows(const std::string& path, TGeoTiffTags& tags,
                                              uint64_t max_picture_bytes,
                                              const TAnyTiffDisplay& display);

}  // namespace quorvane
