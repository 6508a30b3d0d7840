// convert IN OUT [--packbits] [--no-geotiff]: opens IN like the viewer does
// (by its extension), carries its georeference over, and saves it as OUT in
// the format OUT's extension names. OUT is replaced only by a complete file.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/load_image.h"
#include "geo/geo_reference.h"
#include "geo/geotiff_georef.h"
#include "io/format_registry.h"

namespace quorvane::cli {

namespace {

struct TConvertOptions {
  std::string Input, Output;
  bool PackBits = false;
  bool GeoTiff = true;
};

TConvertOptions ParseConvertArgs(const TArgs& args) {
  TConvertOptions options;
  std::vector<std::string> files;
  for (const auto& arg : args) {
    if (arg == "--packbits") {
      options.PackBits = true;
    } else if (arg == "--no-geotiff") {
      options.GeoTiff = false;
    } else if (arg.size() > 1 && arg[0] == '-') {
      throw EUsage("unknown option: " + arg);
    } else {
      files.push_back(arg);
    }
  }
  if (files.size() != 2) throw EUsage("convert needs an input and an output file");
  options.Input = files[0];
  options.Output = files[1];
  return options;
}

// A one-line bar on stderr, redrawn in place; only meaningful on a terminal.
TProgressEvent TerminalProgressBar(const std::string& label) {
  // The TIFF writer reports every row; the bar is redrawn only when it moves.
  return [label, last = -1](TProgressStage stage, uint8_t percent, bool, const TRect&,
                            std::string_view) mutable {
    constexpr int kWidth = 40;
    const int shown = std::min<int>(percent, 100);
    if (stage == TProgressStage::Running && shown == last) return;
    last = shown;
    const int filled = shown * kWidth / 100;
    std::fprintf(stderr, "\r%s [%s%s] %3d%%", label.c_str(), std::string(filled, '#').c_str(),
                 std::string(kWidth - filled, ' ').c_str(), shown);
    if (stage == TProgressStage::Ending) std::fputc('\n', stderr);
    std::fflush(stderr);
  };
}

}  // namespace

int RunConvert(const TArgs& args) {
  const TConvertOptions options = ParseConvertArgs(args);

  const TCliImage image = LoadImage(options.Input);
  TGeoTiffTags written;
  GeoReferenceToGeoTiff(image.GeoReference, written);
  const bool terminal = ::isatty(STDERR_FILENO) == 1;
  const TProgressEvent progress =
      terminal ? TerminalProgressBar("Saving " + options.Output) : TProgressEvent{};
  try {
    SaveBitmapFile(*image.Bitmap, options.Output,
                   {.ShowProgress = true,
                    .Compress = options.PackBits,
                    .GeoTiff = options.GeoTiff,
                    .GeoTiffTags = &written,
                    .Progress = progress});
  } catch (...) {
    if (terminal) std::fputc('\n', stderr);  // the message goes below the bar
    throw;
  }
  return 0;
}

}  // namespace quorvane::cli
