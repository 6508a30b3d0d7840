#include "raster/progress.h"

#include <gtest/gtest.h>

#include <vector>

namespace quorvane {
namespace {

struct TRecorded {
  TProgressStage Stage;
  int Percent;
  bool Redraw;
  std::string Message;
};

std::vector<TRecorded> RunReports(int steps, int running_reports) {
  std::vector<TRecorded> seen;
  TStageReporter reporter;
  reporter.SetHook([&](TProgressStage stage, uint8_t percent, bool redraw, const TRect& rect,
                       std::string_view message) {
    EXPECT_EQ(rect, TRect{});
    seen.push_back({stage, percent, redraw, std::string(message)});
  });
  reporter.Report(TProgressStage::Starting, steps);
  for (int i = 0; i < running_reports; ++i) reporter.Report(TProgressStage::Running);
  reporter.Report(TProgressStage::Ending);
  return seen;
}

std::vector<int> Percents(const std::vector<TRecorded>& seen) {
  std::vector<int> percents;
  for (const auto& s : seen) percents.push_back(s.Percent);
  return percents;
}

TEST(StageReporter, TenStepsReachOneHundred) {
  const auto seen = RunReports(10, 10);
  EXPECT_EQ(Percents(seen), (std::vector<int>{0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 100}));
  EXPECT_EQ(seen.front().Message, "Starting");
  EXPECT_EQ(seen[1].Message, "Running");
  EXPECT_EQ(seen.back().Message, "Ending");
  EXPECT_TRUE(seen.back().Redraw);
  EXPECT_FALSE(seen[1].Redraw);
}

TEST(StageReporter, SumsAreTruncatedSoTwelveStepsEndOnNinetyNine) {
  EXPECT_EQ(Percents(RunReports(3, 3)), (std::vector<int>{0, 33, 66, 100, 100}));
  const auto twelve = Percents(RunReports(12, 12));
  EXPECT_EQ(twelve[12], 99);
  EXPECT_EQ(twelve[13], 99);
}

TEST(StageReporter, MoreReportsThanStepsKeepTheBarFull) {
  const auto seen = Percents(RunReports(2, 5));
  EXPECT_EQ(seen[5], 250);
  EXPECT_GE(seen[4], 100);
}

TEST(StageReporter, ScopedHookIsRemovedEvenOnError) {
  TStageReporter reporter;
  try {
    TScopedStageHook hook(reporter, [](auto...) {});
    EXPECT_TRUE(reporter.HasHook());
    throw 1;
  } catch (int) {
  }
  EXPECT_FALSE(reporter.HasHook());
}

}  // namespace
}  // namespace quorvane
