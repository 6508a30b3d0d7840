// quorvane-cli resize IN OUT (--size WxH | --percent P) [--filter N|NAME]
// [--force-24bit] [--threads N]: the Stretch command in batch. --size is a
// size typed in the precise sizing dialog, --percent a step of P - 100
// percent on the Resize page.
#include <climits>
#include <cstdio>
#include <new>
#include <optional>
#include <string>

#include "cli/any_tiff_args.h"
#include "cli/batch_document.h"
#include "cli/batch_files.h"
#include "cli/command_line.h"
#include "cli/value_parsing.h"
#include "document/resize_driver.h"
#include "document/save_pane.h"
#include "document/streamed_job.h"
#include "document/stretch.h"
#include "imaging/resample_filters.h"
#include "raster/error.h"

namespace quorvane::cli {

namespace {

struct TResizeArgs {
  std::optional<std::string> Size, Percent, Filter, Threads;
  bool Force24Bit = false;
  TAnyTiffArgs AnyTiff;
};

void DeclareResizeArgs(TCommandLine& line, TResizeArgs& parsed) {
  line.Option("--size", parsed.Size).Option("--percent", parsed.Percent);
  line.Option("--filter", parsed.Filter).Option("--threads", parsed.Threads);
  parsed.AnyTiff.AddTo(line);
  line.Flag("--force-24bit", parsed.Force24Bit);
}

// 0 .. 6, a filter's name, or a sharpness of the Resize page.
TResampleFilter ParseFilter(const std::string& text) {
  static const struct {
    const char* Name;
    TResampleFilter Filter;
  } kNames[] = {{"box", TResampleFilter::Box},           {"triangle", TResampleFilter::Triangle},
                {"hermite", TResampleFilter::Hermite},   {"bell", TResampleFilter::Bell},
                {"bspline", TResampleFilter::BSpline},   {"b-spline", TResampleFilter::BSpline},
                {"mitchell", TResampleFilter::Mitchell}, {"lanczos3", TResampleFilter::Lanczos3},
                {"soft", TResampleFilter::BSpline},      {"medium", TResampleFilter::Mitchell},
                {"sharp", TResampleFilter::Lanczos3}};
  for (const auto& entry : kNames) {
    if (SameText(text, entry.Name)) return entry.Filter;
  }
  if (!text.empty() && text.find_first_not_of("0123456789+") == std::string::npos) {
    return TResampleFilter(ParseInteger(text, "--filter", 0, kResampleFilterCount - 1));
  }
  throw EUsage("--filter: unknown filter \"" + text +
               "\" (0-6, box, triangle, hermite, bell, bspline, mitchell, lanczos3, soft, "
               "medium, sharp)");
}

void CheckSize(int64_t width, int64_t height, const std::string& how) {
  const std::string gives =
      how + " gives " + std::to_string(width) + " x " + std::to_string(height);
  if (width < 0 || height < 0) throw EUsage("Negative Image Size: " + gives);
  if (width == 0 || height == 0) {
    throw EUsage("Zero Image Size: " + gives + "; the new size must be at least 1 x 1");
  }
  if (width > INT_MAX || height > INT_MAX) throw EUsage("Image size too large: " + gives);
}

struct TTypedSize {
  int64_t Width, Height;
};

TTypedSize ParseSize(const std::string& text) {
  const auto parts = SplitText(text, 'x', false);
  if (parts.size() != 2) throw EUsage("--size: expected WxH: \"" + text + "\"");
  const TTypedSize size{ParseInteger(parts[0], "--size width", INT64_MIN / 4, INT64_MAX / 4),
                        ParseInteger(parts[1], "--size height", INT64_MIN / 4, INT64_MAX / 4)};
  CheckSize(size.Width, size.Height, "--size " + text);
  return size;
}

// The requested size the Resize page would hold: typed, or stepped.
void SetRequestedSize(TSizingState& sizing, const TResizeArgs& args,
                      const std::optional<TTypedSize>& typed, int64_t percent) {
  if (typed) {
    sizing.SetNewSize(typed->Width, typed->Height);
    return;
  }
  sizing.Units = TSizeUnits::Percent;
  sizing.SizeStep = percent - 100;
  sizing.UpdateNewSize();
  CheckSize(sizing.NewWidth, sizing.NewHeight,
            "--percent " + *args.Percent + " of " + std::to_string(sizing.OrigWidth) + " x " +
                std::to_string(sizing.OrigHeight));
}

int ResizeFile(const TResizeArgs& parsed, const TFileJob& job) {
  if (parsed.Size.has_value() == parsed.Percent.has_value()) {
    throw EUsage("give either --size WxH or --percent P");
  }
  parsed.AnyTiff.Display();  // --bands or --stretch without --any-tiff is a usage error
  std::optional<TTypedSize> typed;
  int64_t percent = 0;
  if (parsed.Size) {
    typed = ParseSize(*parsed.Size);
  } else {
    percent = ParseInteger(*parsed.Percent, "--percent", INT32_MIN, INT32_MAX);
  }
  TStretchOptions options{.Filter = ParseFilter(parsed.Filter.value_or("sharp")),
                          .Force24Bit = parsed.Force24Bit};
  options.Resample.Threads = job.ResampleThreads;
  if (parsed.Threads)
    options.Resample.Threads = int(ParseInteger(*parsed.Threads, "--threads", 0, 1024));

  // The size the Resize page would give a picture of this size; where it
  // would warn instead, the whole-picture path does.
  auto new_size = [&](int64_t width, int64_t height) -> std::pair<int64_t, int64_t> {
    TSizingState sizing;
    sizing.ResetSizing(int(width), int(height));
    sizing.UpdateNewSize();
    SetRequestedSize(sizing, parsed, typed, percent);
    if (ResizeSizeWarning(sizing.NewWidth, sizing.NewHeight)) return {0, 0};
    return {sizing.NewWidth, sizing.NewHeight};
  };
  if (RunStreamedJob(
          {.Input = job.Input,
           .Output = job.Output,
           .Load = {.AnyTiff = parsed.AnyTiff.AnyTiff, .Display = parsed.AnyTiff.Display()},
           .Resize = TStreamedResize{.NewSize = new_size,
                                     .Filter = options.Filter,
                                     .Force24Bit = parsed.Force24Bit}}) == TStreamOutcome::Saved)
    return 0;
  TDocument document({}, kBatchDocument);
  OpenForBatch(document, job.Input, parsed.AnyTiff);
  SetRequestedSize(document.Sizing, parsed, typed, percent);
  try {
    Stretch(document, options);
  } catch (const std::bad_alloc&) {
    throw ENotEnoughMemory("resize to " + std::to_string(int(document.Sizing.NewWidth)) + " x " +
                           std::to_string(int(document.Sizing.NewHeight)) + " pixels");
  }
  SaveDestination(document, job.Output, {});
  return 0;
}

}  // namespace

int RunResize(const TArgs& args) {
  TResizeArgs parsed;
  TCommandLine line("resize");
  DeclareResizeArgs(line, parsed);
  return RunFileCommand(line, args, [&](const TFileJob& job) { return ResizeFile(parsed, job); });
}

}  // namespace quorvane::cli
