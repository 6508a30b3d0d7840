#pragma once
// The print commands without a printer: what is sent to the page, in which
// print jobs, and the progress shown meanwhile. The window supplies the
// printer behind TPrintSurface.
#include <optional>
#include <string>

#include "printing/print_layout.h"
#include "imaging/points.h"
#include "raster/bitmap.h"
#include "raster/progress.h"

namespace quorvane {

// A printer as the print commands use it. Coordinates are printer pixels
// from the page's upper-left corner.
class TPrintSurface {
 public:
  virtual ~TPrintSurface() = default;
  virtual TPrintPage PageSize() const = 0;
  virtual void BeginJob(const std::string& title) = 0;
  // Starts the next page of the running job.
  virtual void NewPage() = 0;
  // `source` pixels of `picture` stretched onto `dest`, replacing the paper.
  virtual void CopyPicture(const TRasterBitmap& picture, const TRect& source,
                           const TRect& dest) = 0;
  // A black line 2 printer pixels wide.
  virtual void DrawFrameLine(TPoint from, TPoint to) = 0;
  virtual void EndJob() = 0;
  // Drops a job after a failure; must not throw.
  virtual void AbortJob() noexcept = 0;
};

// The title of a one-page print job.
constexpr const char* kPrintJobTitle = "Test";

// One print job: the picture, scaled as `scaling` says, sent in bands of
// 100 rows at the margin, with the progress before each band. An empty
// picture starts no job.
void PrintBitmap(const TRasterBitmap& picture, TPrintSurface& printer,
                 const TProgressProc& progress, TPrintScaling scaling);

struct TTilePrintOptions {
  // A printer takes one job per page. Into a file, every job would replace
  // the previous one's file, so then all pages go into one job.
  bool OneJob = false;
};
// The picture at full size over as many pages as it needs, each page with
// its piece of the frame around the whole picture.
void PrintTiles(const TRasterBitmap& picture, TPrintSurface& printer, const TProgressProc& progress,
                const TTilePrintOptions& options = {});

// What the "Print" button does after the print dialog, by method.
void PrintPicture(const TRasterBitmap& picture, TPrintSurface& printer, TPrintMethod method,
                  const TProgressProc& progress, const TTilePrintOptions& options = {});

// The warning shown instead of printing an empty pane ("Destination Is
// Empty" before the first stretch); nothing for a picture that can print.
std::optional<std::string> EmptyPrintWarning(const TRasterBitmap& picture, bool destination);

}  // namespace quorvane
