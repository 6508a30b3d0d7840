#pragma once
// The texts of the window's own readouts, as the labels show them.
#include <string>

#include "raster/bitmap.h"
#include "raster/progress.h"

namespace quorvane {

// "Source Image - Size: 150 X 76 Pixels: 8-bit"; the pixel format is left
// out for an empty picture.
std::string SourceSizeText(const TRasterBitmap& picture);

// "X1: 1 Y1: 2  X2: 3 Y2: 4  W: 2 H: 2" (two blanks before X2 and W).
std::string BoxReadoutText(const TRect& box);

// "12,34": picture pixel coordinates, no blanks.
std::string MouseReadoutText(int x, int y);

}  // namespace quorvane
