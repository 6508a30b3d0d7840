#pragma once
// The picture the source pane shows before anything is opened: 150 x 76
// pixels, 8-bit palette, naming the program and what it does over a faint
// map grid. Built in code so the program carries no picture file.
#include "raster/bitmap.h"

namespace quorvane {

constexpr int kStartupPictureWidth = 150;
constexpr int kStartupPictureHeight = 76;

TRasterBitmap MakeStartupPicture();

}  // namespace quorvane
