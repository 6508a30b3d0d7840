#include "anytiff/any_tiff_display.h"

#include <charconv>

#include "raster/error.h"

namespace quorvane {

std::optional<TDisplayStretch> ParseDisplayStretch(const std::string& text) {
  if (text == "cut") return TDisplayStretch::Cut;
  if (text == "minmax") return TDisplayStretch::MinMax;
  if (text == "none") return TDisplayStretch::None;
  return std::nullopt;
}

const char* DisplayStretchName(TDisplayStretch stretch) {
  switch (stretch) {
    case TDisplayStretch::MinMax:
      return "minmax";
    case TDisplayStretch::None:
      return "none";
    default:
      return "cut";
  }
}

std::vector<int> ParseBandList(const std::string& text) {
  const EQuorvaneError bad("Bands must be one band or three, counted from 1: \"" + text + "\"");
  std::vector<int> bands;
  const char* at = text.data();
  const char* end = text.data() + text.size();
  while (true) {
    int band = 0;
    const auto [stop, error] = std::from_chars(at, end, band);
    if (error != std::errc() || band < 1) throw bad;
    bands.push_back(band - 1);
    if (stop == end) break;
    if (*stop != ',') throw bad;
    at = stop + 1;
  }
  if (bands.size() != 1 && bands.size() != 3) throw bad;
  return bands;
}

}  // namespace quorvane
