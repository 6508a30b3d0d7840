#include "document/readouts.h"

#include <cstdint>
#include <filesystem>

#include "imaging/bitmap_utils.h"

namespace quorvane {

std::string SourceSizeText(const TRasterBitmap& picture) {
  std::string text = "Source Image - Size: " + std::to_string(picture.Width()) + " X " +
                     std::to_string(picture.Height());
  if (!picture.Empty()) text += " Pixels: " + PixelFormatName(picture);
  return text;
}

std::string BoxReadoutText(const TRect& selection) {
  // Widths of rectangles reaching far beyond the picture need more than 32 bits.
  const int64_t width = int64_t(selection.Right) - selection.Left;
  const int64_t height = int64_t(selection.Bottom) - selection.Top;
  return "X1: " + std::to_string(selection.Left) + " Y1: " + std::to_string(selection.Top) +
         "  X2: " + std::to_string(selection.Right) + " Y2: " + std::to_string(selection.Bottom) +
         "  W: " + std::to_string(width) + " H: " + std::to_string(height);
}

std::string MouseReadoutText(int x, int y) {
  return std::to_string(x) + "," + std::to_string(y);
}

std::string CaptionText(const std::string& path) {
  return std::filesystem::path(path).filename().string() + " - " + kProgramTitle;
}

}  // namespace quorvane
