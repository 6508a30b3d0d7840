#include "printing/print_job.h"

namespace quorvane {

namespace {

// A started job that a failure part-way drops instead of sending half a
// page as if it were the print asked for.
class TRunningJob {
 public:
  TRunningJob(TPrintSurface& printer, const std::string& title) : printer_(printer) {
    printer_.BeginJob(title);
  }
  ~TRunningJob() {
    if (!ended_) printer_.AbortJob();
  }
  TRunningJob(const TRunningJob&) = delete;
  TRunningJob& operator=(const TRunningJob&) = delete;
  void End() {
    ended_ = true;
    printer_.EndJob();
  }

 private:
  TPrintSurface& printer_;
  bool ended_ = false;
};

void Report(const TProgressProc& progress, int percent) {
  if (progress) progress(percent);
}

void DrawFrame(TPrintSurface& printer, const TRect& r, const TFrameEdges& edges) {
  if (edges.Left) printer.DrawFrameLine({r.Left, r.Top}, {r.Left, r.Bottom});
  if (edges.Right) printer.DrawFrameLine({r.Right, r.Top}, {r.Right, r.Bottom});
  if (edges.Top) printer.DrawFrameLine({r.Left, r.Top}, {r.Right, r.Top});
  if (edges.Bottom) printer.DrawFrameLine({r.Left, r.Bottom}, {r.Right, r.Bottom});
}

}  // namespace

void PrintBitmap(const TRasterBitmap& picture, TPrintSurface& printer,
                 const TProgressProc& progress, TPrintScaling scaling) {
  if (picture.Empty()) return;
  const TBandPlan plan(picture.Width(), picture.Height(), printer.PageSize(), scaling);
  TRunningJob job(printer, kPrintJobTitle);
  for (int i = 0; i < plan.Count(); ++i) {
    const TPrintBand band = plan.Band(i);
    Report(progress, band.Progress);
    printer.CopyPicture(picture, band.Source, band.Dest);
  }
  job.End();
}

void PrintTiles(const TRasterBitmap& picture, TPrintSurface& printer, const TProgressProc& progress,
                const TTilePrintOptions& options) {
  if (picture.Empty()) return;
  const TTilePlan plan(picture.Width(), picture.Height(), printer.PageSize());
  std::optional<TRunningJob> job;
  for (int64_t i = 0; i < plan.Count(); ++i) {
    const TPrintTile tile = plan.Tile(i);
    Report(progress, tile.Progress);
    if (job) {
      printer.NewPage();  // only with OneJob: otherwise each page ended its job
    } else {
      job.emplace(printer, tile.Title);
    }
    printer.CopyPicture(picture, tile.Source, tile.Dest);
    DrawFrame(printer, tile.Dest, tile.Frame);
    if (!options.OneJob) {
      job->End();
      job.reset();
    }
  }
  if (job) job->End();
}

void PrintPicture(const TRasterBitmap& picture, TPrintSurface& printer, TPrintMethod method,
                  const TProgressProc& progress, const TTilePrintOptions& options) {
  if (method == TPrintMethod::MultipagePrint) {
    PrintTiles(picture, printer, progress, options);
  } else {
    PrintBitmap(picture, printer, progress, ScalingFor(method));
  }
}

std::optional<std::string> EmptyPrintWarning(const TRasterBitmap& picture, bool destination) {
  if (!picture.Empty()) return std::nullopt;
  return destination ? "Destination Is Empty" : "Source Is Empty";
}

}  // namespace quorvane
