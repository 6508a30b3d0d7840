#pragma once
// The rows of a TIFF file as LoadPicture would read it: by our own reader a
// strip at a time, or, with AnyTiff, by the reader LoadAnyTiff would choose.
#include <memory>
#include <string>

#include "io/format_registry.h"
#include "raster/picture_rows.h"

namespace quorvane {

// Null when the file has no first image or its reader needs the whole
// picture; throws the reader's message for a header the load would refuse.
std::unique_ptr<TPictureRows> OpenTiffRows(const std::string& file_name, TGeoTiffTags& tags,
                                           const TLoadOptions& options);

}  // namespace quorvane
