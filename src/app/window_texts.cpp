#include "app/window_texts.h"

#include "imaging/bitmap_utils.h"

namespace quorvane {

std::string SourceSizeText(const TRasterBitmap& picture) {
  std::string text = "Source Image - Size: " + std::to_string(picture.Width()) + " X " +
                     std::to_string(picture.Height());
  if (!picture.Empty()) text += " Pixels: " + PixelFormatName(picture);
  return text;
}

std::string BoxReadoutText(const TRect& box) {
  // Widths in 64 bits: a box dragged far outside the picture may span more
  // than the integer range.
  return "X1: " + std::to_string(box.Left) + " Y1: " + std::to_string(box.Top) +
         "  X2: " + std::to_string(box.Right) + " Y2: " + std::to_string(box.Bottom) +
         "  W: " + std::to_string(int64_t{box.Right} - box.Left) +
         " H: " + std::to_string(int64_t{box.Bottom} - box.Top);
}

std::string MouseReadoutText(int x, int y) {
  return std::to_string(x) + "," + std::to_string(y);
}

}  // namespace quorvane
