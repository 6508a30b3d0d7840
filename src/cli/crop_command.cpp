// quorvane-cli crop IN OUT --rect L,T,R,B: the Crop command in batch. The
// rectangle may be given in either orientation and reach beyond the picture;
// the georeference origin moves to its clamped upper-left corner.
#include <climits>
#include <cstdio>
#include <string>

#include "cli/any_tiff_args.h"
#include "cli/batch_document.h"
#include "cli/batch_files.h"
#include "cli/command_line.h"
#include "cli/value_parsing.h"
#include "document/crop.h"
#include "document/save_pane.h"
#include "document/streamed_job.h"

namespace quorvane::cli {

namespace {

TRect ParseRect(const std::string& text) {
  const auto parts = SplitText(text, ',', false);
  if (parts.size() != 4) throw EUsage("--rect: expected L,T,R,B: \"" + text + "\"");
  int values[4];
  for (int i = 0; i < 4; ++i) {
    values[i] = int(ParseInteger(parts[size_t(i)], "--rect", INT_MIN, INT_MAX));
  }
  return {values[0], values[1], values[2], values[3]};
}

int CropFile(const std::string& input, const std::string& output, const std::string& rect_text,
             const TAnyTiffArgs& any_tiff) {
  any_tiff.Display();  // --bands or --stretch without --any-tiff is a usage error
  const TRect rect = ParseRect(rect_text);
  // A rectangle that cuts nothing is worded by the whole-picture path.
  if (RunStreamedJob({.Input = input,
                      .Output = output,
                      .Load = {.AnyTiff = any_tiff.AnyTiff, .Display = any_tiff.Display()},
                      .Crop = rect}) == TStreamOutcome::Saved)
    return 0;
  TDocument document({}, kBatchDocument);
  OpenForBatch(document, input, any_tiff);
  const int width = document.Source.Picture.Width();
  const int height = document.Source.Picture.Height();
  if (!Crop(document, rect).Cropped) {
    std::fprintf(stderr, "crop: the rectangle %s cuts nothing from the %d x %d picture\n",
                 rect_text.c_str(), width, height);
    return 1;
  }
  SaveSource(document, output, {});
  return 0;
}

}  // namespace

int RunCrop(const TArgs& args) {
  std::string rect_text;
  TAnyTiffArgs any_tiff;
  TCommandLine line("crop");
  any_tiff.AddTo(line);
  line.Required("--rect", rect_text);
  return RunFileCommand(line, args, [&](const TFileJob& job) {
    return CropFile(job.Input, job.Output, rect_text, any_tiff);
  });
}

}  // namespace quorvane::cli
