#pragma once
// The texts of the main window's readouts that do not belong to a tool: the
// source size line, the selection box line, the mouse position and the
// window caption.
#include <string>

#include "io/extended_tiff_route.h"
#include "raster/bitmap.h"
#include "raster/rect.h"

namespace quorvane {

inline constexpr const char* kProgramTitle = "Quorvane";

// DimenDis: "Source Image - Size: 150 X 76 Pixels: 8-bit"; the pixel format
// only for a picture that is not empty.
std::string SourceSizeText(const TRasterBitmap& picture);
// BoxDis: "X1: 1 Y1: 2  X2: 30 Y2: 40  W: 29 H: 38" (two blanks before X2 and W).
std::string BoxReadoutText(const TRect& selection);
// Mouse1Dis and Mouse2Dis: "x,y" in picture pixels.
std::string MouseReadoutText(int x, int y);
// The caption after opening `path`: its name without the folder, " - " and
// the program's title.
std::string CaptionText(const std::string& path);
// The same, naming the reduced-resolution image shown when the extended TIFF
// reader opened one: "name (overview 2, 1/4) - Quorvane".
std::string CaptionText(const std::string& path, const TReaderReport& reader);
// "overview 2, 1/4" for an overview, "" for the full picture.
std::string OverviewText(const TReaderReport& reader);

}  // namespace quorvane
