#pragma once
// The bytes ReadTiffHeader looks at, fetched from a file that is otherwise
// left unread: the file header, the first directory, every value its
// entries point at and the start of the first strip.
#include "raster/file_ranges.h"

namespace quorvane {

void FetchTiffHeaderRanges(TFileRanges& file);

}  // namespace quorvane
