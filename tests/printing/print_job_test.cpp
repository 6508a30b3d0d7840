#include "printing/print_job.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace quorvane {
namespace {

std::string RectText(const TRect& r) {
  return std::to_string(r.Left) + "," + std::to_string(r.Top) + "," + std::to_string(r.Right) +
         "," + std::to_string(r.Bottom);
}

// Records what a print sends, one line per call.
class TRecordingPrinter : public TPrintSurface {
 public:
  explicit TRecordingPrinter(TPrintPage page) : page_(page) {}
  TPrintPage PageSize() const override { return page_; }
  void BeginJob(const std::string& title) override { Calls.push_back("begin " + title); }
  void NewPage() override { Calls.push_back("page"); }
  void CopyPicture(const TRasterBitmap&, const TRect& source, const TRect& dest) override {
    if (FailOnCopy == 0) throw std::runtime_error("paper jam");
    --FailOnCopy;
    Calls.push_back("copy " + RectText(source) + " to " + RectText(dest));
  }
  void DrawFrameLine(TPoint from, TPoint to) override {
    Calls.push_back("line " + std::to_string(from.X) + "," + std::to_string(from.Y) + " " +
                    std::to_string(to.X) + "," + std::to_string(to.Y));
  }
  void EndJob() override { Calls.push_back("end"); }
  void AbortJob() noexcept override { Calls.push_back("abort"); }

  std::vector<std::string> Calls;
  int FailOnCopy = -1;  // copies that succeed before one fails; -1 never fails

 private:
  TPrintPage page_;
};

TRasterBitmap Picture(int width, int height) {
  TRasterBitmap b;
  b.Reset(TPixelFormat::Bit8, width, height);
  return b;
}

using TStrings = std::vector<std::string>;

TEST(PrintJob, OnePagePrintSendsBandsInOneJobWithProgress) {
  TRecordingPrinter printer({4800, 6600});
  std::vector<int> progress;
  PrintPicture(Picture(300, 250), printer, TPrintMethod::ShrinkToPage,
               [&](int percent) { progress.push_back(percent); });
  EXPECT_EQ(printer.Calls, (TStrings{"begin Test", "copy 0,0,300,100 to 5,5,305,105",
                                     "copy 0,100,300,200 to 5,105,305,205",
                                     "copy 0,200,300,250 to 5,205,305,255", "end"}));
  EXPECT_EQ(progress, (std::vector<int>{0, 40, 80}));
}

TEST(PrintJob, MultipagePrintIsOneJobPerPageWithItsFramePieces) {
  // A page of area 100 x 50: a 150 x 60 picture takes two columns, two rows.
  TRecordingPrinter printer({125, 75});
  std::vector<int> progress;
  PrintPicture(Picture(150, 60), printer, TPrintMethod::MultipagePrint,
               [&](int percent) { progress.push_back(percent); });
  EXPECT_EQ(printer.Calls, (TStrings{"begin 0 0",
                                     "copy 0,0,100,50 to 5,5,105,55",
                                     "line 5,5 5,55",
                                     "line 5,5 105,5",
                                     "end",
                                     "begin 1 0",
                                     "copy 100,0,150,50 to 5,5,55,55",
                                     "line 55,5 55,55",
                                     "line 5,5 55,5",
                                     "end",
                                     "begin 0 1",
                                     "copy 0,50,100,60 to 5,5,105,15",
                                     "line 5,5 5,15",
                                     "line 5,15 105,15",
                                     "end",
                                     "begin 1 1",
                                     "copy 100,50,150,60 to 5,5,55,15",
                                     "line 55,5 55,15",
                                     "line 5,15 55,15",
                                     "end"}));
  EXPECT_EQ(progress, (std::vector<int>{0, 25, 50, 75}));
}

TEST(PrintJob, MultipagePrintIntoAFileKeepsEveryPageInOneJob) {
  TRecordingPrinter printer({125, 75});
  PrintTiles(Picture(150, 10), printer, {}, {.OneJob = true});
  EXPECT_EQ(printer.Calls, (TStrings{"begin 0 0", "copy 0,0,100,10 to 5,5,105,15", "line 5,5 5,15",
                                     "line 5,5 105,5", "line 5,15 105,15", "page",
                                     "copy 100,0,150,10 to 5,5,55,15", "line 55,5 55,15",
                                     "line 5,5 55,5", "line 5,15 55,15", "end"}));
}

TEST(PrintJob, AFailureAbortsTheRunningJobAndTheErrorGoesOn) {
  TRecordingPrinter printer({4800, 6600});
  printer.FailOnCopy = 1;
  EXPECT_THROW(PrintBitmap(Picture(300, 250), printer, {}, {.Shrink = true}), std::runtime_error);
  EXPECT_EQ(printer.Calls, (TStrings{"begin Test", "copy 0,0,300,100 to 5,5,305,105", "abort"}));

  TRecordingPrinter tiles({125, 75});
  tiles.FailOnCopy = 1;
  EXPECT_THROW(PrintTiles(Picture(150, 10), tiles, {}), std::runtime_error);
  EXPECT_EQ(tiles.Calls.back(), "abort");
  EXPECT_EQ(tiles.Calls.front(), "begin 0 0");
}

TEST(PrintJob, EmptyPictureStartsNoJobAndHasAWarning) {
  TRecordingPrinter printer({4800, 6600});
  for (TPrintMethod method :
       {TPrintMethod::ShrinkToPage, TPrintMethod::FitToPage, TPrintMethod::MultipagePrint})
    PrintPicture(TRasterBitmap{}, printer, method, {});
  EXPECT_TRUE(printer.Calls.empty());
  EXPECT_EQ(EmptyPrintWarning(TRasterBitmap{}, true), "Destination Is Empty");
  EXPECT_EQ(EmptyPrintWarning(TRasterBitmap{}, false), "Source Is Empty");
  EXPECT_EQ(EmptyPrintWarning(Picture(1, 1), true), std::nullopt);
}

}  // namespace
}  // namespace quorvane
