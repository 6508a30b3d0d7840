#pragma once
// The bytes the JPEG and PNG header readers look at, fetched from a file
// that is otherwise left unread: the markers or chunks up to the first scan
// or image data.
#include "raster/file_ranges.h"

namespace quorvane {

void FetchJpegHeaderRanges(TFileRanges& file);
void FetchPngHeaderRanges(TFileRanges& file);

}  // namespace quorvane
