#pragma once
// The printer behind the print commands: a QPainter on a QPrinter, in the
// printer's device pixels from the upper-left corner of its printable area.
#include <QPainter>

#include "printing/print_job.h"

class QPrinter;

namespace quorvane {

class TPrinterSurface : public TPrintSurface {
 public:
  explicit TPrinterSurface(QPrinter& printer);
  ~TPrinterSurface() override;
  TPrinterSurface(const TPrinterSurface&) = delete;
  TPrinterSurface& operator=(const TPrinterSurface&) = delete;

  TPrintPage PageSize() const override;
  void BeginJob(const std::string& title) override;
  void NewPage() override;
  void CopyPicture(const TRasterBitmap& picture, const TRect& source, const TRect& dest) override;
  void DrawFrameLine(TPoint from, TPoint to) override;
  void EndJob() override;
  void AbortJob() noexcept override;

 private:
  QPrinter& printer_;
  QPainter painter_;
};

// The page size the print commands compute with: the printable area of the
// printer's page in its device pixels.
TPrintPage PrinterPage(const QPrinter& printer);

// A printer writes one job per page of a multipage print; a file would be
// replaced by each job, so all pages go into the one file instead.
TTilePrintOptions TilePrintOptionsFor(const QPrinter& printer);

}  // namespace quorvane
