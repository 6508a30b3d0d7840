#pragma once
// Opening picks the reader by the file name's extension alone (content is
// never sniffed); saving picks the writer by the extension and hands it the
// picture in the pixel format it needs. Both read the format table
// (io/format_table.h).
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "io/extended_tiff_route.h"
#include "io/save_options.h"
#include "raster/bitmap.h"
#include "raster/geotiff_tags.h"
#include "raster/progress.h"

namespace quorvane {

struct TLoadOptions {
  // The memory cap on the picture's bytes; 0 takes the default cap.
  uint64_t MaxPictureBytes = 0;
  // Open the TIFFs our own reader refuses (and BigTIFFs, signed-integer and
  // floating-point files) with the extended reader. Off, a TIFF is read by
  // our own reader alone.
  bool AnyTiff = false;
  // With AnyTiff: how the extended reader shows measurements (bands and
  // stretch).
  TAnyTiffDisplay Display;
  // Told which reader read the file and at which resolution, when not null.
  TReaderReport* Reader = nullptr;
};

// A new picture filled from the file; GeoTIFF tags of a TIFF land in `tags`.
// Throws "Unknown picture file extension (.%s)" or the reader's message; the
// caller's previous picture is untouched either way.
std::unique_ptr<TRasterBitmap> LoadPicture(const std::string& file_name, TGeoTiffTags& tags,
                                           const TLoadOptions& options = {});

// What a file's header says of the picture a load would give, and its
// GeoTIFF tags, for reports that need no pixels.
struct TPictureHeader {
  int64_t Width = 0;
  int64_t Height = 0;
  TPixelFormat PixelFormat = TPixelFormat::Bit24;
  TReaderReport Reader;
};
// Throws what LoadPicture throws for a file whose header it cannot read.
// Reads only the bytes the header reader looks at, never the whole file.
TPictureHeader ReadPictureHeader(const std::string& file_name, TGeoTiffTags& tags,
                                 const TLoadOptions& options = {});
// The same from the whole file's bytes, already in memory (our own readers
// only: `options.AnyTiff` is not consulted).
TPictureHeader ReadPictureHeaderOfBytes(const std::string& file_name,
                                        std::span<const uint8_t> bytes, TGeoTiffTags& tags,
                                        const TLoadOptions& options = {});

// Writes `bitmap` (never modified) in the format its extension names.
void SaveBitmapFile(const TRasterBitmap& bitmap, const std::string& file_name,
                    const TSaveOptions& options);

// Whether SaveBitmapFile reports progress for this name: every format but
// the Windows bitmap, which is also what names without a known extension
// receive.
bool SaveReportsProgress(const std::string& file_name);

// The open/save dialogs' type filter for all registered formats.
std::string BuildTypeFilter();

}  // namespace quorvane
