#pragma once
// Opening picks the reader by the file name's extension alone (content is
// never sniffed); saving dispatches on the extension to the writer after
// converting a private copy to the pixel format that writer needs.
#include <memory>
#include <string>

#include "raster/bitmap.h"
#include "raster/geotiff_tags.h"
#include "raster/progress.h"

namespace quorvane {

// A new picture filled from the file; GeoTIFF tags of a TIFF land in `tags`.
// Throws "Unknown picture file extension (.%s)" or the reader's message; the
// caller's previous picture is untouched either way.
std::unique_ptr<TRasterBitmap> LoadPicture(const std::string& file_name, TGeoTiffTags& tags);

// Writes `bitmap` (never modified) in the format its extension names.
// `compress`: PackBits for TIFF, ByteRun1 for LBM. `geotiff`: write `tags` into
// a TIFF. `progress` receives stage reports when `show_progress` is set.
void SaveBitmapFile(const TRasterBitmap& bitmap, const std::string& file_name, bool show_progress,
                    bool compress, bool geotiff, const TGeoTiffTags& tags,
                    const TProgressEvent& progress = {});

// The open/save dialogs' type filter for all registered formats.
std::string BuildTypeFilter();

}  // namespace quorvane
