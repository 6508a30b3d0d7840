#include "document/readouts.h"

#include <cstdint>
#include <cstdio>
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

std::string OverviewText(const TReaderReport& reader) {
  if (reader.OverviewLevel == 0) return "";
  // Overviews halve their sides as a rule; an odd side makes the factor
  // fractional, shown to three places at most.
  char factor[32];
  std::snprintf(factor, sizeof factor, "%.4g", reader.OverviewFactor);
  return "overview " + std::to_string(reader.OverviewLevel) + ", 1/" + factor;
}

std::string CaptionText(const std::string& path, const TReaderReport& reader) {
  const std::string overview = OverviewText(reader);
  if (overview.empty()) return CaptionText(path);
  return std::filesystem::path(path).filename().string() + " (" + overview + ") - " + kProgramTitle;
}

}  // namespace quorvane
