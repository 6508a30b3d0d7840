#include "anytiff/any_tiff_overview.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "raster/decode_limits.h"
#include "raster/error.h"

namespace quorvane {

namespace {

// Cloud-optimised files carry a handful of overviews; a chain of directories
// longer than this is not walked further.
constexpr tdir_t kMostDirectories = 64;

std::string BytesText(uint64_t bytes) {
  char text[64];
  const double value = double(bytes);
  if (bytes >= (uint64_t(1) << 30)) {
    std::snprintf(text, sizeof text, "%.1f GB", value / double(uint64_t(1) << 30));
  } else if (bytes >= (uint64_t(1) << 20)) {
    std::snprintf(text, sizeof text, "%.1f MB", value / double(uint64_t(1) << 20));
  } else if (bytes >= (uint64_t(1) << 10)) {
    std::snprintf(text, sizeof text, "%.1f KB", value / double(uint64_t(1) << 10));
  } else {
    std::snprintf(text, sizeof text, "%llu bytes", static_cast<unsigned long long>(bytes));
  }
  return text;
}

struct TCandidate {
  tdir_t Directory = 0;
  uint64_t Pixels = 0;
};

// Reduced-resolution images of the picture itself, not transparency masks,
// largest first.
std::vector<TCandidate> ListOverviews(TLibTiffHandle& handle) {
  std::vector<TCandidate> found;
  TIFF* tiff = handle.Tiff();
  for (tdir_t d = 1; d < kMostDirectories; ++d) {
    handle.BeginCall();
    if (!TIFFReadDirectory(tiff)) break;
    uint32_t type = 0, width = 0, height = 0;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SUBFILETYPE, &type);
    TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &height);
    if ((type & FILETYPE_REDUCEDIMAGE) && !(type & FILETYPE_MASK) && width > 0 && height > 0)
      found.push_back({d, uint64_t(width) * height});
  }
  handle.BeginCall();
  std::stable_sort(found.begin(), found.end(),
                   [](const TCandidate& a, const TCandidate& b) { return a.Pixels > b.Pixels; });
  return found;
}

}  // namespace

uint64_t PictureBytes(const TAnyTiffLayout& layout, const TAnyTiffPlan& plan) {
  return PixelMemorySize(layout.Width, layout.Height, BitsPerPixelOf(plan.Format));
}

std::string PictureTooLargeMessage(const TAnyTiffLayout& layout, const TAnyTiffPlan& plan,
                                   uint64_t cap) {
  return "Picture Too Large: " + std::to_string(layout.Width) + " x " +
         std::to_string(layout.Height) + " pixels at " +
         std::to_string(BitsPerPixelOf(plan.Format)) + " bits need " +
         BytesText(PictureBytes(layout, plan)) + ", more than the memory limit of " +
         BytesText(cap);
}

TAnyTiffLevel ChooseAnyTiffLevel(TLibTiffHandle& handle, const TAnyTiffLevel& full, uint64_t cap) {
  if (PictureBytes(full.Layout, full.Plan) <= cap) return full;
  const std::vector<TCandidate> overviews = ListOverviews(handle);
  for (size_t i = 0; i < overviews.size(); ++i) {
    handle.BeginCall();
    if (!TIFFSetDirectory(handle.Tiff(), overviews[i].Directory)) continue;
    TAnyTiffLevel level;
    level.Directory = overviews[i].Directory;
    level.Level = int(i) + 1;
    level.Layout = ReadAnyTiffLayout(handle.Tiff());
    // Only smaller images of the same picture qualify.
    if (level.Layout.Width > full.Layout.Width || level.Layout.Height > full.Layout.Height)
      continue;
    try {
      level.Plan = PlanAnyTiff(level.Layout);
    } catch (const EQuorvaneError&) {
      continue;
    }
    if (PictureBytes(level.Layout, level.Plan) > cap) continue;
    level.FactorX = double(full.Layout.Width) / double(level.Layout.Width);
    level.FactorY = double(full.Layout.Height) / double(level.Layout.Height);
    return level;
  }
  // Every reader refuses a picture beyond the cap with the same words.
  TDecodeLimits{.MaxPictureBytes = cap}.CheckPicture(full.Layout.Width, full.Layout.Height,
                                                     BitsPerPixelOf(full.Plan.Format));
  throw EQuorvaneError(PictureTooLargeMessage(full.Layout, full.Plan, cap), TErrorKind::TooLarge);
}

}  // namespace quorvane
