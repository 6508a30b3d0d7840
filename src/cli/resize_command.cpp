// quorvane-cli resize IN OUT (--size WxH | --percent P) [--filter N|NAME]
// [--force-24bit] [--threads N]: the Stretch command in batch.
#include <climits>
#include <cstdio>
#include <new>
#include <string>
#include <utility>

#include "cli/args.h"
#include "cli/commands.h"
#include "cli/picture_io.h"
#include "document/resize_driver.h"
#include "document/sizing.h"
#include "imaging/resample_filters.h"

namespace quorvane::cli {

namespace {

// 0 .. 6, a filter's name, or a sharpness of the Resize page.
int ParseFilter(const std::string& text) {
  static const struct {
    const char* Name;
    int Index;
  } kNames[] = {
      {"box", kFilterBox},           {"triangle", kFilterTriangle}, {"hermite", kFilterHermite},
      {"bell", kFilterBell},         {"bspline", kFilterBSpline},   {"b-spline", kFilterBSpline},
      {"mitchell", kFilterMitchell}, {"lanczos3", kFilterLanczos3}, {"soft", kFilterBSpline},
      {"medium", kFilterMitchell},   {"sharp", kFilterLanczos3}};
  for (const auto& entry : kNames) {
    if (SameText(text, entry.Name)) return entry.Index;
  }
  if (!text.empty() && text.find_first_not_of("0123456789+") == std::string::npos) {
    return int(ParseInteger(text, "--filter", 0, kResampleFilterCount - 1));
  }
  throw EUsage("--filter: unknown filter \"" + text +
               "\" (0-6, box, triangle, hermite, bell, bspline, mitchell, lanczos3, soft, "
               "medium, sharp)");
}

void CheckSize(int64_t width, int64_t height, const std::string& how) {
  if (width < 0 || height < 0) {
    throw EUsage("Negative Image Size: " + how + " gives " + std::to_string(width) + " x " +
                 std::to_string(height));
  }
  if (width == 0 || height == 0) {
    throw EUsage("Zero Image Size: " + how + " gives " + std::to_string(width) + " x " +
                 std::to_string(height) + "; the new size must be at least 1 x 1");
  }
  if (width > INT_MAX || height > INT_MAX) {
    throw EUsage("Image size too large: " + how + " gives " + std::to_string(width) + " x " +
                 std::to_string(height));
  }
}

}  // namespace

int RunResize(const TArgs& args) {
  const TParsedArgs parsed = ParseArgs(args, {{"size", true},
                                              {"percent", true},
                                              {"filter", true},
                                              {"force-24bit", false},
                                              {"threads", true}});
  parsed.ExpectPositional(2);
  if (parsed.Has("size") == parsed.Has("percent")) {
    throw EUsage("give either --size WxH or --percent P");
  }
  int64_t width = 0, height = 0, percent = 0;
  if (const auto size = parsed.Value("size")) {
    const auto parts = SplitText(*size, 'x', false);
    if (parts.size() != 2) throw EUsage("--size: expected WxH: \"" + *size + "\"");
    width = ParseInteger(parts[0], "--size width", INT64_MIN / 4, INT64_MAX / 4);
    height = ParseInteger(parts[1], "--size height", INT64_MIN / 4, INT64_MAX / 4);
    CheckSize(width, height, "--size " + *size);
  } else {
    percent = ParseInteger(*parsed.Value("percent"), "--percent", INT32_MIN, INT32_MAX);
  }
  TResizeRequest request;
  request.FilterIndex = ParseFilter(parsed.Value("filter").value_or("sharp"));
  request.Force24Bit = parsed.Has("force-24bit");
  TResampleOptions options;
  if (const auto threads = parsed.Value("threads")) {
    options.Threads = int(ParseInteger(*threads, "--threads", 0, 1024));
  }
  const std::string& in = parsed.Positional[0];
  const std::string& out = parsed.Positional[1];

  TLoadedPicture source = LoadPictureWithGeoReference(in);
  if (parsed.Has("percent")) {
    const TImageSize size =
        PercentStepSize(source.Bitmap->Width(), source.Bitmap->Height(), percent - 100);
    width = size.Width;
    height = size.Height;
    CheckSize(width, height,
              "--percent " + std::to_string(percent) + " of " +
                  std::to_string(source.Bitmap->Width()) + " x " +
                  std::to_string(source.Bitmap->Height()));
  }
  request.Width = int(width);
  request.Height = int(height);
  request.KeepToneBase = false;
  TResizeResult result;
  try {
    result =
        ResizeOutputImage(std::move(*source.Bitmap), source.GeoReference, request, {}, options);
  } catch (const std::bad_alloc&) {
    std::fprintf(stderr, "resize: not enough memory for a %d x %d picture\n", request.Width,
                 request.Height);
    return 1;
  }
  SavePictureWithGeoReference(result.Destination, out, result.GeoReference);
  return 0;
}

}  // namespace quorvane::cli
